#include "editor/custom_richedit.h"

#include "core/codepage.h"
#include "core/error.h"
#include "editor/clipboard_formats.h"
#include "editor/color_value.h"
#include "editor/decorations.h"
#include "editor/find_text.h"
#include "editor/font_size_step.h"
#include "editor/format_range.h"
#include "editor/plain_stream.h"
#include "editor/protection.h"
#include "editor/selection_bar.h"
#include "rtf/properties.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QIODevice>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace vlr {

namespace {

// Streams larger than this are refused rather than read into memory.
constexpr qint64 kMaxStreamBytes = qint64(512) * 1024 * 1024;

QString rangeText(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

QString normalizedLineEnds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

TMyCustomRichEdit::TMyCustomRichEdit(QWidget* parent)
    : QTextEdit(parent), m_undo(this), m_formatRange(std::make_unique<TRichFormatRange>()) {
    setAcceptRichText(true);
    setTabChangesFocus(false);
    viewport()->setMouseTracking(true);
    const QFont f = font();
    m_defaultFormat.setFontFamilies(QStringList{f.family()});
    m_defaultFormat.setFontPointSize(f.pointSizeF() > 0 ? f.pointSizeF() : 10);
    m_decorations = new TRichDecorations(this);
    attachDocument();
    connect(this, &QTextEdit::cursorPositionChanged, this, &TMyCustomRichEdit::selectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, &TMyCustomRichEdit::selectionMoved);
    applyDefaultFormat();
    applyPalette();
    applyScrollBars();
}

TMyCustomRichEdit::~TMyCustomRichEdit() = default;

QString TMyCustomRichEdit::RichEditVersionText() {
    return QStringLiteral("Qt %1 (%2)").arg(QString::fromLatin1(qVersion())).arg(kRichEditVersion);
}

void TMyCustomRichEdit::attachDocument() {
    QTextDocument* doc = document();
    // Whatever was done to the document before is no step to undo.
    doc->setUndoRedoEnabled(false);
    doc->setUndoRedoEnabled(true);
    m_undo.attach(doc);
    connect(doc, &QTextDocument::contentsChanged, this, &TMyCustomRichEdit::contentsChanged);
    connect(doc, &QTextDocument::modificationChanged, this, [this](bool changed) {
        if (changed && !m_loading)
            m_modified = true;
    });
    m_decorations->setDocument(doc);
    m_decorations->decorateAll();
    if (m_zoomNum > 0 && m_zoomDen > 0)
        applyZoom();
}

// ---------------------------------------------------------------- settings

void TMyCustomRichEdit::SetPlainText(bool on) {
    if (on == m_plainText)
        return;
    // The text survives the switch; formatting does not exist in plain mode.
    const QString text = streamTextOf(document()->toRawText());
    const bool modified = m_modified;
    m_plainText = on;
    ++m_loading;
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    applyDefaultFormat();
    QTextCursor c(doc);
    c.insertText(text, m_defaultFormat);
    doc->setUndoRedoEnabled(true);
    m_undo.clear();
    --m_loading;
    m_modified = modified;
    SetSelection(0, 0, true);
}

bool TMyCustomRichEdit::AutoURLDetect() const {
    return m_decorations->detectUrls();
}

void TMyCustomRichEdit::SetAutoURLDetect(bool on) {
    if (on == m_decorations->detectUrls())
        return;
    m_decorations->setDetectUrls(on);
    redecorate();
}

void TMyCustomRichEdit::redecorate() {
    m_decorations->decorateAll();
}

bool TMyCustomRichEdit::WordWrap() const {
    return lineWrapMode() != QTextEdit::NoWrap;
}

void TMyCustomRichEdit::SetWordWrap(bool on) {
    setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    applyScrollBars();
}

void TMyCustomRichEdit::SetSelectionBar(bool on) {
    if (on == SelectionBar())
        return;
    if (on) {
        m_selectionBar = new TSelectionBar(this);
        m_selectionBar->show();
    } else {
        delete m_selectionBar;
        m_selectionBar = nullptr;
    }
    setViewportMargins(on ? TSelectionBar::kWidth : 0, 0, 0, 0);
    resizeEvent(nullptr);
}

void TMyCustomRichEdit::SetHideSelection(bool on) {
    m_hideSelection = on;
    applyPalette();
}

void TMyCustomRichEdit::SetHideScrollBars(bool on) {
    m_hideScrollBars = on;
    applyScrollBars();
}

void TMyCustomRichEdit::applyScrollBars() {
    setVerticalScrollBarPolicy(m_hideScrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
    if (WordWrap())
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    else
        setHorizontalScrollBarPolicy(m_hideScrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
}

void TMyCustomRichEdit::SetReadOnly(bool on) {
    holdProtectedSelection(false);
    setReadOnly(on);
    // Read-only text keeps a caret and keyboard selection.
    if (on)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TMyCustomRichEdit::SetColor(quint32 color) {
    m_color = color;
    applyPalette();
}

void TMyCustomRichEdit::applyPalette() {
    QPalette p = QApplication::palette(this);
    if (m_color != kColorWindow && m_color != kColorAutomatic)
        p.setColor(QPalette::Base, colorFromValue(m_color, p));
    if (m_hideSelection) {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Base));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Text));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Active, QPalette::HighlightedText));
    }
    setPalette(p);
    m_decorations->setColors(p.color(QPalette::Link), p.color(QPalette::Disabled, QPalette::Text));
    m_decorations->decorateAll();
    if (m_selectionBar)
        m_selectionBar->update();
}

QFont TMyCustomRichEdit::Font() const {
    return m_defAttributes.ToFont();
}

void TMyCustomRichEdit::SetFont(const QFont& font) {
    m_defAttributes.Assign(font, m_defAttributes.Color(), m_defAttributes.Charset());
}

