#include "exchange/note_targets.h"

#include "exchange/export_document.h"
#include "exchange/export_tree.h"
#include "exchange/note_copy.h"
#include "exchange/note_text.h"
#include "storage/notebook_service.h"

namespace vlr {

namespace {

bool refused(const TNodeRoot* nb, const TNodeData* note) {
    return !nb || nb->IsReadOnly() || nb->IsLocked() || (note && note->HasNoteFlag(nfReadOnly));
}

} // namespace

QByteArray BodyFor(const TCombinedDocument& document, bool plainNote) {
    return plainNote ? AnsiOrUtf8Bytes(document.PlainText()) : document.Rtf();
}

TExportOutcome WriteIntoNote(TNotebookService& service, TNodeData& note, const TCombinedDocument& document,
                             bool deleteDescendants) {
    TNodeRoot* nb = TNotebookService::NotebookOf(note.TreeNode);
    if (!note.TreeNode || refused(nb, &note))
        return TExportOutcome::Failed(QStringLiteral("the note cannot be changed"));
    service.SetBody(note, BodyFor(document, IsPlainNote(note)));
    nb->Modified = true;
    if (deleteDescendants) {
        while (TTreeNode* last = note.TreeNode->LastChild()) {
            TNodeData* child = last->Note();
            if (!child)
                break;
            service.DeleteNote(*child);
        }
        nb->RebuildNotesList(nb->RootNode);
    }
    return {};
}

TExportOutcome AddNoteAfter(TNotebookService& service, TTreeNode* current, const QString& title,
                            const TCombinedDocument& document, const NewNoteDefaults& defaults,
                            TNodeData** created) {
    TNodeRoot* nb = TNotebookService::NotebookOf(current);
    if (!current || refused(nb, nullptr))
        return TExportOutcome::Failed(QStringLiteral("the notebook cannot be changed"));
    // From a notebook's root the note comes last in the notebook.
    TTreeNode* parent =
        current->Note() ? (current->Parent() ? current->Parent() : nb->RootNode) : nb->RootNode;
    const int row = current->Note() ? current->Index() + 1 : nb->RootNode->Count();
    TNodeData* note = service.AddNote(*nb, parent, row, title, defaults, false);
    service.SetBody(*note, BodyFor(document, false));
    nb->Modified = true;
    if (created)
        *created = note;
    return {};
}

TExportOutcome AddNotebookWith(TNotebookService& service, const TExportTree& tree,
                               const TCombinedDocument& document, const TNewNotebookChoices& choices,
                               TNodeRoot** created) {
    const TNodeRoot* source = tree.Notebook();
    if (!source)
        return TExportOutcome::Failed(QStringLiteral("no notebook"));
    TNodeRoot* nb = service.Create(choices.notebook);
    nb->Images = source->Images;
    NotebookHeader& h = nb->Header;
    h.setRootImageIndex(source->Header.RootImageIndex());
    h.setRootFontColor(source->Header.RootFontColor());
    h.setRootFontStyle(source->Header.RootFontStyle());
    h.setDefaultNoteImage(source->Header.DefaultNoteImage());
    service.Forest().SetImages(nb->RootNode, h.RootImageIndex(), h.RootImageIndex());
    if (!choices.password.isEmpty() && !service.Protect(*nb, choices.password)) {
        service.Close(nb);
        return TExportOutcome::Failed(QStringLiteral("the system's random source failed"));
    }
    const bool plain = !document.Formatted();
    TNodeData* note = service.AddNote(*nb, nb->RootNode, 0, choices.note.name, choices.note, plain);
    if (const TNodeData* from = tree.Selection() ? tree.Selection()->Note() : nullptr)
        TakeNoteLooks(service, *note, *from);
    service.SetBody(*note, BodyFor(document, plain));
    nb->Modified = true;
    if (created)
        *created = nb;
    return {};
}

} // namespace vlr
