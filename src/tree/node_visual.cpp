#include "tree/node_visual.h"

#include "editor/richedit_types.h"
#include "storage/images/image_list.h"
#include "storage/node_root.h"
#include "storage/notebook_service.h"

namespace vlr {

TTreeNodeVisual DefaultNodeVisual(const TTreeNode& node, const TTreeLook& look) {
    TTreeNodeVisual v;
    v.FontColor = look.fontColor;
    v.FontStyle = TitleStyle(look.fontStyle);
    v.BackColor = look.color;
    v.Images = look.images;
    v.StateImages = look.stateImages;
    v.ImageIndex = node.ImageIndex();
    v.SelectedIndex = node.SelectedIndex();
    v.StateIndex = node.StateIndex();
    return v;
}

bool NotebookNodeVisual(const TTreeNode& node, const TMyImageList* stateImages, TTreeNodeVisual& info) {
    if (const TNodeData* note = node.Note()) {
        const TNodeRoot* nb = TNotebookService::NotebookOf(&node);
        const NoteRecord& r = note->Record;
        info.FontColor = quint32(r.FontColor());
        info.FontStyle = TitleStyle(r.FontStyle());
        info.BackColor = quint32(r.BackColor());
        if (info.BackColor == kNoBackColor)
            info.BackColor = nb ? quint32(nb->Header.RootBackColor()) : kNoBackColor;
        info.Images = nb ? &nb->Images : nullptr;
        info.StateImages = stateImages;
        info.ImageIndex = info.SelectedIndex = r.ImageIndex();
        info.StateIndex = node.StateIndex();
        return true;
    }
    if (const TNodeRoot* nb = node.Notebook()) {
        const NotebookHeader& h = nb->Header;
        info.FontColor = quint32(h.RootFontColor());
        info.FontStyle = TitleStyle(h.RootFontStyle());
        info.BackColor = quint32(h.RootBackColor());
        info.Images = &nb->Images;
        info.StateImages = nullptr;
        info.ImageIndex = info.SelectedIndex = h.RootImageIndex();
        return true;
    }
    return false;
}

quint32 BackgroundPaintColor(quint32 code) {
    return code == kBlackBackColor ? 0x000000u : code;
}

namespace {
// A picture is drawn only when its list holds it.
int drawableIndex(const TMyImageList* list, int index) {
    return list && index >= 0 && index < list->Count() ? index : -1;
}
} // namespace

TNodePaintPlan PlanNodePaint(const TTreeNodeVisual& visual, const TNodePaintState& state,
                             quint32 controlColor) {
    TNodePaintPlan plan;
    quint32 back = visual.BackColor;
    if (back != kNoBackColor && back != controlColor) {
        plan.rowFill = BackgroundPaintColor(back);
        plan.backColor = *plan.rowFill;
    } else {
        plan.backColor = controlColor;
    }
    plan.imageIndex = drawableIndex(visual.Images, state.selected ? visual.SelectedIndex : visual.ImageIndex);
    plan.stateIndex = drawableIndex(visual.StateImages, visual.StateIndex);
    plan.dimImages = state.cut;

    plan.textColor = visual.FontColor;
    plan.fontStyle = TitleStyle(visual.FontStyle);
    if (state.hot) {
        plan.textColor = kSysHotLight;
        plan.fontStyle |= fsUnderline;
    }
    if (state.selected || state.dropTarget) {
        plan.boxFill = kSysHighlight;
        plan.textColor = state.focused || state.dropTarget ? kSysHighlightText : controlColor;
    } else {
        plan.boxFill = plan.backColor;
    }
    plan.focusRect = state.selected && state.focused;
    if (state.drawChildCount && state.childCount > 0)
        plan.childCount = QStringLiteral("(%1)").arg(state.childCount);
    return plan;
}

} // namespace vlr
