// Keys, mouse, menus and title commands of the notes tree.
#include "tree/hover_select.h"
#include "tree/image_menu.h"
#include "tree/image_palette.h"
#include "tree/node_delegate.h"
#include "tree_fixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QToolTip>

using namespace vlr;
using namespace vlr::test;

class TreeInputTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        const QString a = writeNotebook(QStringLiteral("A"), {{QStringLiteral("top"), rtf("t")},
                                                              {QStringLiteral("mid"), rtf("m"), 2},
                                                              {QStringLiteral("deep"), rtf("d"), 3},
                                                              {QStringLiteral("mid2"), rtf("m2"), 2},
                                                              {QStringLiteral("leaf"), rtf("l")}});
        const QString b = writeNotebook(QStringLiteral("B"), {{QStringLiteral("b1"), rtf("b")}});
        makeTree();
        nbA = open(a);
        nbB = open(b);
        ASSERT_TRUE(nbA && nbB);
        tree->SetChangeDelay(0);
        tree->setFocus();
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(tree, Qt::Key(k), mods); }
    void settle() { QTest::qWait(20); }
    TNodeRoot* nbA = nullptr;
    TNodeRoot* nbB = nullptr;
};

TEST_F(TreeInputTest, EndFollowsFirstChildrenAndStaysOnALeaf) {
    tree->SelectNode(node(QStringLiteral("top")));
    key(Qt::Key_End);
    settle();
    EXPECT_EQ(tree->Selected(), node(QStringLiteral("deep")));
    EXPECT_EQ(tree->CurrentNote(), node(QStringLiteral("deep"))->Note()) << "End selects as the user does";
    tree->SelectNode(node(QStringLiteral("leaf")));
    key(Qt::Key_End);
    settle();
    EXPECT_EQ(tree->Selected(), node(QStringLiteral("leaf")));
}

TEST_F(TreeInputTest, EnterAndSpaceToggleTheStoredExpandedState) {
    TTreeNode* top = node(QStringLiteral("top"));
    tree->SelectNode(top);
    ASSERT_FALSE(top->Expanded());
    for (const int k : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter}) {
        const bool before = top->Expanded();
        key(k);
        EXPECT_EQ(top->Expanded(), !before);
        EXPECT_EQ(tree->isExpanded(tree->IndexOf(top)), !before);
        EXPECT_EQ(top->Note()->Record.Expanded(), before ? 0 : -1);
    }
    EXPECT_TRUE(nbA->ViewDirty) << "written with the notebook";
    EXPECT_FALSE(nbA->TreeDirty) << "but no change of it";
}

