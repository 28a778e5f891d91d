// The control's setup and settings, zoom, undo, protection checks and change events.
#include "editor/custom_richedit.h"

#include "editor/color_value.h"
#include "editor/decorations.h"
#include "editor/format_range.h"
#include "editor/list_labels.h"
#include "editor/plain_stream.h"
#include "editor/protection.h"
#include "editor/selection_bar.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextDocument>

namespace vlr {

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

void TMyCustomRichEdit::resizeEvent(QResizeEvent* e) {
    if (e)
        QTextEdit::resizeEvent(e);
    if (m_selectionBar) {
        const QRect vp = viewport()->geometry();
        m_selectionBar->setGeometry(vp.left() - TSelectionBar::kWidth, vp.top(), TSelectionBar::kWidth,
                                    vp.height());
    }
}

void TMyCustomRichEdit::paintEvent(QPaintEvent* e) {
    QTextEdit::paintEvent(e);
    // Lists that start elsewhere than at 1 get their own numbers over Qt's.
    const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    QPalette pal = palette();
    pal.setCurrentColorGroup(hasFocus() ? QPalette::Active : QPalette::Inactive);
    const QTextCursor cursor = textCursor();
    QPainter p(viewport());
    p.translate(-scroll);
    paintListLabels(p, document(), {QRectF(e->rect()).translated(scroll), pal, &cursor});
}

} // namespace vlr
