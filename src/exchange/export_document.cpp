#include "exchange/export_document.h"

#include "config/options.h"
#include "core/progress.h"
#include "exchange/exchange_texts.h"
#include "exchange/export_macros.h"
#include "exchange/export_tree.h"
#include "exchange/line_wrap.h"
#include "exchange/note_text.h"
#include "exchange/text_formats.h"
#include "rtf/plain_body.h"
#include "rtf/rtf.h"
#include "storage/node_root.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace vlr {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

TDocumentOptions DocumentOptionsFrom(const TVLROptions& o, const TExportSettings& s, bool formatted) {
    TDocumentOptions d;
    d.formatted = formatted;
    d.layout = s.layout;
    d.formatText = s.formatText;
    d.lineWidth = s.lineWidth;
    d.richFont = TFontRecord{o.DefFontName, o.DefFontCharset, o.DefFontStyle, o.DefFontSize, o.DefFontColor};
    d.plainFont =
        TFontRecord{o.PlainFontName, o.PlainFontCharset, o.PlainFontStyle, o.PlainFontSize, o.PlainFontColor};
    return d;
}

TCombinedDocument::TCombinedDocument() = default;
TCombinedDocument::~TCombinedDocument() = default;
TCombinedDocument::TCombinedDocument(TCombinedDocument&&) noexcept = default;
TCombinedDocument& TCombinedDocument::operator=(TCombinedDocument&&) noexcept = default;

const QTextDocument* TCombinedDocument::Document() const {
    return m_doc.get();
}

QByteArray TCombinedDocument::Rtf() const {
    return m_doc ? rtf::writeRtf(m_doc.get()) : QByteArray();
}

QByteArray TCombinedDocument::PortableRtf() const {
    return m_doc ? rtf::writeRtf(m_doc.get(), rtf::WritePortable) : QByteArray();
}

