// How nodes look: the display record filled from the notebook's records and
// the painting decisions, then a few pixels of the painted tree.
#include "editor/color_value.h"
#include "tree/node_delegate.h"
#include "tree_fixture.h"

#include <QImage>

using namespace vlr;
using namespace vlr::test;

namespace {

constexpr quint32 kControl = 0xD1FFFF;

struct PaintCase {
    const char* name;
    quint32 back;
    int style;
    TNodePaintState state;
    std::optional<quint32> rowFill;
    quint32 boxFill;
    quint32 textColor;
    int textStyle;
    bool focusRect;
};

TNodePaintState st(bool selected, bool focused, bool dropTarget = false, bool hot = false) {
    TNodePaintState s;
    s.selected = selected;
    s.focused = focused;
    s.dropTarget = dropTarget;
    s.hot = hot;
    return s;
}

} // namespace

TEST(NodePaint, BackgroundsColoursAndStylesFollowTheRules) {
    const quint32 title = 0x0000FF;
    const PaintCase cases[] = {
        {"no background of its own", 0, 0, st(false, false), std::nullopt, kControl, title, 0, false},
        {"background equal to the tree's", kControl, 0, st(false, false), std::nullopt, kControl, title, 0,
         false},
        {"the black code paints black", kBlackBackColor, 0, st(false, false), 0x000000, 0x000000, title, 0,
         false},
        {"an explicit colour fills row and box", 0x00FF00, 0, st(false, false), 0x00FF00, 0x00FF00, title, 0,
         false},
        {"selected with focus", 0x00FF00, 1, st(true, true), 0x00FF00, kSysHighlight, kSysHighlightText, 1,
         true},
        {"selected without focus writes in the tree's colour", 0, 2, st(true, false), std::nullopt,
         kSysHighlight, kControl, 2, false},
        {"drop target without focus", 0, 0, st(false, false, true), std::nullopt, kSysHighlight,
         kSysHighlightText, 0, false},
        {"hot node underlines in the hot colour", 0, 1, st(false, false, false, true), std::nullopt, kControl,
         kSysHotLight, 1 | 4, false},
        {"hot and selected keeps the underline", 0, 0, st(true, true, false, true), std::nullopt,
         kSysHighlight, kSysHighlightText, 4, true},
        {"bits above the low four are ignored", 0, 0x70 | 0x8, st(false, false), std::nullopt, kControl,
         title, 8, false},
    };
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTreeNodeVisual v;
        v.FontColor = title;
        v.FontStyle = c.style;
        v.BackColor = c.back;
        const TNodePaintPlan plan = PlanNodePaint(v, c.state, kControl);
        EXPECT_EQ(plan.rowFill, c.rowFill);
        EXPECT_EQ(plan.boxFill, c.boxFill);
        EXPECT_EQ(plan.textColor, c.textColor);
        EXPECT_EQ(plan.fontStyle, c.textStyle);
        EXPECT_EQ(plan.focusRect, c.focusRect);
    }
}

