#include "exchange/single_export.h"

#include "core/progress.h"
#include "exchange/converters.h"
#include "exchange/exchange_texts.h"
#include "exchange/export_document.h"
#include "exchange/note_text.h"
#include "exchange/safe_write.h"
#include "libs/extlib.h"

#include <QFileInfo>

namespace vlr {

QString DefaultExtension(TDocumentTarget target, const TConverter* converter) {
    switch (target) {
    case TDocumentTarget::FileRTF:
        return QStringLiteral("rtf");
    case TDocumentTarget::FilePlain:
    case TDocumentTarget::FileOEM:
        return QStringLiteral("txt");
    case TDocumentTarget::FileHTML:
        return QStringLiteral("htm");
    case TDocumentTarget::Converter:
        return converter && !converter->extensions.isEmpty() ? converter->extensions.first() : QString();
    default:
        return {};
    }
}

QString WithDefaultExtension(const QString& fileName, const QString& extension) {
    if (fileName.isEmpty() || extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + u'.' + extension;
}

QString HtmlPageTitle(const QString& typed, const TExportTree& tree, TExportTree::Command command) {
    const auto titled = [](const TExportNode* node) { return node && !node->Title().trimmed().isEmpty(); };
    if (!typed.trimmed().isEmpty())
        return typed;
    const TExportNode* root = tree.Root();
    if (!root)
        return {};
    if (command == TExportTree::Command::ExportNote && root->Count() > 0 && titled(root->Child(0)))
        return root->Child(0)->Title();
    if (titled(root))
        return root->Title();
    QString first;
    tree.ForEach([&](TExportNode* node, int) {
        if (first.isEmpty() && node->Marked() && titled(node))
            first = node->Title();
    });
    return first;
}

TExportOutcome SaveDocument(const TCombinedDocument& doc, TDocumentTarget target, const QString& fileName,
                            const THtmlChoices& html, const TWriteGuard& guard, const TConverter* converter,
                            TConverterRun* run) {
    if (guard.IsProtected(fileName))
        return TExportOutcome::Failed(QStringLiteral("%1 is an open notebook").arg(fileName));
    QByteArray bytes;
    switch (target) {
    case TDocumentTarget::FileRTF:
        if (!doc.Formatted())
            return TExportOutcome::Failed(QStringLiteral("a plain export has no RTF form"));
        bytes = doc.PortableRtf();
        break;
    case TDocumentTarget::FilePlain:
        bytes = TextFileBytes(doc.PlainText(), TTextFileKind::Ansi);
        break;
    case TDocumentTarget::FileOEM:
        bytes = TextFileBytes(doc.PlainText(), TTextFileKind::Oem);
        break;
    case TDocumentTarget::FileHTML: {
        if (!ExtensionsAvailable())
            return TExportOutcome::Failed(QStringLiteral("HTML needs the extension library"));
        const QFileInfo info(fileName);
        TExtLib::HtmlOptions h;
        h.folder = info.absolutePath();
        h.fileName = info.fileName();
        h.title = html.title;
        h.generator = kHtmlGenerator;
        h.fontName = html.fontName;
        h.fontSize = html.fontSize;
        h.pictures = html.pictures;
        h.tabsAsNbsp = html.tabsAsNbsp;
        h.useBackground = html.useBackground;
        h.backgroundColor = html.useBackground ? html.background : 0;
        try {
            bytes = TExtLib::instance().ConvertData(
                doc.Formatted() ? doc.Rtf() : AnsiOrUtf8Bytes(doc.PlainText()), h);
        } catch (const std::exception& e) {
            return TExportOutcome::Failed(QString::fromLocal8Bit(e.what()));
        }
        break;
    }
    case TDocumentTarget::Converter: {
        if (!converter || !run)
            return TExportOutcome::Failed(QStringLiteral("no converter"));
        QString extension = QFileInfo(fileName).suffix().toLower();
        if (!converter->Handles(extension))
            return TExportOutcome::Failed(
                QStringLiteral("%1 does not write .%2 files").arg(converter->name, extension));
        ScopedProgress progress(kProcessingFiles, 1, true);
        TConvertResult converted = run->Export(*converter, doc.PortableRtf(), extension);
        if (run->Stopped())
            return TExportOutcome::Cancelled();
        if (!converted)
            return TExportOutcome::Failed(converted.error);
        bytes = std::move(converted.data);
        break;
    }
    default:
        return TExportOutcome::Failed(QStringLiteral("not a file target"));
    }
    const TWriteResult written = WriteFileAtomically(fileName, bytes, guard);
    return written ? TExportOutcome{} : TExportOutcome::Failed(written.error);
}

} // namespace vlr