void TMyCustomRichEdit::applyDefaultFormat() {
    QTextDocument* doc = document();
    QFont f = doc->defaultFont();
    const QStringList families = m_defaultFormat.fontFamilies().toStringList();
    if (!families.isEmpty())
        f.setFamilies(families);
    if (m_defaultFormat.fontPointSize() > 0)
        f.setPointSizeF(m_defaultFormat.fontPointSize());
    doc->setDefaultFont(f);
    if (m_plainText) {
        // Plain text has one format for everything.
        QTextCursor all(doc);
        all.select(QTextCursor::Document);
        all.setCharFormat(m_defaultFormat);
        all.setBlockCharFormat(m_defaultFormat);
        setCurrentCharFormat(m_defaultFormat);
    } else if (doc->characterCount() <= 1) {
        QTextCursor c(doc);
        c.setBlockCharFormat(m_defaultFormat);
        setCurrentCharFormat(m_defaultFormat);
    }
}

// ---------------------------------------------------------------- streaming

bool TMyCustomRichEdit::streamsRtf() const {
    switch (m_streamFormat) {
    case TStreamFormat::sfRichText:
        return true;
    case TStreamFormat::sfPlainText:
        return false;
    case TStreamFormat::sfDefault:
        break;
    }
    return !m_plainText;
}

void TMyCustomRichEdit::LoadFromStream(QIODevice& stream) {
    if (!stream.isReadable())
        throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    if (!stream.isSequential() && stream.size() - stream.pos() > kMaxStreamBytes)
        throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    QByteArray data;
    char buffer[65536];
    for (;;) {
        const qint64 n = stream.read(buffer, sizeof buffer);
        if (n < 0)
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
        if (n == 0 && (stream.atEnd() || !stream.waitForReadyRead(0)))
            break;
        if (data.size() + n > kMaxStreamBytes)
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
        data.append(buffer, n);
    }
    loadBytes(data);
}

void TMyCustomRichEdit::LoadFromBytes(QByteArrayView data) {
    if (data.size() > kMaxStreamBytes)
        throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    loadBytes(data);
}

bool TMyCustomRichEdit::fillDocument(QTextDocument* doc, QByteArrayView data, bool asRtf) {
    if (asRtf && !rtf::looksLikeRtf(data))
        return false;
    if (asRtf && !m_plainText) {
        QString error;
        if (!rtf::readRtf(data, doc, &error))
            return false;
        if (doc->isEmpty())
            QTextCursor(doc).setBlockCharFormat(m_defaultFormat);
        return true;
    }
    const QString text =
        asRtf ? rtf::rtfToPlainText(data) : decodePlainStream(data, m_streamMode & smUnicode);
    QTextCursor c(doc);
    c.setBlockCharFormat(m_defaultFormat);
    c.insertText(text, m_defaultFormat);
    return true;
}

bool TMyCustomRichEdit::insertStream(QByteArrayView data, bool asRtf) {
    if (asRtf && !rtf::looksLikeRtf(data))
        return false;
    QTextCursor c = textCursor();
    if (!allowCursorEdit(c))
        return true; // refused: nothing changes, and that is no reading error
    c.beginEditBlock();
    bool ok = true;
    if (asRtf && !m_plainText)
        ok = rtf::insertRtf(data, c);
    else
        c.insertText(asRtf ? rtf::rtfToPlainText(data) : decodePlainStream(data, m_streamMode & smUnicode));
    c.endEditBlock();
    return ok;
}

void TMyCustomRichEdit::loadBytes(QByteArrayView data) {
    const bool rtfFirst = streamsRtf();
    if (m_streamMode & smSelection) {
        if (!insertStream(data, rtfFirst) && !insertStream(data, !rtfFirst))
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
        m_modified = true;
        SetSelection(0, 0, true);
        return;
    }
    // A whole new content is built in a document of its own, away from the
    // layout and the listeners of the shown one (several times faster), and
    // then takes its place with an empty undo history.
    auto fresh = std::make_unique<QTextDocument>();
    fresh->setUndoRedoEnabled(false);
    fresh->setDefaultFont(document()->defaultFont());
    if (!fillDocument(fresh.get(), data, rtfFirst)) {
        fresh = std::make_unique<QTextDocument>();
        fresh->setUndoRedoEnabled(false);
        fresh->setDefaultFont(document()->defaultFont());
        if (!fillDocument(fresh.get(), data, !rtfFirst))
            throw EVellinorError(QStringLiteral("Failed to Load Stream"));
    }
    ++m_loading;
    m_formatRange->clear();
    QTextDocument* old = document();
    const bool ownOld = old->parent() == this;
    fresh->setParent(this);
    setDocument(fresh.release());
    if (ownOld)
        delete old;
    if (m_plainText)
        applyDefaultFormat();
    attachDocument();
    --m_loading;
    m_modified = false;
    document()->setModified(false);
    SetSelection(0, 0, true);
}

QByteArray TMyCustomRichEdit::saveBytes() {
    const bool selection = m_streamMode & smSelection;
    const QTextCursor c = textCursor();
    if (streamsRtf()) {
        int flags = 0;
        if (selection)
            flags |= rtf::WriteSelection;
        if (m_streamMode & smNoObjects)
            flags |= rtf::WriteNoObjects;
        if (m_streamMode & smPlainRtf)
            flags |= rtf::WritePlainRtf;
        return rtf::writeRtf(document(), flags, selection ? &c : nullptr);
    }
    const QString text = streamTextOf(selection ? c.selectedText() : document()->toRawText());
    return encodePlainStream(text, m_streamMode & smUnicode);
}

void TMyCustomRichEdit::SaveToStream(QIODevice& stream) {
    const QByteArray data = saveBytes();
    if (!stream.isWritable() || stream.write(data) != data.size())
        throw EVellinorError(QStringLiteral("Failed to Save Stream"));
}

QByteArray TMyCustomRichEdit::SaveToBytes() {
    return saveBytes();
}

