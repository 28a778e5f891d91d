#pragma once
// The combined document of a single-file export: every marked note of the
// export tree in tree order, each introduced by its separation and header
// and closed by its footer, as rich text or as plain text.
#include "config/fontrecord.h"
#include "core/dateformat.h"
#include "exchange/export_settings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>

class QTextDocument;

namespace vlr {

class TExportTree;
struct TVLROptions;

struct TDocumentOptions {
    bool formatted = true;
    TExportLayout layout;
    bool formatText = false; // plain export: wrap lines
    int lineWidth = 70;
    TFontRecord richFont;  // the default font of a formatted document
    TFontRecord plainFont; // plain text and plain notes
};

// The fonts from the program options, the rest from the wizard's settings.
TDocumentOptions DocumentOptionsFrom(const TVLROptions& options, const TExportSettings& settings,
                                     bool formatted);

class TCombinedDocument {
public:
    TCombinedDocument();
    ~TCombinedDocument();
    TCombinedDocument(TCombinedDocument&&) noexcept;
    TCombinedDocument& operator=(TCombinedDocument&&) noexcept;

    bool Formatted() const { return m_formatted; }
    // The rich document (formatted) or the plain text in the plain font.
    const QTextDocument* Document() const;
    // The whole document as RTF: compact, as note bodies are stored.
    QByteArray Rtf() const;
    // The whole document as RTF for files and programs outside: \uN forms
    // that every reader decodes alike.
    QByteArray PortableRtf() const;
    // The document's text with CR LF line ends, without pictures and objects.
    QString PlainText() const;
    bool Stopped() const { return m_stopped; }
    // How many notes went into it.
    int NoteCount() const { return m_notes; }

private:
    friend class TDocumentBuilder;
    bool m_formatted = true;
    bool m_stopped = false;
    int m_notes = 0;
    QString m_text; // plain export
    std::unique_ptr<QTextDocument> m_doc;
};

// Builds the document with the progress window "Генерирую текст, подождите...",
// one step per export-tree node; Stop ends the generation and keeps what was
// built. now formats the separator.
TCombinedDocument GenerateDocument(const TExportTree& tree, const TDocumentOptions& options,
                                   const QDateTime& now = QDateTime::currentDateTime(),
                                   const DateFormatLocale& locale = DateFormatLocale::system());

} // namespace vlr