TEST_F(TreeInputTest, KeysForTheWindow) {
    QSignalSpy focusEditor(tree, &TMyCustomTreeView::focusEditorRequested);
    QSignalSpy remove(tree, &TMyCustomTreeView::deleteRequested);
    tree->SelectNode(node(QStringLiteral("leaf")));
    key(Qt::Key_F6);
    key(Qt::Key_Tab, Qt::ControlModifier);
    key(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(focusEditor.count(), 2);
    key(Qt::Key_Delete);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(remove.count(), 1);

    // While a label is edited, F6 still reaches the tree.
    QLineEdit label;
    label.installEventFilter(tree->Delegate());
    QTest::keyClick(&label, Qt::Key_F6);
    QTest::keyClick(&label, Qt::Key_A);
    EXPECT_EQ(focusEditor.count(), 3);
    EXPECT_EQ(label.text(), QStringLiteral("a"));
}

TEST_F(TreeInputTest, OnExpandingRefusesAndTheRefusalLeavesNoTrace) {
    service.SetExpanded(nbB->RootNode, false);
    nbB->TreeDirty = false;
    tree->OnExpanding = [](TMyCustomTreeView*, TTreeNode* node, bool& allow) { allow = node->Level() > 0; };
    tree->SelectNode(nbB->RootNode);
    key(Qt::Key_Right);
    key(Qt::Key_Plus);
    key(Qt::Key_Return);
    EXPECT_FALSE(tree->isExpanded(tree->IndexOf(nbB->RootNode)));
    EXPECT_FALSE(nbB->RootNode->Expanded());
    EXPECT_EQ(nbB->Header.RootExpanded(), 0);
    tree->SelectNode(node(QStringLiteral("top")));
    key(Qt::Key_Right);
    EXPECT_TRUE(node(QStringLiteral("top"))->Expanded()) << "notes always expand";
}

TEST_F(TreeInputTest, RestingWithCtrlHighlightsThenSelects) {
    TTreeHoverSelect* hover = tree->HoverSelect();
    hover->SetIntervals(30, 1000);
    Qt::KeyboardModifiers held = Qt::ControlModifier;
    hover->modifiers = [&] { return held; };
    TTreeNode* leaf = node(QStringLiteral("leaf"));
    tree->SelectNode(nbA->RootNode);
    const QPoint over = tree->visualRect(tree->IndexOf(leaf)).center();

    QMouseEvent move(QEvent::MouseMove, over, tree->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::ControlModifier);
    QCoreApplication::sendEvent(tree->viewport(), &move);
    EXPECT_EQ(tree->DropTarget(), leaf);
    EXPECT_EQ(tree->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::qWait(80);
    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_EQ(tree->Selected(), leaf);

    // Ctrl let go before the timer fires: nothing is selected.
    tree->SelectNode(nbA->RootNode);
    QCoreApplication::sendEvent(tree->viewport(), &move);
    held = Qt::NoModifier;
    QTest::qWait(80);
    EXPECT_EQ(tree->Selected(), nbA->RootNode);

    QMouseEvent plain(QEvent::MouseMove, over, tree->viewport()->mapToGlobal(over), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &plain);
    EXPECT_NE(tree->viewport()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(TreeInputTest, SwitchingNotebooksFoldsTheOneLeftUnlessByLeftClick) {
    options.TreeAutoCollapse = true;
    tree->ApplyOptions(options);
    tree->SetChangeDelay(0);
    service.SetExpanded(nbA->RootNode, true);
    service.SetExpanded(nbB->RootNode, false);
    tree->SelectNode(node(QStringLiteral("top")));
    tree->SelectNode(nbB->RootNode);
    EXPECT_FALSE(nbA->RootNode->Expanded());
    EXPECT_TRUE(nbB->RootNode->Expanded()) << "a root without a password opens";

    service.SetExpanded(nbA->RootNode, true);
    const QPoint onA = tree->visualRect(tree->IndexOf(node(QStringLiteral("leaf")))).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, onA);
    settle();
    EXPECT_EQ(tree->Selected(), node(QStringLiteral("leaf")));
    EXPECT_TRUE(nbB->RootNode->Expanded()) << "a left click moves no rows";
}

TEST_F(TreeInputTest, TitleStyleAndColourCommandsChangeTheSelectedNode) {
    TTreeNode* leaf = node(QStringLiteral("leaf"));
    EXPECT_FALSE(tree->ToggleTitleStyle(1)) << "nothing selected";
    tree->SelectNode(leaf);
    ASSERT_FALSE(nbA->TreeDirty) << "selecting is no change";
    leaf->Note()->Record.setFontStyle(0x30 | 2);
    EXPECT_TRUE(tree->ToggleTitleStyle(1));
    EXPECT_EQ(leaf->Note()->Record.FontStyle(), 3) << "higher bits are never written";
    EXPECT_TRUE(tree->ToggleTitleStyle(2));
    EXPECT_EQ(leaf->Note()->Record.FontStyle(), 1);
    EXPECT_TRUE(nbA->Modified);
    EXPECT_TRUE(nbA->TreeDirty) << "a title's look is a change asked about before closing";
    EXPECT_TRUE(tree->SetTitleColor(0x0000FF));
    EXPECT_EQ(leaf->Note()->Record.FontColor(), 0x0000FF);

    tree->SelectNode(nbB->RootNode);
    const int rootStyle = nbB->Header.RootFontStyle();
    EXPECT_TRUE(tree->ToggleTitleStyle(4));
    EXPECT_EQ(nbB->Header.RootFontStyle(), rootStyle ^ 4);
    EXPECT_TRUE(tree->SetTitleColor(0x00FF00));
    EXPECT_EQ(nbB->Header.RootFontColor(), 0x00FF00);
    EXPECT_EQ(tree->NodeVisual(nbB->RootNode).FontColor, 0x00FF00u);
}

TEST_F(TreeInputTest, TheImageMenuOpensOnThePictureAndSetsTheIndex) {
    QMenu pmTree;
    pmTree.addAction(QStringLiteral("x"));
    tree->SetTreeMenu(&pmTree);
    QAction images(QStringLiteral("Ещё картинки..."));
    tree->SetImagesAction(&images);
    QSignalSpy treeMenu(tree, &TMyCustomTreeView::treeMenuAboutToShow);
    QSignalSpy changed(tree, &TMyCustomTreeView::changed);
    TTreeNode* leaf = node(QStringLiteral("leaf"));
    tree->SelectNode(leaf);
    nbA->Modified = false;

    const TNodeGeometry g = tree->NodeGeometry(leaf);
    ASSERT_FALSE(g.image.isEmpty());
    QContextMenuEvent onLabel(QContextMenuEvent::Mouse, g.label.center(),
                              tree->viewport()->mapToGlobal(g.label.center()));
    QCoreApplication::sendEvent(tree->viewport(), &onLabel);
    EXPECT_EQ(treeMenu.count(), 1);
    EXPECT_TRUE(pmTree.isVisible());
    EXPECT_GE(changed.count(), 1) << "the window refreshes before a menu opens";
    pmTree.close();

    QContextMenuEvent onImage(QContextMenuEvent::Mouse, g.image.center(),
                              tree->viewport()->mapToGlobal(g.image.center()));
    QCoreApplication::sendEvent(tree->viewport(), &onImage);
    TNodeImageMenu* menu = tree->ImageMenu();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(treeMenu.count(), 1);
    EXPECT_EQ(menu->Palette()->Current(), leaf->Note()->Record.ImageIndex());
    EXPECT_TRUE(menu->actions().contains(&images));

    // Cell (row 0, column 1) is picture 1.
    QTest::mouseClick(menu->Palette(), Qt::LeftButton, Qt::NoModifier,
                      menu->Palette()->CellRect(0, 1).center());
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(leaf->Note()->Record.ImageIndex(), 1);
    EXPECT_EQ(leaf->ImageIndex(), 1);
    EXPECT_TRUE(nbA->Modified);

    nbA->Modified = false;
    nbA->TreeDirty = false;
    menu->NoImageAction()->trigger();
    EXPECT_EQ(leaf->Note()->Record.ImageIndex(), -1);
    EXPECT_FALSE(nbA->Modified) << "taking the picture away does not mark the notebook";
    EXPECT_TRUE(nbA->TreeDirty) << "but it is written with the next save";

    // The palette is rebuilt only for a different list.
    menu->Prepare(nbA->Images, 0);
    EXPECT_FALSE(menu->Rebuilt());
    TMyImageList fewer = nbA->Images;
    fewer.Delete(0);
    menu->Prepare(fewer, 0);
    EXPECT_TRUE(menu->Rebuilt());
}

TEST_F(TreeInputTest, ALongLabelShowsItselfAsATip) {
    TNodeData* longOne = service.AddNote(*nbB, nullptr, 1, QString(200, QLatin1Char('w')), {}, false);
    service.SetExpanded(nbB->RootNode, true);
    const TNodeGeometry g = tree->NodeGeometry(longOne->TreeNode);
    ASSERT_GT(g.label.right(), tree->viewport()->width());
    const QPoint over(tree->viewport()->width() - 10, g.label.center().y());
    QCursor::setPos(tree->viewport()->mapToGlobal(over));
    QMouseEvent move(QEvent::MouseMove, over, tree->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &move);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), longOne->Record.NoteName());
    const QPoint shortRow = tree->visualRect(tree->IndexOf(nbB->RootNode)).center();
    QMouseEvent away(QEvent::MouseMove, shortRow, tree->viewport()->mapToGlobal(shortRow), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &away);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}