void TMyCustomRichEdit::Clear() {
    ++m_loading;
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    applyDefaultFormat();
    doc->setUndoRedoEnabled(true);
    m_undo.clear();
    m_formatRange->clear();
    --m_loading;
    m_modified = false;
    doc->setModified(false);
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------- text and selection

int TMyCustomRichEdit::TextLength() const {
    return document()->characterCount() - 1;
}

QString TMyCustomRichEdit::Text() const {
    return document()->toPlainText();
}

int TMyCustomRichEdit::SelStart() const {
    return textCursor().selectionStart();
}

void TMyCustomRichEdit::SetSelStart(int pos) {
    SetSelection(pos, pos, true);
}

int TMyCustomRichEdit::SelLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TMyCustomRichEdit::SetSelLength(int length) {
    const int start = SelStart();
    SetSelection(start, start + qMax(0, length), true);
}

void TMyCustomRichEdit::GetSelection(int& start, int& end) const {
    const QTextCursor c = textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
}

void TMyCustomRichEdit::SetSelection(int start, int end, bool scrollCaret) {
    const int length = TextLength();
    QTextCursor c = textCursor();
    if (start < 0) {
        // No selection: the caret stays at the selection's end.
        c.setPosition(c.selectionEnd());
    } else {
        if (end < 0)
            end = length;
        c.setPosition(qBound(0, start, length));
        c.setPosition(qBound(0, end, length), QTextCursor::KeepAnchor);
    }
    setTextCursor(c);
    if (scrollCaret)
        ensureCursorVisible();
}

QString TMyCustomRichEdit::SelText() const {
    return rangeText(textCursor().selectedText());
}

bool TMyCustomRichEdit::SetSelText(const QString& text) {
    QTextCursor c = textCursor();
    const QString t = normalizedLineEnds(text);
    if (!allowCursorEdit(c))
        return false;
    if (!fitsLimit(t.size(), c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return false;
    }
    const int start = c.selectionStart();
    c.beginEditBlock();
    c.insertText(t);
    c.endEditBlock();
    SetSelection(start, start + int(t.size()), true);
    return true;
}

void TMyCustomRichEdit::InsertText(const QString& text) {
    QTextCursor c = textCursor();
    const QString t = normalizedLineEnds(text);
    if (!allowCursorEdit(c))
        return;
    if (!fitsLimit(t.size(), c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return;
    }
    c.beginEditBlock();
    c.insertText(t);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

int TMyCustomRichEdit::InsertSymbol(int code, const QString& fontName, int charset) {
    changeCharFormats(TAttributeType::atSelected, [&](QTextCharFormat& f) {
        f.setFontFamilies(QStringList{fontName.left(31)});
        f.setProperty(rtf::PropFontCharset, charset);
    });
    QString ch;
    if (code >= 0 && code < 256 && charset != 2)
        ch = fromAnsi(QByteArray(1, char(code)));
    else
        ch = QString(QChar(char16_t(code & 0xFFFF)));
    InsertText(ch);
    return textCursor().position();
}

QString TMyCustomRichEdit::GetTextRange(int start, int end) const {
    const int length = TextLength();
    if (end < 0)
        end = length;
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    return rangeText(c.selectedText());
}

void TMyCustomRichEdit::layoutThrough(int pos) const {
    // Line numbers come from the layout, which is built on demand.
    auto* layout = document()->documentLayout();
    if (pos < 0)
        layout->documentSize();
    else
        layout->blockBoundingRect(document()->findBlock(pos));
}

namespace {

// Lines a paragraph takes on screen (at least one).
int linesOf(const QTextBlock& b) {
    const QTextLayout* tl = b.layout();
    return tl && tl->lineCount() > 0 ? tl->lineCount() : 1;
}

} // namespace

int TMyCustomRichEdit::LineCount() const {
    layoutThrough(-1);
    int count = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        count += linesOf(b);
    return qMax(1, count);
}

int TMyCustomRichEdit::LineFromChar(int pos) const {
    if (pos < 0)
        pos = textCursor().selectionEnd();
    pos = qBound(0, pos, TextLength());
    layoutThrough(pos);
    const QTextBlock block = document()->findBlock(pos);
    if (!block.isValid())
        return 0;
    int line = 0;
    for (QTextBlock b = document()->begin(); b.isValid() && b != block; b = b.next())
        line += linesOf(b);
    if (const QTextLayout* tl = block.layout(); tl && tl->lineCount() > 0) {
        const QTextLine l = tl->lineForTextPosition(pos - block.position());
        if (l.isValid())
            line += l.lineNumber();
    }
    return line;
}

int TMyCustomRichEdit::GetLineIndex(int line) const {
    if (line < 0)
        line = LineFromChar(-1);
    layoutThrough(-1);
    int first = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const int n = linesOf(b);
        if (line < first + n) {
            const QTextLayout* tl = b.layout();
            const int inBlock = line - first;
            if (tl && inBlock < tl->lineCount())
                return b.position() + tl->lineAt(inBlock).textStart();
            return b.position();
        }
        first += n;
    }
    return -1;
}

int TMyCustomRichEdit::GetLineLength(int pos) const {
    if (pos < 0)
        pos = textCursor().selectionEnd();
    pos = qBound(0, pos, TextLength());
    layoutThrough(pos);
    const QTextBlock block = document()->findBlock(pos);
    if (!block.isValid())
        return 0;
    const QTextLayout* tl = block.layout();
    if (tl && tl->lineCount() > 0) {
        const QTextLine l = tl->lineForTextPosition(pos - block.position());
        if (l.isValid())
            return qMin(l.textLength(), block.length() - 1 - l.textStart());
    }
    return block.length() - 1;
}

QPoint TMyCustomRichEdit::CaretPos() const {
    const int pos = textCursor().selectionEnd();
    const int line = LineFromChar(pos);
    const int start = GetLineIndex(line);
    return QPoint(start >= 0 ? pos - start : 0, line);
}

QPoint TMyCustomRichEdit::GetCharPos(int pos) const {
    QTextCursor c(document());
    c.setPosition(qBound(0, pos, TextLength()));
    return cursorRect(c).topLeft();
}

QPoint TMyCustomRichEdit::ScrollPos() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TMyCustomRichEdit::SetScrollPos(QPoint pos) {
    horizontalScrollBar()->setValue(pos.x());
    verticalScrollBar()->setValue(pos.y());
}

// ---------------------------------------------------------------- zoom and sizes

int TMyCustomRichEdit::ZoomPercent() const {
    if (m_zoomNum <= 0 || m_zoomDen <= 0)
        return 100;
    return m_zoomNum * 100 / m_zoomDen;
}

void TMyCustomRichEdit::SetZoomPercent(int percent) {
    if (percent <= 0)
        SetZoom(1, 1);
    else
        SetZoom(percent, 100);
}

void TMyCustomRichEdit::GetZoom(int& numerator, int& denominator) const {
    numerator = m_zoomNum;
    denominator = m_zoomDen;
}

bool TMyCustomRichEdit::SetZoom(int numerator, int denominator) {
    if (numerator == 0 && denominator == 0) {
        m_zoomNum = m_zoomDen = 0;
    } else {
        if (numerator <= 0 || denominator <= 0)
            return false;
        // The ratio must lie between 1/64 and 64.
        if (qint64(numerator) * 64 < denominator || qint64(numerator) > qint64(denominator) * 64)
            return false;
        m_zoomNum = numerator;
        m_zoomDen = denominator;
    }
    applyZoom();
    return true;
}

void TMyCustomRichEdit::applyZoom() {
    auto* layout = document()->documentLayout();
    if (m_zoomNum <= 0 || m_zoomDen <= 0 || m_zoomNum == m_zoomDen) {
        layout->setPaintDevice(nullptr);
    } else {
        // The layout measures against a device whose resolution is the
        // screen's scaled by the zoom: text, indents and pictures grow alike.
        const double dpi = viewport()->logicalDpiX() * double(m_zoomNum) / m_zoomDen;
        const double dpiY = viewport()->logicalDpiY() * double(m_zoomNum) / m_zoomDen;
        m_zoomDevice = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        m_zoomDevice.setDotsPerMeterX(qRound(dpi / 0.0254));
        m_zoomDevice.setDotsPerMeterY(qRound(dpiY / 0.0254));
        layout->setPaintDevice(&m_zoomDevice);
    }
    document()->markContentsDirty(0, document()->characterCount());
    viewport()->update();
}

void TMyCustomRichEdit::ChangeFontSize(int step) {
    if (step == 0)
        return;
    const qreal defaultSize = document()->defaultFont().pointSizeF();
    changeCharFormats(TAttributeType::atSelected, [&](QTextCharFormat& f) {
        const qreal size = f.fontPointSize() > 0 ? f.fontPointSize() : defaultSize;
        f.setFontPointSize(steppedFontSize(qRound(size), step));
    });
}

// ---------------------------------------------------------------- queries

int TMyCustomRichEdit::FindText(const QString& text, int start, int length, TRichSearchTypes options) {
    const int end = length < 0 ? -1 : start + length;
    const int pos = findText(document(), text, start, end, options);
    if (pos >= 0 && (options & stSetSelection))
        SetSelection(pos, pos + int(text.size()), true);
    return pos;
}

TRichSelectionType TMyCustomRichEdit::SelectionType() const {
    const QTextCursor c = textCursor();
    TRichSelectionType result;
    if (!c.hasSelection())
        return result;
    int objects = 0, chars = 0;
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int s = qMax(start, f.position()), e = qMin(end, f.position() + f.length());
            if (s >= e)
                continue;
            if (f.charFormat().isImageFormat())
                objects += e - s;
            else
                chars += e - s;
        }
        if (b.position() + b.length() - 1 < end && b.position() + b.length() - 1 >= start)
            ++chars; // the paragraph mark
    }
    if (chars > 0)
        result |= stText;
    if (chars > 1)
        result |= stMultiChar;
    if (objects > 0)
        result |= stObject;
    if (objects > 1)
        result |= stMultiObject;
    return result;
}

bool TMyCustomRichEdit::CanPaste() const {
    return canPasteData(QApplication::clipboard()->mimeData(), m_plainText);
}

void TMyCustomRichEdit::SetModified(bool on) {
    m_modified = on;
    document()->setModified(on);
}

int TMyCustomRichEdit::FindWordBreak(int pos) const {
    return wordBreakRight(document(), pos);
}

int TMyCustomRichEdit::FormatRange(const TFormatRangeRequest& request) {
    QPaintDevice* device = request.device    ? request.device
                           : request.painter ? request.painter->device()
                                             : nullptr;
    if (!device) {
        m_formatRange->clear();
        return 0;
    }
    return m_formatRange->format(document(), device, request.painter, request.rc, request.cpMin,
                                 request.cpMax);
}

// ---------------------------------------------------------------- undo

void TMyCustomRichEdit::Undo() {
    if (isReadOnly())
        return;
    if (m_undo.undo()) {
        m_modified = true;
        ensureCursorVisible();
    }
}

void TMyCustomRichEdit::Redo() {
    if (isReadOnly())
        return;
    if (m_undo.redo()) {
        m_modified = true;
        ensureCursorVisible();
    }
}

// ---------------------------------------------------------------- clipboard and drops

void TMyCustomRichEdit::CopyToClipboard() {
    copy();
}

void TMyCustomRichEdit::CutToClipboard() {
    QTextCursor c = textCursor();
    if (isReadOnly() || !c.hasSelection() || !allowCursorEdit(c))
        return;
    TUndoScope scope(m_undo, TUndoName::unCut);
    cut();
}

void TMyCustomRichEdit::PasteFromClipboard() {
    pasteData(QApplication::clipboard()->mimeData(), TUndoName::unPaste);
}

void TMyCustomRichEdit::pasteData(const QMimeData* data, TUndoName kind) {
    if (isReadOnly() || !data || !canPasteData(data, m_plainText))
        return;
    const QTextCursor c = textCursor();
    if (!allowCursorEdit(c))
        return;
    if (!fitsLimit(mimeTextLength(data, m_plainText), c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return;
    }
    TUndoScope scope(m_undo, kind);
    insertFromMimeData(data);
}

QList<TPasteSpecialEntry> TMyCustomRichEdit::PasteSpecialEntries() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return {};
    QList<TPasteSpecialEntry> entries = pasteSpecialEntries(data);
    if (m_plainText)
        entries.removeIf([](const TPasteSpecialEntry& e) { return e.format != TPasteFormat::pfText; });
    return entries;
}

bool TMyCustomRichEdit::PasteSpecial(TPasteFormat format) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (isReadOnly() || !data)
        return false;
    if (m_plainText && format != TPasteFormat::pfText)
        return false;
    QTextCursor c = textCursor();
    if (!allowCursorEdit(c))
        return false;
    if (!fitsLimit(mimeTextLength(data, format == TPasteFormat::pfText),
                   c.selectionEnd() - c.selectionStart())) {
        QApplication::beep();
        return false;
    }
    TUndoScope scope(m_undo, TUndoName::unPaste);
    c.beginEditBlock();
    const bool ok = insertMimeDataAs(data, c, format);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
    return ok;
}