TEST(NodePaint, PicturesAndChildCounts) {
    const TMyImageList images = defaultImages();
    struct Case {
        const char* name;
        const TMyImageList* list;
        int image, selectedImage, stateIndex;
        bool selected, drawCount;
        int children;
        int expectImage, expectState;
        const char* count;
    } cases[] = {
        {"the image of an unselected node", &images, 0, 1, -1, false, true, 0, 0, -1, ""},
        {"the selected image of a selected node", &images, 0, 1, -1, true, true, 0, 1, -1, ""},
        {"no list, no picture", nullptr, 0, 0, -1, false, true, 0, -1, -1, ""},
        {"-1 is no picture", &images, -1, -1, -1, false, true, 0, -1, -1, ""},
        {"an index past the list draws nothing", &images, 5000, 5000, -1, false, true, 0, -1, -1, ""},
        {"a state picture from the state list", &images, 0, 0, 1, false, true, 0, 0, 1, ""},
        {"direct children are counted", &images, 0, 0, -1, false, true, 3, 0, -1, "(3)"},
        {"no count without the option", &images, 0, 0, -1, false, false, 3, 0, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTreeNodeVisual v;
        v.Images = c.list;
        v.StateImages = c.list;
        v.ImageIndex = c.image;
        v.SelectedIndex = c.selectedImage;
        v.StateIndex = c.stateIndex;
        TNodePaintState s;
        s.selected = c.selected;
        s.drawChildCount = c.drawCount;
        s.childCount = c.children;
        const TNodePaintPlan plan = PlanNodePaint(v, s, kControl);
        EXPECT_EQ(plan.imageIndex, c.expectImage);
        EXPECT_EQ(plan.stateIndex, c.expectState);
        EXPECT_EQ(plan.childCount, QString::fromLatin1(c.count));
    }
    TNodePaintState cut;
    cut.cut = true;
    EXPECT_TRUE(PlanNodePaint({}, cut, kControl).dimImages) << "a node marked as cut dims its pictures";
}

TEST_F(TreeTest, VisualsComeFromTheNotesAndTheNotebook) {
    TNodeRoot* nb = service.Create(NewNotebookDefaults{});
    nb->Header.setRootFontColor(0x112233);
    nb->Header.setRootFontStyle(0x21);
    nb->Header.setRootBackColor(0x445566);
    nb->Header.setRootImageIndex(1);
    TNodeData* own = service.AddNote(*nb, nullptr, 0, QStringLiteral("own"), {}, false);
    TNodeData* none = service.AddNote(*nb, nullptr, 1, QStringLiteral("none"), {}, false);
    own->Record.setBackColor(0x00FF00);
    own->Record.setFontStyle(0x17);
    own->Record.setFontColor(0x0000FF);
    own->Record.setImageIndex(0);
    none->Record.setBackColor(0);
    service.Forest().SetStateIndex(own->TreeNode, 1);
    const TMyImageList stateImages = defaultImages();

    TTreeNodeVisual v;
    ASSERT_TRUE(NotebookNodeVisual(*own->TreeNode, &stateImages, v));
    EXPECT_EQ(v.BackColor, 0x00FF00u);
    EXPECT_EQ(v.FontStyle, 0x7);
    EXPECT_EQ(v.FontColor, 0x0000FFu);
    EXPECT_EQ(v.Images, &nb->Images);
    EXPECT_EQ(v.StateImages, &stateImages);
    EXPECT_EQ(v.ImageIndex, 0);
    EXPECT_EQ(v.SelectedIndex, 0);
    EXPECT_EQ(v.StateIndex, 1);

    ASSERT_TRUE(NotebookNodeVisual(*none->TreeNode, &stateImages, v));
    EXPECT_EQ(v.BackColor, 0x445566u) << "a note without a background shows the notebook's";

    TTreeNodeVisual r;
    r.StateIndex = 7;
    ASSERT_TRUE(NotebookNodeVisual(*nb->RootNode, &stateImages, r));
    EXPECT_EQ(r.FontColor, 0x112233u);
    EXPECT_EQ(r.FontStyle, 0x1);
    EXPECT_EQ(r.BackColor, 0x445566u);
    EXPECT_EQ(r.ImageIndex, 1);
    EXPECT_EQ(r.StateImages, nullptr);
    EXPECT_EQ(r.StateIndex, 7) << "a root keeps the control's state index";

    TNoteForest bare;
    TTreeNode* dataless = bare.AddRoot(QStringLiteral("x"));
    TTreeNodeVisual untouched;
    untouched.FontColor = 42;
    EXPECT_FALSE(NotebookNodeVisual(*dataless, nullptr, untouched));
    EXPECT_EQ(untouched.FontColor, 42u);
}

TEST_F(TreeTest, ViewCountsDirectChildrenOnlyAndAsksOnGetNodeInfoForNodesWithoutData) {
    TNodeRoot* nb = service.Create(NewNotebookDefaults{});
    TNodeData* folder = service.AddNote(*nb, nullptr, 0, QStringLiteral("folder"), {}, false);
    TNodeData* child = service.AddNote(*nb, folder->TreeNode, 0, QStringLiteral("child"), {}, false);
    service.AddNote(*nb, folder->TreeNode, 1, QStringLiteral("child2"), {}, false);
    service.AddNote(*nb, child->TreeNode, 0, QStringLiteral("grandchild"), {}, false);
    EXPECT_TRUE(TMyTreeView(service).DrawChildrenNumber()) << "on after construction";
    makeTree();
    options.TreeDrawChildCount = true;
    tree->ApplyOptions(options);
    EXPECT_EQ(tree->NodePaintPlan(folder->TreeNode).childCount, QStringLiteral("(2)"));
    EXPECT_EQ(tree->NodePaintPlan(nb->RootNode).childCount, QStringLiteral("(1)"));
    EXPECT_EQ(tree->NodePaintPlan(node(QStringLiteral("child2"))).childCount, QString());

    int asked = 0;
    tree->OnGetNodeInfo = [&](TOvTree*, TTreeNode*, TTreeNodeVisual& info) {
        ++asked;
        info.FontColor = 0x123456;
    };
    EXPECT_EQ(tree->NodeVisual(folder->TreeNode).FontColor, quint32(folder->Record.FontColor()));
    EXPECT_EQ(asked, 0) << "nodes with Data are filled by the tree itself";
}

TEST_F(TreeTest, PaintedRowsShowBackgroundsButtonsAndLabels) {
    TNodeRoot* nb = service.Create(NewNotebookDefaults{});
    nb->Header.setRootBackColor(0x00FF00); // BGR: green
    TNodeData* black = service.AddNote(*nb, nullptr, 0, QStringLiteral("black"), {}, false);
    service.AddNote(*nb, black->TreeNode, 0, QStringLiteral("child"), {}, false);
    black->Record.setBackColor(int32_t(kBlackBackColor));
    black->Record.setFontColor(0xFFFFFF);
    options.TreeShowLines = true;
    makeTree();
    tree->setFocus();
    const QImage shot = tree->viewport()->grab().toImage();
    const QRect rootRow = tree->visualRect(tree->IndexOf(nb->RootNode));
    const QRect noteRow = tree->visualRect(tree->IndexOf(black->TreeNode));
    const int right = tree->viewport()->width() - 2;
    EXPECT_EQ(shot.pixelColor(right, rootRow.center().y()), QColor(0, 255, 0)) << "the root's row is green";
    EXPECT_EQ(shot.pixelColor(right, noteRow.center().y()), QColor(0, 0, 0)) << "the code for black";

    // The collapsed note's button: a 9 by 9 frame in the grey-text colour
    // with a plus in the window-text colour, centred in its column.
    const TNodeGeometry g = tree->NodeGeometry(black->TreeNode);
    ASSERT_EQ(g.button.size(), QSize(9, 9));
    EXPECT_EQ(g.button.left(), TOvTree::kIndent + (TOvTree::kIndent - 9) / 2);
    const QPalette pal = tree->palette();
    EXPECT_EQ(shot.pixelColor(g.button.topLeft()), pal.color(QPalette::Disabled, QPalette::Text));
    EXPECT_EQ(shot.pixelColor(g.button.left() + 4, g.button.top() + 2), pal.color(QPalette::Text));
    EXPECT_EQ(shot.pixelColor(g.button.left() + 2, g.button.top() + 4), pal.color(QPalette::Text));
    EXPECT_EQ(shot.pixelColor(g.button.left() + 1, g.button.top() + 1),
              colorFromValue(options.TreeBackColor));
    // Content starts at level times indent, plus 2, plus one indent.
    EXPECT_EQ(g.image.left(), 2 * TOvTree::kIndent + 2);
    EXPECT_EQ(g.label.left(), g.image.right() + 1 + TNodeDelegate::kImageGap);
    EXPECT_EQ(g.highlight, g.label.adjusted(-2, 0, 4, 0));
}
