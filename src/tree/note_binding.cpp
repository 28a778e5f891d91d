#include "tree/note_binding.h"

#include "config/options.h"
#include "editor/richedit.h"
#include "storage/node_root.h"
#include "tree/option_fonts.h"

namespace vlr {

bool BindNoteToEditor(TMyRichEdit& editor, TNodeRoot& notebook, TNodeData& note, const TVLROptions& o) {
    const NoteRecord& r = note.Record;
    editor.SetReadOnly(false);
    editor.Clear();
    editor.SetColor(quint32(r.EditorColor()));
    editor.ClearUndo();
    const bool readable = note.Loaded || (note.TreeNode && notebook.ReadNoteByNode(note.TreeNode) >= 0);
    const bool plain = r.PlainText() != 0;
    editor.SetPlainText(plain);
    if (plain)
        editor.DefAttributes().Assign(PlainTextFont(o), o.PlainFontColor, o.PlainFontCharset);
    else
        editor.DefAttributes().Assign(DefaultRichFont(o), o.DefFontColor, o.DefFontCharset);
    if (readable && !note.Body.isEmpty())
        editor.LoadFromBytes(note.Body);
    if (r.Zoom() > 0)
        editor.SetZoomPercent(r.Zoom());
    if (o.SaveCursor && readable) {
        const int length = editor.TextLength();
        const int start = qBound(0, int(r.SelStart()), length);
        const int end = qBound(start, start + qMax(0, int(r.SelLength())), length);
        editor.SetSelection(start, end, false);
        // The scroll range exists only once the text is laid out.
        editor.document()->size();
        editor.SetScrollPos(QPoint(r.RealposX(), r.RealposY()));
    }
    editor.SetModified(false);
    return readable;
}

bool NoteIsReadOnly(const TNodeRoot& notebook, const TNodeData& note) {
    return notebook.IsReadOnly() || note.HasNoteFlag(nfReadOnly);
}

void ClearEditor(TMyRichEdit& editor) {
    editor.SetReadOnly(false);
    editor.Clear();
}

bool StoreEditorPosition(const TMyRichEdit& editor, TNodeData& note) {
    NoteRecord& r = note.Record;
    const QPoint scroll = editor.ScrollPos();
    const bool changed = r.RealposX() != scroll.x() || r.RealposY() != scroll.y() ||
                         r.SelStart() != editor.SelStart() || r.SelLength() != editor.SelLength();
    r.setRealposX(scroll.x());
    r.setRealposY(scroll.y());
    r.setSelStart(editor.SelStart());
    r.setSelLength(editor.SelLength());
    return changed;
}

} // namespace vlr