QMimeData* TMyCustomRichEdit::createMimeDataFromSelection() const {
    return mimeDataForSelection(textCursor());
}

bool TMyCustomRichEdit::canInsertFromMimeData(const QMimeData* source) const {
    return canPasteData(source, m_plainText);
}

void TMyCustomRichEdit::insertFromMimeData(const QMimeData* source) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    insertMimeData(source, c, m_plainText);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

namespace {

Qt::DropAction qtAction(TDropEffect effect) {
    switch (effect) {
    case TDropEffect::deCopy:
        return Qt::CopyAction;
    case TDropEffect::deLink:
        return Qt::LinkAction;
    case TDropEffect::deMove:
        return Qt::MoveAction;
    case TDropEffect::deNone:
        break;
    }
    return Qt::IgnoreAction;
}

} // namespace

TDropEffect TMyCustomRichEdit::dropEffectOf(const QDropEvent* e) const {
    const auto mods = e->modifiers();
    return dropEffectFor(mods & Qt::ControlModifier, mods & Qt::ShiftModifier, m_reverseDrop);
}

void TMyCustomRichEdit::dragEnterEvent(QDragEnterEvent* e) {
    dragMoveEvent(e);
}

void TMyCustomRichEdit::dragMoveEvent(QDragMoveEvent* e) {
    // The cursor shows the effect the keys give, as the drop will do.
    if (e->type() == QEvent::DragEnter)
        QTextEdit::dragEnterEvent(static_cast<QDragEnterEvent*>(e));
    else
        QTextEdit::dragMoveEvent(e);
    if (e->isAccepted()) {
        e->setDropAction(qtAction(dropEffectOf(e)));
        e->accept();
    }
}

