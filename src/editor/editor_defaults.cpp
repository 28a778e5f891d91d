#include "editor/editor_defaults.h"

#include "config/options.h"
#include "editor/richedit.h"

namespace vlr {

void ApplyEditorOptions(TMyRichEdit& editor, const TVLROptions& o) {
    editor.SetWordSelection(o.EditorWordSel);
    editor.SetWordWrap(o.EditorWordWrap);
    editor.SetAutoURLDetect(o.EditorAutoURL);
}

void ApplyNewNoteDefaults(TMyRichEdit& editor, const TVLROptions& o) {
    editor.SetColor(o.DefEditorBack);
    editor.Clear();
    TRxParaAttributes& p = editor.Paragraph();
    p.SetNumbering(TRxNumbering::nsNone);
    p.SetFirstIndent(o.DefFirstIndent);
    p.SetLeftIndent(o.DefLeftIndent);
    // Stored 0 left, 1 right, 2 centre, 3 justified, as the alignment enum.
    p.SetAlignment(TParaAlignment(qBound(0, int(o.DefParaAlign), 3)));
    p.SetRightIndent(o.DefRightIndent);
    p.SetSpaceBefore(o.DefSpaceBefore);
    p.SetSpaceAfter(o.DefSpaceAfter);
    p.SetLineSpacing(TLineSpacingRule(qBound(0, int(o.DefLineSpacing), 5)), o.DefLineSpacingValue);
    TRxTextAttributes& d = editor.DefAttributes();
    d.SetCharset(o.DefFontCharset);
    d.SetName(o.DefFontName);
    d.SetSize(o.DefFontSize);
    d.SetColor(o.DefFontColor);
    d.SetStyle(o.DefFontStyle & 0xF);
    editor.ClearUndo();
}

} // namespace vlr
