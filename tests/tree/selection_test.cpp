// The selection change: the previous note taken back from the editor, access
// to locked notebooks, the new note put into the editor.
#include "tree_fixture.h"

#include <QSignalSpy>

using namespace vlr;
using namespace vlr::test;

namespace {
const QString kPassword = QStringLiteral("secret");
}

class SelectionTest : public TreeTest {
protected:
    void openTwoNotes(const QString& name = QStringLiteral("A")) {
        const QString file = writeNotebook(name, {{QStringLiteral("first"), rtf("first text")},
                                                  {QStringLiteral("second"), rtf("second text")}});
        makeTree();
        nb = open(file);
        ASSERT_TRUE(nb);
        first = node(QStringLiteral("first"));
        second = node(QStringLiteral("second"));
    }
    void type(const QString& text) {
        editor->setFocus();
        QTest::keyClicks(editor, text);
    }
    TNodeRoot* nb = nullptr;
    TTreeNode* first = nullptr;
    TTreeNode* second = nullptr;
};

TEST_F(SelectionTest, SelectingReadsTheBodyOnceAndBindsTheNote) {
    openTwoNotes();
    EXPECT_FALSE(first->Note()->Loaded) << "opening reads no body";
    QSignalSpy changed(tree, &TMyCustomTreeView::changed);
    tree->SelectNodeDelayed(first);
    EXPECT_EQ(tree->CurrentNote(), nullptr) << "the change waits for the selection to settle";
    QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
    EXPECT_EQ(tree->CurrentNote(), first->Note());
    EXPECT_TRUE(first->Note()->Loaded);
    EXPECT_EQ(editorText(editor), QStringLiteral("first text"));
    EXPECT_FALSE(editor->Modified());
    EXPECT_FALSE(tree->Busy());
    EXPECT_EQ(nb->Header.SelectedNote(), 0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<TTreeNode*>(), first);

    // A burst of selections is processed once, for the last node.
    changed.clear();
    tree->SelectNodeDelayed(second);
    tree->SelectNodeDelayed(first);
    tree->SelectNodeDelayed(second);
    QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(tree->CurrentNote(), second->Note());
    EXPECT_EQ(nb->Header.SelectedNote(), 1);
}

TEST_F(SelectionTest, TypedTextIsStoredAndOnlyThenTheNoteIsDirty) {
    openTwoNotes();
    tree->SelectNode(first);
    ASSERT_TRUE(first->Note()->Clean);
    type(QStringLiteral("typed "));
    ASSERT_TRUE(editor->Modified());
    tree->SelectNode(second);
    EXPECT_FALSE(first->Note()->Clean) << "the edited note must be written";
    EXPECT_TRUE(nb->Modified);
    EXPECT_TRUE(first->Note()->Body.contains("typed")) << first->Note()->Body.toStdString();

    // Without typing only the caret and scroll position go back.
    nb->Modified = false;
    const QByteArray body = second->Note()->Body;
    editor->SetSelection(3, 5, false);
    tree->SelectNode(first);
    EXPECT_TRUE(second->Note()->Clean);
    EXPECT_EQ(second->Note()->Body, body);
    EXPECT_FALSE(nb->Modified);
    EXPECT_EQ(second->Note()->Record.SelStart(), 3);
    EXPECT_EQ(second->Note()->Record.SelLength(), 2);

    // The edited text survives a save and a reopening.
    ASSERT_EQ(service.Save(*nb), srOk);
    const QString file = nb->FileName;
    service.Close(nb);
    ASSERT_TRUE(open(file));
    tree->SelectNode(node(QStringLiteral("first")));
    EXPECT_TRUE(editorText(editor).startsWith(QStringLiteral("typed first text")))
        << editorText(editor).toStdString();
}

