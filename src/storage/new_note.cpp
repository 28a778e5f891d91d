#include "storage/new_note.h"

#include "core/datetime.h"
#include "core/guid.h"
#include "storage/node_root.h"

namespace vlr {

TNodeData* CreateNoteForNode(TNodeRoot& notebook, TTreeNode* node, const NewNoteDefaults& d, bool plainText) {
    auto* note = new TNodeData;
    NoteRecord& r = note->Record;
    const NotebookHeader& h = notebook.Header;
    // The notebook keeps its default picture plus one: 0 means none.
    const int image = h.DefaultNoteImage() - 1;
    node->Forest()->SetImages(node, image, image);
    node->Forest()->SetNote(node, note);
    r.setImageIndex(int16_t(image));
    r.setFontColor(d.fontColor);
    r.setFontStyle(d.fontStyle);
    r.setEditorColor(d.editorColor);
    r.setBackColor(d.backColor);
    r.setMarginTop(h.MarginTop());
    r.setMarginLeft(h.MarginLeft());
    r.setMarginRight(h.MarginRight());
    r.setMarginBottom(h.MarginBottom());
    r.setHeaderFormat(d.headerFormat);
    r.setFooterFormat(d.footerFormat);
    r.setFHFontName(d.fhFontName);
    r.setFHFontSize(d.fhFontSize);
    r.setFHFontCharset(d.fhFontCharset);
    r.setFHFontColor(d.fhFontColor);
    r.setFHFontStyle(d.fhFontStyle);
    r.setPrintFlags(packPrintFlags(d.marginLines, d.headerAlign, d.footerAlign));
    r.setNoteName(node->Text());
    r.setLevel(node->Level());
    r.setCreated(nowTDateTime());
    r.setZoom(100);
    r.setNoteFlags(0);
    r.setFavorite(0);
    r.setPlainText(plainText ? 1 : 0);
    const GuidBytes id = newGuid();
    r.setID(id.data());
    note->TreeNode = node;
    note->RootNode = notebook.RootNode;
    note->Body = plainText ? QByteArray() : emptyDocumentBody();
    note->Loaded = true;
    note->Clean = false;
    // The note goes right after the note of the node before it in pre-order.
    TTreeNode* before = nullptr;
    if (TTreeNode* sibling = node->PrevSibling()) {
        before = sibling;
        while (before->Count() > 0)
            before = before->LastChild();
    } else if (node->Parent() != notebook.RootNode) {
        before = node->Parent();
    }
    const int at = before && before->Note() ? notebook.IndexOfNote(before->Note()) + 1 : 0;
    notebook.Notes.insert(at, note);
    note->IndexHint = at;
    notebook.TreeDirty = true;
    return note;
}

} // namespace vlr
