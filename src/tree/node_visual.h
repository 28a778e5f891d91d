#pragma once
// How a node of the notes tree looks: the display record filled from the
// notebook's records, and the decisions of painting a node that are not
// pixels (which colours, which pictures, what text). Colours stay colour
// values (0x00BBGGRR or a system colour) so that the decisions do not depend
// on a palette; the view turns them into QColors when it paints.
#include <QString>
#include <QtGlobal>

#include <optional>

namespace vlr {

class TMyImageList;
class TTreeNode;

// System colours the tree paints with.
constexpr quint32 kSysWindowText = 0x80000008;
constexpr quint32 kSysHighlight = 0x8000000D;
constexpr quint32 kSysHighlightText = 0x8000000E;
constexpr quint32 kSysGrayText = 0x80000011;
constexpr quint32 kSysHotLight = 0x8000001A;

// Background fields of notes and notebooks: 0 is "none of its own", and this
// code stands for black so that black stays choosable.
constexpr quint32 kNoBackColor = 0;
constexpr quint32 kBlackBackColor = 0x1FFFFFFF;

// Title styles keep bold 1, italic 2, underline 4 and strike-out 8 in the
// low four bits; anything above is ignored.
constexpr int kTitleStyleMask = 0xF;
inline int TitleStyle(qint64 stored) {
    return int(stored & kTitleStyleMask);
}

// The display record of one node.
struct TTreeNodeVisual {
    quint32 FontColor = kSysWindowText;
    int FontStyle = 0;
    quint32 BackColor = kNoBackColor;
    const TMyImageList* Images = nullptr;
    const TMyImageList* StateImages = nullptr;
    int ImageIndex = -1;
    int SelectedIndex = -1;
    int StateIndex = -1;

    bool operator==(const TTreeNodeVisual&) const = default;
};

// The control's own look, which every node starts from.
struct TTreeLook {
    quint32 fontColor = kSysWindowText;
    int fontStyle = 0;
    quint32 color = 0x80000005; // the control's background
    const TMyImageList* images = nullptr;
    const TMyImageList* stateImages = nullptr;
};

// The control's defaults for a node: its look and the node's own indexes.
TTreeNodeVisual DefaultNodeVisual(const TTreeNode& node, const TTreeLook& look);

// Fills Info from the node's Data (the note's or the notebook's records);
// false for a node without Data, whose Info stays as it was.
bool NotebookNodeVisual(const TTreeNode& node, const TMyImageList* stateImages, TTreeNodeVisual& info);

// What is known about a node at the moment it is painted.
struct TNodePaintState {
    bool selected = false;
    bool dropTarget = false;
    bool focused = false; // the control (or the item) has the focus
    bool hot = false;     // under the mouse while hot tracking is on
    bool cut = false;     // marked for a move
    bool drawChildCount = false;
    int childCount = 0; // direct children only
};

struct TNodePaintPlan {
    std::optional<quint32> rowFill; // the whole row is filled with this colour
    quint32 backColor = 0;          // the label box of an unselected node
    int imageIndex = -1;            // -1: no picture
    int stateIndex = -1;            // -1: no state picture
    bool dimImages = false;
    quint32 textColor = kSysWindowText;
    int fontStyle = 0;
    quint32 boxFill = 0; // the label box (the highlight box for a selected node)
    bool focusRect = false;
    QString childCount; // empty: nothing drawn behind the label
};

// The colour a background code paints with (0x1FFFFFFF is black).
quint32 BackgroundPaintColor(quint32 code);

TNodePaintPlan PlanNodePaint(const TTreeNodeVisual& visual, const TNodePaintState& state,
                             quint32 controlColor);

} // namespace vlr