void TMyCustomRichEdit::dropEvent(QDropEvent* e) {
    const QMimeData* data = e->mimeData();
    if (isReadOnly() || !canPasteData(data, m_plainText)) {
        e->ignore();
        return;
    }
    const TDropEffect effect = dropEffectOf(e);
    const bool moveOwn = effect == TDropEffect::deMove && e->source() == this;
    const int at = cursorForPosition(e->position().toPoint()).position();
    const QTextCursor own = textCursor();
    if ((moveOwn && own.hasSelection() && !allowCursorEdit(own)) || !allowEdit(at, at)) {
        e->ignore();
        return;
    }
    if (!fitsLimit(mimeTextLength(data, m_plainText),
                   moveOwn ? own.selectionEnd() - own.selectionStart() : 0)) {
        QApplication::beep();
        e->ignore();
        return;
    }
    TUndoScope scope(m_undo, TUndoName::unDragDrop);
    e->setDropAction(qtAction(effect));
    QTextEdit::dropEvent(e);
}

// ---------------------------------------------------------------- protection, limits

bool TMyCustomRichEdit::allowEdit(int start, int end) {
    if (!touchesProtected(document(), start, end))
        return true;
    bool allow = false;
    if (OnProtectChange)
        OnProtectChange(this, start, end, allow);
    return allow;
}

bool TMyCustomRichEdit::fitsLimit(qsizetype added, int removed) const {
    return qint64(TextLength()) - removed + added <= TextLimit();
}

// ---------------------------------------------------------------- change events

void TMyCustomRichEdit::contentsChanged() {
    if (m_loading)
        return;
    m_modified = true;
    if (OnChange)
        OnChange(this);
    emit changed();
}

void TMyCustomRichEdit::selectionMoved() {
    const QTextCursor c = textCursor();
    if (c.selectionStart() == m_lastSelStart && c.selectionEnd() == m_lastSelEnd &&
        c.position() == c.selectionEnd())
        return;
    m_lastSelStart = c.selectionStart();
    m_lastSelEnd = c.selectionEnd();
    if (OnSelectionChange)
        OnSelectionChange(this);
    emit selectionChange();
}

// ---------------------------------------------------------------- keys