TEST_F(SelectionTest, SaveCursorDecidesWhereAReselectedNoteOpens) {
    QByteArray lines;
    for (int i = 0; i < 200; ++i)
        lines += "line " + QByteArray::number(i) + "\\par ";
    for (const bool saveCursor : {true, false}) {
        SCOPED_TRACE(saveCursor ? "SaveCursor on" : "SaveCursor off");
        window.reset();
        for (TNodeRoot* open : service.Notebooks())
            service.Close(open);
        options.SaveCursor = saveCursor;
        const QString name = saveCursor ? QStringLiteral("on") : QStringLiteral("off");
        const QString file = writeNotebook(
            name, {{QStringLiteral("long"), rtf(lines)}, {QStringLiteral("other"), rtf("other")}});
        makeTree();
        ASSERT_TRUE(open(file));
        TTreeNode* longNote = node(QStringLiteral("long"));
        tree->SelectNode(longNote);
        editor->SetSelection(20, 26, false);
        editor->SetScrollPos(QPoint(0, 300));
        const QPoint scrolled = editor->ScrollPos();
        ASSERT_GT(scrolled.y(), 0);
        tree->SelectNode(node(QStringLiteral("other")));
        tree->SelectNode(longNote);
        int start = 0, end = 0;
        editor->GetSelection(start, end);
        EXPECT_EQ(start, saveCursor ? 20 : 0);
        EXPECT_EQ(end, saveCursor ? 26 : 0);
        EXPECT_EQ(editor->ScrollPos(), saveCursor ? scrolled : QPoint(0, 0));
    }
}

TEST_F(SelectionTest, ZoomAboveZeroIsAppliedAndZeroLeavesTheEditorsZoom) {
    openTwoNotes();
    first->Note()->Record.setZoom(150);
    second->Note()->Record.setZoom(0);
    tree->SelectNode(first);
    EXPECT_EQ(editor->ZoomPercent(), 150);
    tree->SelectNode(second);
    EXPECT_EQ(editor->ZoomPercent(), 150) << "a zoom of 0 leaves the editor as it was";
}

TEST_F(SelectionTest, ReadOnlyRulesAndThePlainTextMode) {
    const QString file =
        writeNotebook(QStringLiteral("A"), {{QStringLiteral("rich"), rtf("r")},
                                            {QStringLiteral("plain"), "plain words", 1, true},
                                            {QStringLiteral("locked"), rtf("l")}});
    makeTree();
    nb = open(file);
    ASSERT_TRUE(nb);
    node(QStringLiteral("locked"))->Note()->SetNoteFlag(nfReadOnly, true);

    tree->SelectNode(node(QStringLiteral("plain")));
    EXPECT_TRUE(editor->PlainText());
    EXPECT_EQ(editorText(editor), QStringLiteral("plain words"));
    EXPECT_FALSE(editor->ReadOnly());
    tree->SelectNode(node(QStringLiteral("locked")));
    EXPECT_FALSE(editor->PlainText());
    EXPECT_TRUE(editor->ReadOnly()) << "the note's read-only flag";
    tree->SelectNode(node(QStringLiteral("rich")));
    EXPECT_FALSE(editor->ReadOnly());
    nb->SetBookFlag(bfReadOnly, true);
    tree->SelectNode(node(QStringLiteral("plain")));
    EXPECT_TRUE(editor->ReadOnly()) << "the notebook's read-only flag";

    // A root empties the editor and leaves it writable and unbound.
    tree->SelectNode(nb->RootNode);
    EXPECT_EQ(tree->CurrentNote(), nullptr);
    EXPECT_TRUE(editorText(editor).isEmpty());
    EXPECT_FALSE(editor->ReadOnly());
    EXPECT_EQ(nb->Header.SelectedNote(), -1);
}

