// The tree's questions and walks over the forest, the selection history and
// the counted wait cursor.
#include "tree/wait_cursor.h"
#include "tree_fixture.h"

#include <QGuiApplication>

using namespace vlr;
using namespace vlr::test;

class TreeOperationsTest : public TreeTest {
protected:
    void SetUp() override {
        TreeTest::SetUp();
        fileA = writeNotebook(QStringLiteral("A"), {{QStringLiteral("a1"), rtf("1")},
                                                    {QStringLiteral("a11"), rtf("11"), 2},
                                                    {QStringLiteral("a2"), rtf("2")}});
        fileB = writeNotebook(QStringLiteral("B"), {{QStringLiteral("b1"), rtf("3")}});
        makeTree();
        nbA = open(fileA);
        nbB = open(fileB);
        ASSERT_TRUE(nbA && nbB);
    }
    QString fileA, fileB;
    TNodeRoot* nbA = nullptr;
    TNodeRoot* nbB = nullptr;
};

TEST_F(TreeOperationsTest, IndexesOverTheForest) {
    const QStringList order = {QStringLiteral("A"),  QStringLiteral("a1"), QStringLiteral("a11"),
                               QStringLiteral("a2"), QStringLiteral("B"),  QStringLiteral("b1")};
    ASSERT_EQ(tree->NodeCount(), order.size());
    for (int i = 0; i < order.size(); ++i) {
        TTreeNode* n = tree->NodeAtAbsoluteIndex(i);
        ASSERT_TRUE(n);
        EXPECT_EQ(n->Text(), order[i]);
        EXPECT_EQ(tree->AbsoluteIndexOf(n), i);
        if (TNodeData* note = n->Note())
            EXPECT_EQ(TMyCustomTreeView::NoteIndexOf(n), TNotebookService::NotebookOf(n)->IndexOfNote(note));
        else
            EXPECT_EQ(TMyCustomTreeView::NoteIndexOf(n), -1);
    }
    EXPECT_EQ(tree->NodeAtAbsoluteIndex(order.size()), nullptr);
    EXPECT_EQ(tree->NodeAtAbsoluteIndex(-1), nullptr);
    EXPECT_EQ(TMyCustomTreeView::NotebookNodeOf(node(QStringLiteral("a11"))), nbA->RootNode);
    EXPECT_EQ(TMyCustomTreeView::NotebookNodeOf(nullptr), nullptr);
}

TEST_F(TreeOperationsTest, QuestionsAboutTheSelection) {
    EXPECT_TRUE(tree->IsNotebookSelected()) << "nothing selected";
    EXPECT_EQ(tree->CurrentNotebook(), nullptr);
    tree->SelectNode(node(QStringLiteral("a11")));
    EXPECT_EQ(tree->CurrentNotebookNode(), nbA->RootNode);
    EXPECT_EQ(tree->CurrentNotebook(), nbA);
    EXPECT_EQ(tree->SelectedNote(), node(QStringLiteral("a11"))->Note());
    EXPECT_FALSE(tree->IsNotebookSelected());
    tree->SelectNode(nbB->RootNode);
    EXPECT_EQ(tree->SelectedNote(), nullptr);
    EXPECT_TRUE(tree->IsNotebookSelected());
    EXPECT_TRUE(tree->IsNotebookOpen(fileA));
    EXPECT_FALSE(tree->IsNotebookOpen(fileA + QStringLiteral("x")));
}

TEST_F(TreeOperationsTest, SelectNotebookGoesToTheLastSelectedNoteOrTheRoot) {
    struct Case {
        const char* name;
        int selectedNote;
        const char* expected; // empty: the root
    } cases[] = {{"a stored note index", 2, "a2"}, {"-1 is the root", -1, ""}, {"past the list", 3, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree->SelectNode(nbB->RootNode);
        nbA->Header.setSelectedNote(c.selectedNote);
        EXPECT_TRUE(tree->SelectNotebook(fileA));
        EXPECT_EQ(tree->Selected(), *c.expected ? node(QString::fromLatin1(c.expected)) : nbA->RootNode);
    }
    EXPECT_FALSE(tree->SelectNotebook(QStringLiteral("/nowhere.vlr")));
}

TEST_F(TreeOperationsTest, WalksStopWhenAsked) {
    QStringList seen;
    EXPECT_FALSE(tree->ForEachNotebook([&](TNodeRoot* nb) {
        seen << nb->FileName;
        return false;
    }));
    EXPECT_EQ(seen, QStringList{fileA});
    seen.clear();
    EXPECT_TRUE(tree->ForEachNotebook([&](TNodeRoot* nb) {
        seen << nb->FileName;
        return true;
    }));
    EXPECT_EQ(seen, (QStringList{fileA, fileB}));

    seen.clear();
    EXPECT_FALSE(tree->ForEachDescendant(nbA->RootNode, [&](TTreeNode* n) {
        seen << n->Text();
        return n->Text() != QStringLiteral("a11");
    }));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("a1"), QStringLiteral("a11")}));
    seen.clear();
    tree->ForEachDescendant(node(QStringLiteral("a1")), [&](TTreeNode* n) {
        seen << n->Text();
        return true;
    });
    EXPECT_EQ(seen, QStringList{QStringLiteral("a11")}) << "only nodes deeper than the start";
}