bool TMyCustomRichEdit::keyEditRange(QKeyEvent* e, int& start, int& end, TUndoName& kind) const {
    const QTextCursor c = textCursor();
    start = c.selectionStart();
    end = c.selectionEnd();
    const bool sel = c.hasSelection();
    auto moved = [&](QTextCursor::MoveOperation op) {
        if (sel)
            return;
        QTextCursor t = c;
        t.movePosition(op, QTextCursor::KeepAnchor);
        start = qMin(t.anchor(), t.position());
        end = qMax(t.anchor(), t.position());
    };
    kind = TUndoName::unDelete;
    if (e->matches(QKeySequence::DeleteStartOfWord)) {
        moved(QTextCursor::PreviousWord);
        return true;
    }
    if (e->matches(QKeySequence::DeleteEndOfWord)) {
        moved(QTextCursor::NextWord);
        return true;
    }
    if (e->matches(QKeySequence::DeleteEndOfLine)) {
        moved(QTextCursor::EndOfBlock);
        return true;
    }
    if (e->matches(QKeySequence::DeleteCompleteLine)) {
        QTextCursor t = c;
        t.movePosition(QTextCursor::StartOfLine);
        start = qMin(start, t.position());
        t.movePosition(QTextCursor::EndOfLine);
        end = qMax(end, t.position());
        return true;
    }
    if (e->key() == Qt::Key_Backspace && !(e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        moved(QTextCursor::PreviousCharacter);
        return true;
    }
    if (e->matches(QKeySequence::Delete) ||
        (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier)) {
        moved(QTextCursor::NextCharacter);
        return true;
    }
    kind = TUndoName::unTyping;
    if (e->matches(QKeySequence::InsertParagraphSeparator) || e->matches(QKeySequence::InsertLineSeparator))
        return true;
    const QString text = e->text();
    if (text.isEmpty() || !(text[0].isPrint() || (text[0] == u'\t' && !tabChangesFocus())))
        return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier) && !(e->modifiers() & Qt::AltModifier))
        return false;
    if (!sel && overwriteMode() && !c.atBlockEnd())
        end = start + 1;
    return true;
}

void TMyCustomRichEdit::keyPressEvent(QKeyEvent* e) {
    holdProtectedSelection(false);
    int key = e->key();
    if (OnKeyDown) {
        OnKeyDown(this, key, e->modifiers());
        if (key == 0) {
            e->accept();
            return;
        }
    }
    // These go through the control's own undo depth, protection and limits.
    static const std::pair<QKeySequence::StandardKey, void (TMyCustomRichEdit::*)()> commands[] = {
        {QKeySequence::Undo, &TMyCustomRichEdit::Undo},
        {QKeySequence::Redo, &TMyCustomRichEdit::Redo},
        {QKeySequence::Cut, &TMyCustomRichEdit::CutToClipboard},
        {QKeySequence::Paste, &TMyCustomRichEdit::PasteFromClipboard},
    };
    for (const auto& [sequence, command] : commands) {
        if (e->matches(sequence)) {
            (this->*command)();
            e->accept();
            return;
        }
    }
    if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        e->accept();
        return;
    }
    int start = 0, end = 0;
    TUndoName kind = TUndoName::unUnknown;
    if (isReadOnly() || !keyEditRange(e, start, end, kind)) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    QString text = e->text();
    if (kind == TUndoName::unTyping && !text.isEmpty() && OnKeyPress) {
        QChar ch = text[0];
        OnKeyPress(this, ch);
        if (ch.isNull()) {
            e->accept();
            return;
        }
        text[0] = ch;
    }
    e->accept();
    if (!allowEdit(start, end))
        return;
    if (kind == TUndoName::unTyping && !fitsLimit(qMax<qsizetype>(1, text.size()), end - start)) {
        QApplication::beep();
        return;
    }
    TUndoScope scope(m_undo, kind);
    if (text != e->text()) {
        QKeyEvent changed(e->type(), e->key(), e->modifiers(), text, e->isAutoRepeat(), ushort(e->count()));
        QTextEdit::keyPressEvent(&changed);
    } else {
        QTextEdit::keyPressEvent(e);
    }
}

void TMyCustomRichEdit::keyReleaseEvent(QKeyEvent* e) {
    int key = e->key();
    if (OnKeyUp) {
        OnKeyUp(this, key, e->modifiers());
        if (key == 0) {
            e->accept();
            return;
        }
    }
    QTextEdit::keyReleaseEvent(e);
}

void TMyCustomRichEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!isReadOnly() && (!e->commitString().isEmpty() || e->replacementLength() > 0)) {
        const QTextCursor c = textCursor();
        int start = c.selectionStart(), end = c.selectionEnd();
        if (e->replacementLength() > 0) {
            start = c.position() + e->replacementStart();
            end = start + e->replacementLength();
        }
        if (!c.hasSelection() && overwriteMode() && !c.atBlockEnd() && e->replacementLength() == 0)
            end = start + 1;
        if (!allowEdit(start, end) || !fitsLimit(e->commitString().size(), end - start)) {
            // Refused: the composition is dropped, the text stays as it was.
            QInputMethodEvent cancel;
            QTextEdit::inputMethodEvent(&cancel);
            e->accept();
            return;
        }
        TUndoScope scope(m_undo, TUndoName::unTyping);
        QTextEdit::inputMethodEvent(e);
        return;
    }
    QTextEdit::inputMethodEvent(e);
}

// ---------------------------------------------------------------- mouse and links

int TMyCustomRichEdit::charAt(QPoint p) const {
    const int pos = cursorForPosition(p).position();
    const int length = TextLength();
    for (int cand : {pos - 1, pos}) {
        if (cand < 0 || cand >= length)
            continue;
        QTextCursor a(document()), b(document());
        a.setPosition(cand);
        b.setPosition(cand + 1);
        const QRect ra = cursorRect(a), rb = cursorRect(b);
        if (p.y() < ra.top() || p.y() > ra.bottom())
            continue;
        const int right = rb.top() == ra.top() ? rb.left() : ra.left() + fontMetrics().averageCharWidth();
        if (p.x() >= qMin(ra.left(), right) && p.x() < qMax(ra.left(), right))
            return cand;
    }
    return -1;
}