QString TCombinedDocument::PlainText() const {
    if (!m_formatted)
        return m_text;
    if (!m_doc)
        return {};
    QString text = m_doc->toRawText();
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (const QChar c : std::as_const(text)) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            out += kCrLf;
            break;
        case QChar::ObjectReplacementCharacter:
        case 0xFDD0: // the start and end marks of tables and frames
        case 0xFDD1:
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Appends the pieces of each marked note to the document.
class TDocumentBuilder {
public:
    TDocumentBuilder(const TExportTree& tree, const TDocumentOptions& o, const QDateTime& now,
                     const DateFormatLocale& locale)
        : m_tree(tree), m_o(o), m_locale(locale),
          m_separator(formatDateTime(o.layout.separator, now, locale)) {}

    TCombinedDocument run();

private:
    void addNote(TExportNode* node, int k);
    TExportMacroValues macrosFor(const TExportNode* node) const;
    QString expanded(const QStringList& lines, const TExportMacroValues& values) const;

    // Formatted document.
    void richBreak();
    void richLines(const QString& text, const TFontRecord& font, bool centre);
    void richBody(const QByteArray& body, bool plainNote);
    void leaveBody();
    // Plain document.
    void plainBody(const QByteArray& body, bool plainNote);

    const TExportTree& m_tree;
    const TDocumentOptions& m_o;
    const DateFormatLocale& m_locale;
    const QString m_separator;
    TCombinedDocument m_result;
    QTextCursor m_cursor;
    QTextCharFormat m_richFormat, m_plainFormat;
};

TCombinedDocument TDocumentBuilder::run() {
    m_result.m_formatted = m_o.formatted;
    m_result.m_doc = std::make_unique<QTextDocument>();
    QTextDocument* doc = m_result.m_doc.get();
    doc->setUndoRedoEnabled(false);
    m_richFormat = CharFormatOf(m_o.richFont);
    m_plainFormat = CharFormatOf(m_o.plainFont);
    doc->setDefaultFont(FontOf(m_o.formatted ? m_o.richFont : m_o.plainFont));
    m_cursor = QTextCursor(doc);
    m_cursor.setCharFormat(m_o.formatted ? m_richFormat : m_plainFormat);
    m_cursor.setBlockCharFormat(m_o.formatted ? m_richFormat : m_plainFormat);

    ScopedProgress progress(kGeneratingText, m_tree.NodeCount(), true);
    bool stopped = false;
    m_tree.ForEach([&](TExportNode* node, int k) {
        if (stopped)
            return;
        if (node->Marked()) {
            addNote(node, k);
            ++m_result.m_notes;
        }
        stopped = progress.step();
    });
    m_result.m_stopped = stopped;
    if (!m_o.formatted)
        doc->setPlainText(m_result.m_text);
    return std::move(m_result);
}

TExportMacroValues TDocumentBuilder::macrosFor(const TExportNode* node) const {
    TExportMacroValues v;
    const TNodeData* note = node->Note();
    TNodeRoot* nb = m_tree.Notebook();
    v.notebookTitle = m_tree.Root()->Title();
    QStringList path;
    for (const TTreeNode* n = node->Source(); n; n = n->Parent())
        path.prepend(n->Text());
    v.notebookPath = path.join(QStringLiteral(" - "));
    v.exportPath = TExportTree::PathOf(node);
    v.noteTitle = node->Title();
    if (nb) {
        v.author = nb->Header.Author();
        v.company = nb->Header.Company();
    }
    if (note) {
        v.created = note->Record.Created();
        v.saved = note->Record.Saved();
        v.level = note->Record.Level();
    }
    return v;
}

QString TDocumentBuilder::expanded(const QStringList& lines, const TExportMacroValues& values) const {
    return ExpandExportMacros(lines.join(QStringLiteral("\r\n")), values, m_locale);
}

void TDocumentBuilder::addNote(TExportNode* node, int k) {
    const TExportLayout& l = m_o.layout;
    const bool rich = m_o.formatted;
    const bool first = k == 1;
    QString& text = m_result.m_text;
    const TExportMacroValues values = macrosFor(node);

    // a. Separation.
    if (!first) {
        switch (l.separation) {
        case TSeparation::Text:
            if (rich) {
                richBreak();
                richLines(m_separator, l.separatorFont, l.centerSeparator);
                richBreak();
            } else {
                text += kCrLf + m_separator + kCrLf;
            }
            break;
        case TSeparation::Nothing:
            if (rich)
                richBreak();
            else
                text += kCrLf;
            break;
        case TSeparation::PageBreak:
            if (rich) {
                QTextBlockFormat pageBreak;
                pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                m_cursor.mergeBlockFormat(pageBreak);
            } else {
                text += u'\f';
            }
            break;
        }
    }

    // b. Header.
    const QString header = expanded(l.header, values);
    if (l.insertHeader && !header.isEmpty()) {
        if (rich) {
            richLines(header, l.headerFont, l.centerHeader);
            richBreak();
        } else {
            text += header + kCrLf;
        }
    } else if (!first) {
        if (rich)
            richBreak();
        else
            text += kCrLf;
    }

    // c. Body.
    if (const TNodeData* note = node->Note(); note && m_tree.Notebook()) {
        if (const std::optional<QByteArray> body = StoredTextOf(*m_tree.Notebook(), *note)) {
            if (rich)
                richBody(*body, IsPlainNote(*note));
            else
                plainBody(*body, IsPlainNote(*note));
        }
    }
    if (rich)
        leaveBody();

    // d. Footer, on a line of its own.
    const QString footer = expanded(l.footer, values);
    if (l.insertFooter && !footer.isEmpty()) {
        if (rich) {
            if (!m_cursor.block().text().isEmpty())
                richBreak();
            richLines(footer, l.footerFont, l.centerFooter);
            richBreak();
        } else {
            if (!text.isEmpty() && !text.endsWith(u'\n'))
                text += kCrLf;
            text += footer + kCrLf;
        }
    } else {
        if (rich)
            richBreak();
        else
            text += kCrLf;
    }
}

void TDocumentBuilder::richBreak() {
    // The new paragraph starts plain: left-aligned, no indents or spacing,
    // outside any list the body ended in.
    m_cursor.insertBlock(QTextBlockFormat(), m_richFormat);
    m_cursor.setCharFormat(m_richFormat);
}

void TDocumentBuilder::richLines(const QString& text, const TFontRecord& font, bool centre) {
    QTextBlockFormat block;
    block.setAlignment(centre ? Qt::AlignHCenter : Qt::AlignLeft);
    const QTextCharFormat format = CharFormatOf(font);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            m_cursor.insertBlock(block, format);
        else
            m_cursor.mergeBlockFormat(block);
        m_cursor.insertText(lines[i], format);
    }
}

void TDocumentBuilder::richBody(const QByteArray& body, bool plainNote) {
    if (plainNote) {
        m_cursor.insertText(rtf::plainBodyText(body), m_plainFormat);
        return;
    }
    m_cursor.setCharFormat(m_richFormat);
    if (!rtf::looksLikeRtf(body) || !rtf::insertRtf(body, m_cursor))
        m_cursor.insertText(rtf::rtfToPlainText(body), m_richFormat);
}

void TDocumentBuilder::leaveBody() {
    // A body ends with its last paragraph mark; the empty paragraph after it
    // has the format of the one before, perhaps a list item or an indent.
    // What follows (footer, separator, the next note) starts plain instead.
    if (!m_cursor.block().text().isEmpty())
        return;
    QTextBlockFormat plain;
    plain.setPageBreakPolicy(m_cursor.blockFormat().pageBreakPolicy());
    m_cursor.setBlockFormat(plain);
    m_cursor.setBlockCharFormat(m_richFormat);
    m_cursor.setCharFormat(m_richFormat);
}

void TDocumentBuilder::plainBody(const QByteArray& body, bool plainNote) {
    const std::optional<QString> text = ExportTextOf(body, plainNote);
    if (!text)
        return; // without the extension library only the frame of each note is written
    m_result.m_text += m_o.formatText ? WrapLines(*text, m_o.lineWidth) : *text;
}

TCombinedDocument GenerateDocument(const TExportTree& tree, const TDocumentOptions& options,
                                   const QDateTime& now, const DateFormatLocale& locale) {
    return TDocumentBuilder(tree, options, now, locale).run();
}

} // namespace vlr