TEST_F(TreeOperationsTest, RebuildNotesListFollowsTheTree) {
    nbA->Notes.swapItemsAt(0, 2);
    nbA->TreeDirty = false;
    tree->RebuildNotesList(nbA->RootNode);
    EXPECT_EQ(nbA->Notes[0], node(QStringLiteral("a1"))->Note());
    EXPECT_EQ(nbA->Notes[2], node(QStringLiteral("a2"))->Note());
    EXPECT_FALSE(nbA->TreeDirty) << "the same number of notes";
    EXPECT_EQ(node(QStringLiteral("a11"))->Note()->Record.Level(), 2);

    nbB->Notes.append(nbA->Notes[0]); // a stray entry
    nbB->TreeDirty = false;
    tree->RebuildNotesList();
    EXPECT_EQ(nbB->Notes.size(), 1);
    EXPECT_TRUE(nbB->TreeDirty);
}

TEST_F(TreeOperationsTest, UnloadCleanNotesKeepsDirtyAndShownBodies) {
    for (TNodeRoot* nb : {nbA, nbB})
        for (int i = 0; i < nb->Notes.size(); ++i)
            ASSERT_GE(nb->ReadNoteByIndex(i), 0);
    tree->SelectNode(node(QStringLiteral("a2")));
    TNodeData* dirty = node(QStringLiteral("a1"))->Note();
    dirty->Clean = false;
    tree->UnloadCleanNotes();
    EXPECT_TRUE(dirty->Loaded);
    EXPECT_TRUE(node(QStringLiteral("a2"))->Note()->Loaded) << "the selected note stays";
    EXPECT_FALSE(node(QStringLiteral("a11"))->Note()->Loaded);
    EXPECT_TRUE(node(QStringLiteral("a11"))->Note()->Body.isEmpty());
    EXPECT_FALSE(node(QStringLiteral("b1"))->Note()->Loaded);
}

TEST_F(TreeOperationsTest, CanModifyNotebookAsksOnlyForLockedNotebooksAndNotWhileBusy) {
    int asked = 0;
    tree->OnAskPassword = [&](TMyCustomTreeView*, TNodeRoot*, bool& res) {
        ++asked;
        res = true;
    };
    EXPECT_TRUE(tree->CanModifyNotebook(nbA->RootNode));
    ASSERT_TRUE(service.Protect(*nbA, QStringLiteral("pw")));
    nbA->LockNotebook();
    ASSERT_TRUE(TMyCustomTreeView::NeedsPassword(nbA));
    tree->SetBusy(true);
    EXPECT_FALSE(tree->CanModifyNotebook(nbA->RootNode));
    tree->SetBusy(false);
    EXPECT_TRUE(tree->CanModifyNotebook(nbA->RootNode));
    EXPECT_EQ(asked, 1);
}

TEST_F(TreeOperationsTest, HistoryRecordsSelectionsAndForgetsDeletedNodes) {
    tree->SelectNode(node(QStringLiteral("a1")));
    tree->SelectNode(node(QStringLiteral("a11")));
    tree->SelectNode(node(QStringLiteral("b1")));
    EXPECT_EQ(tree->History().Count(), 3);
    EXPECT_EQ(tree->History().Position(), 2);
    service.DeleteNote(*node(QStringLiteral("a1"))->Note());
    EXPECT_EQ(tree->History().At(0), nullptr);
    EXPECT_EQ(tree->History().At(1), nullptr) << "the subtree goes with it";
    EXPECT_NE(tree->History().At(2), nullptr);
}

TEST(SelectionHistory, KeepsThirtyNineEntriesAndResolvesGoneNodesToNone) {
    TNoteForest forest;
    TTreeNode* root = forest.AddRoot(QStringLiteral("r"));
    QList<TTreeNode*> nodes;
    for (int i = 0; i < 45; ++i)
        nodes << forest.AddChild(root, QString::number(i));
    TSelectionHistory h;
    for (TTreeNode* n : nodes)
        h.Record(n);
    EXPECT_EQ(h.Count(), TSelectionHistory::kMaxEntries);
    EXPECT_EQ(h.At(0), nodes[45 - 39]);
    EXPECT_EQ(h.Position(), 38);

    h.Forget(nodes[44]);
    EXPECT_EQ(h.At(38), nullptr);
    h.Keep({nodes[6]});
    EXPECT_EQ(h.Nodes(), QList<TTreeNode*>{nodes[6]}) << "entries not kept resolve to none";
    h.Clear();
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.Position(), -1);
}

TEST(WaitCursor, NestedRequestsRestoreOnlyAtTheOutermostRelease) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        TWaitCursor outer;
        {
            TWaitCursor inner;
            EXPECT_EQ(TWaitCursor::depth(), 2);
        }
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        outer.release();
        outer.release(); // once only
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(TWaitCursor::depth(), 0);
}