void TMyCustomRichEdit::linkMouse(QMouseEvent* e, int phase) {
    enum { Move, Press, Release, Double };
    const int pos = charAt(e->position().toPoint());
    const TCharRange r = pos >= 0 ? linkRangeAt(document(), pos, AutoURLDetect()) : TCharRange{};
    if (phase == Move)
        viewport()->setCursor(r.isEmpty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
    if (r.isEmpty())
        return;
    if (OnURLMouseOver)
        OnURLMouseOver(this, r);
    auto click = [&](TMouseButton button, bool dbl) {
        if (OnURLClick)
            OnURLClick(this, r, GetTextRange(r.start, r.end), button, Qt::NoModifier, dbl);
    };
    const bool same = m_linkRemembered && r == m_linkRange;
    switch (phase) {
    case Press:
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) {
            m_linkRange = r;
            m_linkRemembered = true;
            m_linkButton = e->button() == Qt::LeftButton ? TMouseButton::mbLeft : TMouseButton::mbRight;
        }
        break;
    case Release:
        if (!same)
            break;
        if (e->button() == Qt::LeftButton && m_linkButton == TMouseButton::mbLeft) {
            click(TMouseButton::mbLeft, false); // the range stays remembered
        } else if (e->button() == Qt::RightButton && m_linkButton == TMouseButton::mbRight) {
            m_linkRemembered = false;
            click(TMouseButton::mbRight, false);
        }
        break;
    case Double:
        if (same && e->button() == Qt::LeftButton) {
            m_linkRemembered = false;
            click(TMouseButton::mbLeft, true);
        }
        break;
    default:
        break;
    }
}

TCharRange TMyCustomRichEdit::wordRangeAt(int pos) const {
    QTextCursor c(document());
    c.setPosition(qBound(0, pos, TextLength()));
    c.select(QTextCursor::WordUnderCursor);
    return {c.selectionStart(), c.selectionEnd()};
}

void TMyCustomRichEdit::holdProtectedSelection(bool hold) {
    // A selection holding protected text may be dragged out as a copy, never
    // moved: while it may start a drag the text is not editable, which keeps
    // the move out of the offered drop actions.
    if (hold == m_holdingSelection)
        return;
    m_holdingSelection = hold;
    const Qt::TextInteractionFlags flags = textInteractionFlags();
    setTextInteractionFlags(hold ? flags & ~Qt::TextEditable : flags | Qt::TextEditable);
}

void TMyCustomRichEdit::mousePressEvent(QMouseEvent* e) {
    holdProtectedSelection(false);
    if (OnMouseDown)
        OnMouseDown(this, e);
    linkMouse(e, 1);
    if (e->button() == Qt::LeftButton && !isReadOnly()) {
        const QTextCursor c = textCursor();
        const int at = cursorForPosition(e->position().toPoint()).position();
        if (c.hasSelection() && at >= c.selectionStart() && at <= c.selectionEnd() && touchesProtected(c))
            holdProtectedSelection(true);
    }
    QTextEdit::mousePressEvent(e);
    m_dragSelecting = e->button() == Qt::LeftButton && !textCursor().hasSelection();
    m_dragAnchor = textCursor().position();
}

void TMyCustomRichEdit::mouseReleaseEvent(QMouseEvent* e) {
    if (OnMouseUp)
        OnMouseUp(this, e);
    linkMouse(e, 2);
    const QClipboard* clipboard = QApplication::clipboard();
    if (e->button() == Qt::MiddleButton && !isReadOnly() && clipboard->supportsSelection()) {
        // The middle-button paste of the primary selection, through the same
        // checks as any other paste.
        setTextCursor(cursorForPosition(e->position().toPoint()));
        pasteData(clipboard->mimeData(QClipboard::Selection), TUndoName::unPaste);
        e->accept();
        m_dragSelecting = false;
        return;
    }
    QTextEdit::mouseReleaseEvent(e);
    holdProtectedSelection(false);
    m_dragSelecting = false;
}

void TMyCustomRichEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    if (OnDblClick)
        OnDblClick(this, e);
    linkMouse(e, 3);
    // Double-clicking an embedded object opens it, which counts as a change.
    const int pos = charAt(e->position().toPoint());
    if (pos >= 0 && e->button() == Qt::LeftButton) {
        QTextCursor c(document());
        c.setPosition(pos + 1);
        if (c.charFormat().isImageFormat())
            m_modified = true;
    }
    QTextEdit::mouseDoubleClickEvent(e);
    m_dragSelecting = false;
}

void TMyCustomRichEdit::mouseMoveEvent(QMouseEvent* e) {
    if (OnMouseMove)
        OnMouseMove(this, e);
    linkMouse(e, 0);
    QTextEdit::mouseMoveEvent(e);
    // A drag that ran inside the move ended with the button released.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton))
        holdProtectedSelection(false);
    if (!m_dragSelecting || !m_wordSelection || !(e->buttons() & Qt::LeftButton))
        return;
    // Once the drag leaves the word it started in, whole words are selected.
    QTextCursor c = textCursor();
    const TCharRange anchorWord = wordRangeAt(m_dragAnchor);
    const int pos = c.position();
    if (anchorWord.isEmpty() || (pos >= anchorWord.start && pos <= anchorWord.end))
        return;
    const TCharRange here = wordRangeAt(pos);
    if (pos > anchorWord.end) {
        c.setPosition(anchorWord.start);
        c.setPosition(here.isEmpty() ? pos : qMax(pos, here.end), QTextCursor::KeepAnchor);
    } else {
        c.setPosition(anchorWord.end);
        c.setPosition(here.isEmpty() ? pos : qMin(pos, here.start), QTextCursor::KeepAnchor);
    }
    setTextCursor(c);
}

