// Dragging notes in the tree (drag-over rules, drops within and between
// notebooks with Ctrl, Shift and Alt) and editing labels in place.
#include "forest_shape.h"
#include "tree/tree_drag.h"
#include "tree_fixture.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

using namespace vlr;
using namespace vlr::test;

namespace {

class DragDropTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        one = open(writeNotebook(QStringLiteral("one"), {{QStringLiteral("a"), rtf("alpha")},
                                                         {QStringLiteral("a1"), rtf("beta"), 2},
                                                         {QStringLiteral("b"), rtf("gamma")}}));
        two = open(writeNotebook(QStringLiteral("two"), {{QStringLiteral("x"), rtf("x")}}));
        ASSERT_TRUE(one && two);
        makeTree();
        tree->SetSubtreeExpanded(one->RootNode, true);
        tree->SetSubtreeExpanded(two->RootNode, true);
        tree->DragDrop()->OnDrop = [this](TTreeNode* s, TTreeNode* t,
                                          const TNotebookService::MoveOrCopy& how) {
            return service.MoveOrCopyNote(s, t, how);
        };
    }
    QPoint centre(TTreeNode* n) const { return tree->visualRect(tree->IndexOf(n)).center(); }
    // Drags from to onto with the keys, as the drag system delivers it to the viewport.
    bool drag(TTreeNode* from, TTreeNode* onto, Qt::KeyboardModifiers keys) {
        tree->SelectNode(from);
        EXPECT_TRUE(tree->DragDrop()->Start(from));
        QMimeData mime;
        mime.setData(TMyTreeView::kNodeMimeType, QByteArrayLiteral("1"));
        // The drag system announces the drag to the widget before any move.
        QDragEnterEvent enter(centre(onto), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, keys);
        QApplication::sendEvent(tree->viewport(), &enter);
        QDragMoveEvent move(centre(onto), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, keys);
        QApplication::sendEvent(tree->viewport(), &move);
        const bool accepted = move.isAccepted();
        if (accepted) {
            QDropEvent drop(QPointF(centre(onto)), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                            keys);
            QApplication::sendEvent(tree->viewport(), &drop);
        }
        tree->DragDrop()->End();
        return accepted;
    }
    TNodeRoot* one = nullptr;
    TNodeRoot* two = nullptr;
};
} // namespace

TEST_F(DragDropTest, DropsWithinAndBetweenNotebooks) {
    struct Case {
        const char* what;
        const char* from;
        const char* onto; // "one"/"two": the root
        Qt::KeyboardModifiers keys;
        bool accepted;
        const char* shapeOne;
        const char* shapeTwo;
    };
    const Case cases[] = {
        {"move into another notebook", "a", "x", Qt::NoModifier, true, "b", "x(a(a1))"},
        {"copy into another notebook", "a", "two", Qt::ControlModifier, true, "a(a1),b", "x,a(a1)"},
        {"copy without children", "a", "two", Qt::ControlModifier | Qt::ShiftModifier, true, "a(a1),b",
         "x,a"},
        {"after a note", "b", "x", Qt::AltModifier, true, "a(a1)", "x,b"},
        {"after onto another root: last child", "b", "two", Qt::AltModifier, true, "a(a1)", "x,b"},
        {"after onto its own root is refused", "b", "one", Qt::AltModifier, false, "a(a1),b", "x"},
        {"onto itself is refused", "a", "a", Qt::NoModifier, false, "a(a1),b", "x"},
        {"copy with children into its own subtree is refused", "a", "a1", Qt::ControlModifier, false,
         "a(a1),b", "x"},
        {"copy alone into its own subtree", "a", "a1", Qt::ControlModifier | Qt::ShiftModifier, true,
         "a(a1(a)),b", "x"},
        {"a notebook is not dragged", "one", "x", Qt::NoModifier, false, "a(a1),b", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        service.CloseAll();
        SetUp();
        auto pick = [&](const char* name) {
            const QString n = QString::fromUtf8(name);
            return n == "one" ? one->RootNode : n == "two" ? two->RootNode : node(n);
        };
        TTreeNode* from = pick(c.from);
        if (!from->Note()) {
            EXPECT_FALSE(tree->DragDrop()->Start(from));
            continue;
        }
        EXPECT_EQ(drag(from, pick(c.onto), c.keys), c.accepted);
        EXPECT_EQ(shapeOf(one->RootNode), QString::fromUtf8(c.shapeOne));
        EXPECT_EQ(shapeOf(two->RootNode), QString::fromUtf8(c.shapeTwo));
        EXPECT_FALSE(tree->DropTarget());
    }
}

TEST_F(DragDropTest, AMovedNoteKeepsItsTextInItsNewNotebook) {
    ASSERT_TRUE(drag(node(QStringLiteral("a")), two->RootNode, Qt::NoModifier));
    ASSERT_EQ(service.Save(*two), srOk);
    ASSERT_EQ(service.Save(*one), srOk);
    const QString file = two->FileName;
    service.CloseAll();
    TNodeRoot* again = open(file);
    ASSERT_TRUE(again);
    tree->SelectNode(node(QStringLiteral("a1")));
    EXPECT_EQ(editorText(editor), QStringLiteral("beta"));
}

TEST_F(DragDropTest, ALabelEditIsReportedNotWritten) {
    QList<QPair<TTreeNode*, QString>> edited;
    QObject::connect(tree, &TMyCustomTreeView::labelEdited, [&](TTreeNode* n, const QString& text) {
        edited.append({n, text});
    });
    TTreeNode* b = node(QStringLiteral("b"));
    tree->SelectNode(b);
    tree->EditLabel(b);
    ASSERT_TRUE(tree->EditingLabel());
    auto* line = tree->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(line);
    line->setText(QStringLiteral("bee"));
    tree->SendKeyToLabelEditor(Qt::Key_Delete); // reaches the editor, not the tree
    EXPECT_EQ(shapeOf(one->RootNode), QStringLiteral("a(a1),b"));
    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited[0].first, b);
    EXPECT_EQ(edited[0].second, QStringLiteral("bee"));
    EXPECT_EQ(b->Text(), QStringLiteral("b")); // the service renames, not the view
}
