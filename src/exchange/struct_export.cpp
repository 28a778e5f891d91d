#include "exchange/struct_export.h"

#include "core/progress.h"
#include "exchange/exchange_texts.h"
#include "exchange/export_tree.h"
#include "exchange/note_copy.h"
#include "exchange/note_text.h"
#include "exchange/safe_write.h"
#include "storage/notebook_service.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cstdio>

namespace vlr {

namespace {

void removeNotebookFile(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

TExportOutcome ExportToNotebookFile(const TExportTree& tree, const TNotebookFileChoices& choices,
                                    const TWriteGuard& guard) {
    TNodeRoot* source = tree.Notebook();
    if (!source || !tree.Root())
        return TExportOutcome::Failed(QStringLiteral("nothing to export"));
    const QString target = QFileInfo(choices.fileName).absoluteFilePath();
    if (guard.IsProtected(target))
        return TExportOutcome::Failed(QStringLiteral("%1 is an open notebook").arg(target));
    if (QFileInfo(target).isDir())
        return TExportOutcome::Failed(QStringLiteral("%1 is a folder").arg(target));
    const QString temporary = QFileInfo(target).absolutePath() + QStringLiteral("/.") +
                              QFileInfo(target).fileName() + u'.' +
                              QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".part");

    ScopedProgress progress(kGeneratingNotebook, tree.NodeCount(), false);
    // A service of its own: the notebook never appears in the program's tree.
    TNotebookService service(source->Images);
    NewNotebookDefaults defaults;
    defaults.name = source->RootNode ? source->RootNode->Text() : source->Header.BookName();
    defaults.compress = choices.compress;
    defaults.rootImageIndex = source->Header.RootImageIndex();
    TNodeRoot* nb = service.Create(defaults, temporary);
    nb->Images = source->Images;
    if (!choices.password.isEmpty() && !service.Protect(*nb, choices.password))
        return TExportOutcome::Failed(QStringLiteral("the system's random source failed"));

    std::vector<std::pair<const TExportNode*, TTreeNode*>> stack;
    for (int i = tree.Root()->Count() - 1; i >= 0; --i)
        stack.emplace_back(tree.Root()->Child(i), nb->RootNode);
    while (!stack.empty()) {
        auto [node, parent] = stack.back();
        stack.pop_back();
        const TNodeData* note = node->Note();
        if (!note)
            continue;
        std::optional<QByteArray> body = StoredTextOf(*source, *note);
        if (!body) {
            // A notebook with the note's text missing is no copy of it.
            service.Close(nb);
            removeNotebookFile(temporary);
            return TExportOutcome::Failed(
                QStringLiteral("the text of \"%1\" cannot be read").arg(node->Title()));
        }
        TNodeData* copy =
            AddNoteCopy(service, *nb, parent, parent->Count(), *note, node->Title(), std::move(*body));
        for (int i = node->Count() - 1; i >= 0; --i)
            stack.emplace_back(node->Child(i), copy->TreeNode);
        (void)progress.step();
    }
    nb->RebuildNotesList(nb->RootNode);
    const int saved = service.Save(*nb);
    service.Close(nb);
    if (saved != srOk) {
        removeNotebookFile(temporary);
        return TExportOutcome::Failed(kVlrSaveError);
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        removeNotebookFile(temporary);
        return TExportOutcome::Failed(kVlrSaveError);
    }
    return {};
}

} // namespace vlr
