// Undo depth, the identifiers of the next undo and redo, and the modified flag.
#include "editor_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

using namespace vlr;
using namespace vlr::test;

namespace {

class UndoTest : public EditorTest {};

} // namespace

TEST_F(UndoTest, EachKindOfEditIsNamed) {
    load("hello world");
    EXPECT_EQ(edit.UndoName(), TUndoName::unUnknown);
    select(5, 5);
    type("X");
    EXPECT_EQ(edit.UndoName(), TUndoName::unTyping);
    key(Qt::Key_Backspace);
    EXPECT_EQ(edit.UndoName(), TUndoName::unDelete);
    select(0, 5);
    edit.CutToClipboard();
    EXPECT_EQ(edit.UndoName(), TUndoName::unCut);
    edit.PasteFromClipboard();
    EXPECT_EQ(edit.UndoName(), TUndoName::unPaste);
    select(0, 2);
    edit.SelAttributes().SetStyle(fsBold);
    EXPECT_EQ(edit.UndoName(), TUndoName::unUnknown);

    edit.Undo(); // the formatting
    EXPECT_EQ(edit.UndoName(), TUndoName::unPaste);
    EXPECT_EQ(edit.RedoName(), TUndoName::unUnknown);
    edit.Undo(); // the paste
    EXPECT_EQ(edit.RedoName(), TUndoName::unPaste);
    EXPECT_EQ(edit.UndoName(), TUndoName::unCut);
    edit.Redo();
    EXPECT_EQ(edit.UndoName(), TUndoName::unPaste);
    EXPECT_TRUE(edit.CanRedo());
    // A new edit drops the redo history.
    type("z");
    EXPECT_FALSE(edit.CanRedo());
    EXPECT_EQ(edit.RedoName(), TUndoName::unUnknown);
}

TEST_F(UndoTest, DropIsNamedDragAndDrop) {
    load("abc");
    QMimeData data;
    data.setText(QStringLiteral("dropped "));
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                    Qt::ControlModifier);
    edit.dropEvent(&drop);
    EXPECT_TRUE(edit.Text().contains(QStringLiteral("dropped")));
    EXPECT_EQ(edit.UndoName(), TUndoName::unDragDrop);
}

TEST_F(UndoTest, UndoLimitBoundsTheDepth) {
    struct Case {
        int limit;
        int undoable;
    } cases[] = {{3, 3}, {1, 1}, {0, 1}, {-5, 1}, {100, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        edit.SetUndoLimit(c.limit);
        load("x");
        for (int i = 0; i < 5; ++i) {
            select(i, i + 1);
            edit.SetSelText(QString::number(i)); // five separate steps
        }
        int undone = 0;
        while (edit.CanUndo()) {
            edit.Undo();
            ++undone;
        }
        EXPECT_EQ(undone, c.undoable);
    }
}

TEST_F(UndoTest, SingleLevelUndoKeepsOnlyTheLastEdit) {
    edit.SetUndoLimit(1);
    load("abc");
    select(3, 3);
    type("d");
    key(Qt::Key_Home);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit.Text(), QStringLiteral("bcd"));
    edit.Undo();
    EXPECT_EQ(edit.Text(), QStringLiteral("abcd"));
    EXPECT_FALSE(edit.CanUndo());
    edit.Undo();
    EXPECT_EQ(edit.Text(), QStringLiteral("abcd"));
    edit.Redo();
    EXPECT_EQ(edit.Text(), QStringLiteral("bcd"));
}

TEST_F(UndoTest, ClearingTheHistoryAndReadOnly) {
    load("abc");
    type("x");
    ASSERT_TRUE(edit.CanUndo());
    edit.SetReadOnly(true);
    EXPECT_FALSE(edit.CanUndo());
    edit.SetReadOnly(false);
    edit.ClearUndo();
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_EQ(edit.UndoName(), TUndoName::unUnknown);
}

TEST_F(UndoTest, ModifiedBySetByContentFormattingAndUndo) {
    load("abc");
    int changes = 0;
    edit.OnChange = [&](TMyCustomRichEdit*) { ++changes; };
    EXPECT_FALSE(edit.Modified());
    select(0, 1);
    edit.SelAttributes().SetStyle(fsItalic);
    EXPECT_TRUE(edit.Modified());
    EXPECT_GT(changes, 0);
    edit.SetModified(false);
    edit.Undo(); // back to the loaded state still counts as a change
    EXPECT_TRUE(edit.Modified());
    edit.SetModified(false);
    edit.SetAutoURLDetect(true); // drawing only
    EXPECT_FALSE(edit.Modified());
}