TEST_F(SelectionTest, TheEditorsFontsComeFromTheOptions) {
    options.DefFontName = QStringLiteral("DejaVu Serif");
    options.DefFontSize = 14;
    options.PlainFontName = QStringLiteral("DejaVu Sans Mono");
    options.PlainFontSize = 11;
    options.PlainFontStyle = 1;
    const QString file =
        writeNotebook(QStringLiteral("A"), {{QStringLiteral("rich"), QByteArray("{\\rtf1 x}")},
                                            {QStringLiteral("plain"), "p", 1, true}});
    makeTree();
    ASSERT_TRUE(open(file));
    tree->SelectNode(node(QStringLiteral("rich")));
    EXPECT_EQ(editor->DefAttributes().Size(), 14);
    EXPECT_EQ(editor->DefAttributes().Name(), QStringLiteral("DejaVu Serif"));
    tree->SelectNode(node(QStringLiteral("plain")));
    EXPECT_EQ(editor->DefAttributes().Size(), 11);
    EXPECT_EQ(editor->DefAttributes().Name(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(editor->DefAttributes().Style() & fsBold, fsBold);
}

class LockedNotebookTest : public SelectionTest {
protected:
    void openLocked() {
        const QString file = writeNotebook(
            QStringLiteral("Safe"), {{QStringLiteral("hidden"), rtf("classified")}}, bfEncrypted, kPassword);
        const QString other =
            writeNotebook(QStringLiteral("Open"), {{QStringLiteral("plain"), rtf("visible")}});
        makeTree();
        safe = open(file, kPassword);
        ASSERT_TRUE(safe);
        ASSERT_TRUE(open(other));
        service.SetExpanded(safe->RootNode, true);
        service.Lock(*safe);
        service.SetExpanded(safe->RootNode, true);
        tree->OnAskPassword = [this](TMyCustomTreeView*, TNodeRoot* notebook, bool& res) {
            ++asked;
            res = answer && service.Unlock(*notebook, kPassword);
        };
    }
    TNodeRoot* safe = nullptr;
    int asked = 0;
    bool answer = false;
};

TEST_F(LockedNotebookTest, TheRootOfALockedNotebookCollapsesWithoutAsking) {
    openLocked();
    ASSERT_TRUE(tree->NeedsPassword(safe));
    tree->SelectNode(safe->RootNode);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(safe->RootNode->Expanded());
    EXPECT_FALSE(tree->isExpanded(tree->IndexOf(safe->RootNode)));
    EXPECT_EQ(safe->Header.RootExpanded(), 0);
    EXPECT_TRUE(editorText(editor).isEmpty());
    EXPECT_EQ(tree->Selected(), safe->RootNode);
}

TEST_F(LockedNotebookTest, ARefusedNoteLeavesTheRootSelectedAndCollapsed) {
    openLocked();
    tree->SelectNode(node(QStringLiteral("plain")));
    QSignalSpy changed(tree, &TMyCustomTreeView::changed);
    tree->SelectNode(node(QStringLiteral("hidden")));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(tree->Selected(), safe->RootNode);
    EXPECT_FALSE(tree->isExpanded(tree->IndexOf(safe->RootNode)));
    EXPECT_FALSE(safe->RootNode->Expanded());
    EXPECT_FALSE(editorText(editor).contains(QStringLiteral("classified")));
    EXPECT_FALSE(tree->Busy());
    ASSERT_GE(changed.count(), 1);
    EXPECT_EQ(changed.last()[0].value<TTreeNode*>(), safe->RootNode);
}

TEST_F(LockedNotebookTest, AGrantedNoteIsReadAndANoteBoundBeforeALockAsksAgain) {
    openLocked();
    answer = true;
    tree->SelectNode(node(QStringLiteral("hidden")));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(editorText(editor), QStringLiteral("classified"));

    // Locked again while the note is still bound: selecting it once more is
    // not a reselection of the bound note but a question.
    service.Lock(*safe);
    answer = false;
    service.SetExpanded(safe->RootNode, true);
    tree->SelectNode(node(QStringLiteral("hidden")));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(tree->Selected(), safe->RootNode);
    EXPECT_FALSE(editorText(editor).contains(QStringLiteral("classified")));
}

TEST_F(LockedNotebookTest, LockingWhileANoteIsShownTakesItsTextOutOfTheEditor) {
    openLocked();
    answer = true;
    tree->SelectNode(node(QStringLiteral("hidden")));
    ASSERT_EQ(editorText(editor), QStringLiteral("classified"));
    service.Lock(*safe); // the away lock: the root folds, the selection moves to it
    EXPECT_EQ(tree->Selected(), safe->RootNode);
    QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
    EXPECT_EQ(tree->CurrentNote(), nullptr);
    EXPECT_TRUE(editorText(editor).isEmpty());
}

TEST_F(SelectionTest, BulkChangesHoldTheSelectionChangeUntilTheyEnd) {
    openTwoNotes();
    tree->BeginBulkChange();
    tree->BeginBulkChange();
    tree->SelectNode(first);
    tree->SelectNode(second);
    EXPECT_EQ(tree->CurrentNote(), nullptr);
    tree->EndBulkChange();
    EXPECT_EQ(tree->CurrentNote(), nullptr) << "only the outermost end releases it";
    tree->EndBulkChange();
    EXPECT_EQ(tree->CurrentNote(), second->Note());
    EXPECT_TRUE(tree->History().Count() == 1) << "one change for the whole bulk";
}

TEST_F(SelectionTest, ClosingTheNotebookOfTheShownNoteUnbindsIt) {
    openTwoNotes();
    tree->SelectNode(first);
    ASSERT_EQ(tree->CurrentNote(), first->Note());
    service.Close(nb);
    EXPECT_EQ(tree->CurrentNote(), nullptr);
    EXPECT_TRUE(editorText(editor).isEmpty());
    EXPECT_EQ(tree->History().Count(), 0);
    QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
    EXPECT_EQ(tree->Selected(), nullptr);
}

TEST_F(SelectionTest, AnUnreadableBodyIsNotOfferedForEditing) {
    openTwoNotes();
    ScriptedMessages messages;
    first->Note()->Record.setSize(0); // the body's place in the file is lost
    tree->SelectNode(first);
    EXPECT_EQ(messages.shown().size(), 1) << "reading the note reports the damage";
    EXPECT_TRUE(editor->ReadOnly());
    type(QStringLiteral("lost?"));
    tree->SelectNode(second);
    EXPECT_TRUE(first->Note()->Clean) << "nothing replaces the unread body";
}

TEST_F(SelectionTest, SaveNodeRTFTouchesOnlyTheNoteTheEditorShows) {
    openTwoNotes();
    tree->SelectNode(first);
    tree->SelectNode(second);
    editor->SetSelection(4, 4, false);
    first->Note()->Record.setSelStart(1);
    tree->SaveNodeRTF(first, true);
    EXPECT_EQ(first->Note()->Record.SelStart(), 1) << "another note's caret is not this note's";
    EXPECT_TRUE(first->Note()->Clean);
    nb->Modified = false;
    tree->SaveNodeRTF(second, true); // as export does: the text is wanted as edited
    EXPECT_EQ(second->Note()->Record.SelStart(), 4);
    EXPECT_TRUE(second->Note()->Clean) << "unedited text still equals the stored body";
    EXPECT_FALSE(nb->Modified);
    type(QStringLiteral("x"));
    tree->SaveNodeRTF(second, true);
    EXPECT_FALSE(second->Note()->Clean);
    EXPECT_TRUE(nb->Modified);
}

TEST_F(LockedNotebookTest, SelectingANoteUnderAFoldedLockedRootAsksOnce) {
    openLocked();
    // The window's expansion check asks for the password too.
    tree->OnExpanding = [](TMyCustomTreeView* sender, TTreeNode* node, bool& allow) {
        allow = sender->CanModifyNotebook(node);
    };
    service.SetExpanded(safe->RootNode, false);
    tree->SelectNode(node(QStringLiteral("hidden")));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(tree->Selected(), safe->RootNode);
    EXPECT_FALSE(safe->RootNode->Expanded());
}

TEST_F(SelectionTest, LookingAtNotesChangesOnlyTheViewStateWhichASaveKeeps) {
    openTwoNotes();
    struct Step {
        const char* name;
        std::function<void()> act;
        bool view; // the view state is to be written
    };
    const Step steps[] = {
        {"selecting a note", [&] { tree->SelectNode(first); }, true},
        {"selecting it again", [&] { tree->SelectNode(first); }, false},
        {"moving the caret and leaving the note",
         [&] {
             editor->SetSelection(3, 5, false);
             tree->SelectNode(second);
         },
         true},
        {"the unedited text taken back, as closing does", [&] { tree->SaveNodeRTF(second, true); }, false},
        {"the notebook's root", [&] { tree->SelectNode(nb->RootNode); }, true},
        {"folding and unfolding the notebook",
         [&] {
             tree->SetNodeExpanded(nb->RootNode, false);
             tree->SetNodeExpanded(nb->RootNode, true);
         },
         true},
        {"a note again", [&] { tree->SelectNode(second); }, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        nb->ViewDirty = false;
        step.act();
        EXPECT_EQ(nb->ViewDirty, step.view);
        EXPECT_FALSE(nb->TreeDirty) << "looking is no change of the notebook";
        EXPECT_FALSE(nb->Modified);
    }
    EXPECT_TRUE(first->Note()->Clean);

    ASSERT_EQ(service.Save(*nb), srOk);
    EXPECT_FALSE(nb->ViewDirty);
    const QString file = nb->FileName;
    service.Close(nb);
    nb = open(file);
    ASSERT_TRUE(nb);
    EXPECT_EQ(nb->Header.SelectedNote(), 1);
    EXPECT_EQ(nb->Notes[0]->Record.SelStart(), 3);
    EXPECT_EQ(nb->Notes[0]->Record.SelLength(), 2);
}

TEST_F(SelectionTest, ANotebookTheSelectionFallsOntoWhenAnotherClosesKeepsItsRememberedNote) {
    openTwoNotes();
    TNodeRoot* other = open(writeNotebook(
        QStringLiteral("B"), {{QStringLiteral("b1"), rtf("b one")}, {QStringLiteral("b2"), rtf("b two")}}));
    ASSERT_TRUE(other);
    tree->SelectNode(node(QStringLiteral("b2")));
    tree->SelectNode(first);
    ASSERT_EQ(other->Header.SelectedNote(), 1);
    other->ViewDirty = false;
    // The node is looked up each time: the notebook is opened anew in between.
    for (const bool rootSelected : {false, true}) {
        SCOPED_TRACE(rootSelected ? "its root selected" : "its note selected");
        tree->SelectNode(rootSelected ? nb->RootNode : first);
        const QString file = nb->FileName;
        service.Close(nb);
        QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
        EXPECT_EQ(other->Header.SelectedNote(), 1);
        EXPECT_FALSE(other->ViewDirty);
        nb = open(file);
        ASSERT_TRUE(nb);
        first = node(QStringLiteral("first"));
    }
    // Where the user goes is remembered as always.
    tree->SelectNode(node(QStringLiteral("b1")));
    EXPECT_EQ(other->Header.SelectedNote(), 0);
    tree->SelectNode(other->RootNode);
    EXPECT_EQ(other->Header.SelectedNote(), -1);
}

TEST_F(SelectionTest, StoringTheEditorFirstCompletesAWaitingSelection) {
    openTwoNotes();
    for (const bool bulk : {false, true}) {
        SCOPED_TRACE(bulk ? "inside a bulk change" : "at rest");
        const QByteArray typed = bulk ? "bulk " : "rest ";
        tree->SelectNode(first);
        type(QString::fromLatin1(typed));
        tree->SelectNodeDelayed(second);
        ASSERT_EQ(tree->CurrentNote(), first->Note()) << "the change still waits";
        if (bulk)
            tree->BeginBulkChange();
        tree->SaveNodeRTF(tree->Selected(), true); // what a command does before it runs
        EXPECT_TRUE(first->Note()->Body.contains(typed)) << first->Note()->Body.toStdString();
        EXPECT_FALSE(second->Note()->Body.contains(typed)) << "the text stays with its own note";
        if (bulk) {
            EXPECT_EQ(tree->CurrentNote(), first->Note()) << "a bulk change holds the selection change";
            tree->EndBulkChange();
            QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
        }
        EXPECT_EQ(tree->CurrentNote(), second->Note());
        EXPECT_FALSE(tree->ChangePending());
        EXPECT_EQ(editorText(editor), QStringLiteral("second text"));
    }
}
