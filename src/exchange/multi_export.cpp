#include "exchange/multi_export.h"

#include "core/progress.h"
#include "exchange/converters.h"
#include "exchange/exchange_texts.h"
#include "exchange/export_tree.h"
#include "exchange/file_names.h"
#include "exchange/line_wrap.h"
#include "exchange/note_text.h"
#include "exchange/rtf_unicode.h"
#include "exchange/safe_write.h"
#include "libs/extlib.h"
#include "storage/node_root.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace vlr {

namespace {

QString extensionOf(const TFilesExportOptions& o) {
    switch (o.format) {
    case TFileFormat::FormatRTF:
        return QStringLiteral("rtf");
    case TFileFormat::FormatTXT:
    case TFileFormat::FormatOEM:
        return QStringLiteral("txt");
    case TFileFormat::FormatHTM:
        return QStringLiteral("htm");
    case TFileFormat::Converter:
        return o.converter && !o.converter->extensions.isEmpty() ? o.converter->extensions.first()
                                                                 : QString();
    }
    return {};
}

bool inside(const QString& folder, const QString& root) {
    const QString canonical = CanonicalPath(folder);
    return canonical == root || canonical.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

class TFilesExporter {
public:
    TFilesExporter(const TExportTree& tree, const TFilesExportOptions& o, const TWriteGuard& guard,
                   TConverterRun& run)
        : m_tree(tree), m_o(o), m_guard(guard), m_run(run), m_extension(extensionOf(o)) {}

    TFilesExportResult exportAll();

private:
    struct Place {
        TExportNode* node;
        QString folder; // with a trailing "/"
        QString prefix; // one-folder mode: the ancestors' names, each followed by " - "
    };
    // The file's content, none when the note cannot be exported in the format.
    std::optional<QByteArray> contentOf(const TExportNode* node, const QString& folder, const QString& name);
    void writeNote(const Place& place, const QString& name);

    const TExportTree& m_tree;
    const TFilesExportOptions& m_o;
    const TWriteGuard& m_guard;
    TConverterRun& m_run;
    const QString m_extension;
    QString m_root; // canonical
    TFilesExportResult m_result;
};

std::optional<QByteArray> TFilesExporter::contentOf(const TExportNode* node, const QString& folder,
                                                    const QString& name) {
    const TNodeData* note = node->Note();
    TNodeRoot* nb = m_tree.Notebook();
    if (!note || !nb)
        return std::nullopt;
    const std::optional<QByteArray> body = StoredTextOf(*nb, *note);
    if (!body)
        return std::nullopt;
    // Files and converters are read by other programs, which may ignore the
    // code page the stored body's \'hh escapes are in.
    const auto outside = [&] { return IsPlainNote(*note) ? *body : WithUnicodeEscapes(*body); };
    switch (m_o.format) {
    case TFileFormat::FormatRTF:
        return outside();
    case TFileFormat::FormatTXT:
    case TFileFormat::FormatOEM: {
        std::optional<QString> text = ExportTextOf(*body, IsPlainNote(*note));
        if (!text)
            return std::nullopt;
        if (m_o.formatText)
            text = WrapLines(*text, m_o.lineWidth);
        return TextFileBytes(*text,
                             m_o.format == TFileFormat::FormatOEM ? TTextFileKind::Oem : TTextFileKind::Ansi);
    }
    case TFileFormat::FormatHTM: {
        if (!ExtensionsAvailable())
            return std::nullopt;
        TExtLib::HtmlOptions h;
        h.folder = folder;
        h.fileName = name + QStringLiteral(".htm");
        h.title = node->Title();
        h.generator = kHtmlGenerator;
        h.fontName = m_o.html.fontName;
        h.fontSize = m_o.html.fontSize;
        h.pictures = m_o.html.pictures;
        h.tabsAsNbsp = m_o.html.tabsAsNbsp;
        h.useBackground = m_o.html.useBackground;
        h.backgroundColor = m_o.html.useBackground ? quint32(note->Record.EditorColor()) : 0;
        try {
            return TExtLib::instance().ConvertData(*body, h);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    case TFileFormat::Converter: {
        if (!m_o.converter)
            return std::nullopt;
        TConvertResult converted = m_run.Export(*m_o.converter, outside(), m_extension);
        return converted ? std::optional<QByteArray>(std::move(converted.data)) : std::nullopt;
    }
    }
    return std::nullopt;
}

void TFilesExporter::writeNote(const Place& place, const QString& name) {
    if (!m_o.oneFolder && !QDir(place.folder).exists() && !QDir().mkpath(place.folder)) {
        ++m_result.failed;
        return;
    }
    // A folder reached through a symbolic link to elsewhere is not written into.
    if (!inside(place.folder, m_root)) {
        ++m_result.failed;
        return;
    }
    const std::optional<QByteArray> content = contentOf(place.node, place.folder, name);
    if (!content) {
        ++m_result.failed;
        return;
    }
    const QString target = place.folder + name + u'.' + m_extension;
    // Overwriting replaces a symbolic link itself, never the file it points to.
    if (QFileInfo(target).isSymLink() && !QFile::remove(target)) {
        ++m_result.failed;
        return;
    }
    if (WriteFileAtomically(target, *content, m_guard, TDurability::Unsynced))
        m_result.written.append(target);
    else
        ++m_result.failed;
}

TFilesExportResult TFilesExporter::exportAll() {
    if (!m_tree.Root() || m_extension.isEmpty())
        return m_result;
    QString top = QDir::cleanPath(QDir(m_o.folder).absolutePath()) + u'/';
    QDir().mkpath(top);
    m_root = CanonicalPath(top);
    ScopedProgress progress(kProcessingFiles, m_tree.NodeCount(), true);
    std::vector<Place> stack;
    const TExportNode* root = m_tree.Root();
    for (int i = root->Count() - 1; i >= 0; --i)
        stack.push_back({root->Child(i), top, {}});
    while (!stack.empty()) {
        const Place place = stack.back();
        stack.pop_back();
        QString name = place.prefix + CleanFileName(place.node->Title(), m_o.replaceChars);
        name = FreeFileName(place.folder, name, m_extension, m_o.numberDuplicates, PathTaken);
        if (place.node->Marked())
            writeNote(place, name);
        const QString lead = WithoutTrailingDots(name);
        const QString childFolder = m_o.oneFolder ? place.folder : place.folder + lead + u'/';
        const QString childPrefix = m_o.oneFolder ? lead + QStringLiteral(" - ") : QString();
        for (int i = place.node->Count() - 1; i >= 0; --i)
            stack.push_back({place.node->Child(i), childFolder, childPrefix});
        if (progress.step() || m_run.Stopped()) {
            m_result.stopped = true;
            break;
        }
    }
    return m_result;
}

} // namespace

TFilesExportResult ExportFilesPerNote(const TExportTree& tree, const TFilesExportOptions& options,
                                      const TWriteGuard& guard, TConverterRun& converterRun) {
    return TFilesExporter(tree, options, guard, converterRun).exportAll();
}

} // namespace vlr