void TMyCustomRichEdit::contextMenuEvent(QContextMenuEvent* e) {
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, e->pos(), handled);
    if (handled)
        return;
    QMenu* menu = createStandardContextMenu(e->pos());
    // The standard entries go through the control's own undo, protection and paste.
    auto reroute = [&](const char* name, bool enabled, auto slot) {
        if (QAction* a = menu->findChild<QAction*>(QLatin1String(name))) {
            a->disconnect();
            a->setEnabled(enabled);
            connect(a, &QAction::triggered, this, slot);
        }
    };
    const bool editable = !isReadOnly();
    reroute("edit-undo", CanUndo(), [this] { Undo(); });
    reroute("edit-redo", CanRedo(), [this] { Redo(); });
    reroute("edit-cut", editable && textCursor().hasSelection(), [this] { CutToClipboard(); });
    reroute("edit-paste", editable && CanPaste(), [this] { PasteFromClipboard(); });
    reroute("edit-delete", editable && textCursor().hasSelection(), [this] {
        QTextCursor c = textCursor();
        if (!allowCursorEdit(c))
            return;
        TUndoScope scope(m_undo, TUndoName::unDelete);
        c.removeSelectedText();
    });
    menu->exec(e->globalPos());
    delete menu;
}

void TMyCustomRichEdit::focusOutEvent(QFocusEvent* e) {
    holdProtectedSelection(false);
    QTextEdit::focusOutEvent(e);
}

void TMyCustomRichEdit::resizeEvent(QResizeEvent* e) {
    if (e)
        QTextEdit::resizeEvent(e);
    if (m_selectionBar) {
        const QRect vp = viewport()->geometry();
        m_selectionBar->setGeometry(vp.left() - TSelectionBar::kWidth, vp.top(), TSelectionBar::kWidth,
                                    vp.height());
    }
}

// ---------------------------------------------------------------- attribute access

QList<QTextCharFormat> TMyCustomRichEdit::charFormatsOf(TAttributeType type) const {
    if (type == TAttributeType::atDefaultText)
        return {m_defaultFormat};
    QTextCursor c = textCursor();
    if (type == TAttributeType::atWord && !c.hasSelection()) {
        const TCharRange w = wordRangeAt(c.position());
        if (!w.isEmpty()) {
            c.setPosition(w.start);
            c.setPosition(w.end, QTextCursor::KeepAnchor);
        }
    }
    if (!c.hasSelection())
        return {type == TAttributeType::atSelected ? currentCharFormat() : c.charFormat()};
    QList<QTextCharFormat> out;
    QSet<int> seen;
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= start || f.position() >= end)
                continue;
            if (!seen.contains(f.charFormatIndex())) {
                seen.insert(f.charFormatIndex());
                out.append(f.charFormat());
            }
        }
    }
    if (out.isEmpty())
        out.append(c.charFormat());
    return out;
}

void TMyCustomRichEdit::changeCharFormats(TAttributeType type,
                                          const std::function<void(QTextCharFormat&)>& change) {
    if (type == TAttributeType::atDefaultText || m_plainText) {
        // Plain text has one format: the default one, everywhere.
        change(m_defaultFormat);
        applyDefaultFormat();
        return;
    }
    QTextCursor c = textCursor();
    if (type == TAttributeType::atWord && !c.hasSelection()) {
        const TCharRange w = wordRangeAt(c.position());
        if (!w.isEmpty()) {
            c.setPosition(w.start);
            c.setPosition(w.end, QTextCursor::KeepAnchor);
        }
    }
    if (!c.hasSelection()) {
        QTextCharFormat f = currentCharFormat();
        change(f);
        setCurrentCharFormat(f);
        return;
    }
    struct Segment {
        int start, end;
        QTextCharFormat format;
    };
    QList<Segment> segments;
    QList<int> emptyBlocks;
    const int start = c.selectionStart(), end = c.selectionEnd();
    // Formatting protected text is a change of it too.
    if (!allowEdit(start, end))
        return;
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int s = qMax(start, f.position()), e = qMin(end, f.position() + f.length());
            if (s < e)
                segments.append({s, e, f.charFormat()});
        }
        if (b.length() == 1)
            emptyBlocks.append(b.position());
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    // An empty paragraph's mark keeps the attributes new text there gets.
    for (int pos : emptyBlocks) {
        edit.setPosition(pos);
        QTextCharFormat f = edit.blockCharFormat();
        change(f);
        edit.setBlockCharFormat(f);
    }
    for (Segment& s : segments) {
        change(s.format);
        edit.setPosition(s.start);
        edit.setPosition(s.end, QTextCursor::KeepAnchor);
        edit.setCharFormat(s.format);
    }
    edit.endEditBlock();
}

bool TMyCustomRichEdit::linkCovers(TAttributeType type) const {
    if (type == TAttributeType::atDefaultText)
        return false;
    QTextCursor c = textCursor();
    int start = c.selectionStart(), end = c.selectionEnd();
    if (type == TAttributeType::atWord && start == end) {
        const TCharRange w = wordRangeAt(start);
        start = w.start;
        end = w.end;
    }
    if (start == end) {
        if (start == 0)
            return false;
        --start; // the character whose attributes typing continues
    }
    const TCharRange r = linkRangeAt(document(), start, AutoURLDetect());
    return !r.isEmpty() && r.end >= end;
}

QList<QTextBlock> TMyCustomRichEdit::selectedBlocks() const {
    const QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    QList<QTextBlock> out;
    for (QTextBlock b = document()->findBlock(start); b.isValid(); b = b.next()) {
        if (b.position() > end || (b.position() == end && start != end && !out.isEmpty()))
            break;
        out.append(b);
    }
    return out;
}

void TMyCustomRichEdit::changeBlocks(const std::function<void(QTextCursor&)>& change) {
    const QList<QTextBlock> blocks = selectedBlocks();
    if (blocks.isEmpty())
        return;
    const int start = blocks.first().position();
    const int end = blocks.last().position() + blocks.last().length() - 1;
    if (start < end && !allowEdit(start, end))
        return;
    QTextCursor c = textCursor();
    c.beginEditBlock();
    change(c);
    c.endEditBlock();
}

} // namespace vlr
