// The notebook service: what it announces when notebooks come and go, and
// that a notebook read from disk reaches observers in one piece.
#include "notebook_fixture.h"

#include <QSignalSpy>

using namespace vlr;
using namespace vlr::test;

namespace {
struct Insertions : ForestObserver {
    QStringList events;
    void nodesInserted(TTreeNode* parent, int first, int last) override {
        events << QStringLiteral("%1:%2..%3")
                      .arg(parent ? parent->Text() : QStringLiteral("-"))
                      .arg(first)
                      .arg(last);
    }
    void nodeRemoved(TTreeNode*, int row) override { events << QStringLiteral("removed %1").arg(row); }
};

QString makeBook(const QString& file, const QString& password = {}) {
    auto b = Book::create(file, password.isEmpty() ? 0u : uint32_t(bfEncrypted), password);
    b->nb->Header.setBookName(QStringLiteral("nb"));
    TNodeData* a = b->add(QStringLiteral("a"), QByteArray("1"));
    b->add(QStringLiteral("a1"), QByteArray("2"), a->TreeNode);
    b->add(QStringLiteral("b"), QByteArray("3"));
    EXPECT_EQ(b->service.Save(*b->nb), srOk);
    return file;
}
} // namespace

TEST_F(StorageTest, ANotebookReadFromDiskIsAnnouncedOnce) {
    makeBook(path());
    TNotebookService service(defaultImages());
    Insertions seen;
    service.Forest().addObserver(&seen);
    QSignalSpy opened(&service, &TNotebookService::notebookOpened);
    const OpenOutcome outcome = service.Open(path());
    ASSERT_EQ(outcome.result, lrOk);
    EXPECT_EQ(opened.count(), 1);
    // The root arrives, then its two top notes (with a1 inside) in one insertion.
    EXPECT_EQ(seen.events, (QStringList{QStringLiteral("-:0..0"), QStringLiteral("nb:0..1")}));
    EXPECT_EQ(outcome.notebook->Notes.size(), 3);
    EXPECT_EQ(TNotebookService::NotebookOf(outcome.notebook->Notes[1]->TreeNode), outcome.notebook);

    QSignalSpy closed(&service, &TNotebookService::notebookClosed);
    service.Close(outcome.notebook);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(service.Count(), 0);
    EXPECT_EQ(seen.events.last(), QStringLiteral("removed 0"));
    service.Forest().removeObserver(&seen);
}

TEST_F(StorageTest, ALockedNotebookStaysShutAndARefusedOneLeavesNothingBehind) {
    makeBook(path(), QStringLiteral("pw"));
    TNotebookService service(defaultImages());
    OpenOptions options;
    options.askPassword = [](TNodeRoot*, TNodeRoot*, bool& res) { res = false; };
    QSignalSpy opened(&service, &TNotebookService::notebookOpened);
    EXPECT_EQ(service.Open(path(), options).result, lrPasswordRefused);
    EXPECT_EQ(service.Count(), 0);
    EXPECT_EQ(opened.count(), 0);

    // Opened without the key (the program's start-up): names only, root collapsed.
    options.askPassword = [](TNodeRoot*, TNodeRoot*, bool& res) { res = true; };
    const OpenOutcome locked = service.Open(path(), options);
    ASSERT_EQ(locked.result, lrOk);
    EXPECT_TRUE(locked.notebook->IsLocked());
    EXPECT_FALSE(locked.notebook->RootNode->Expanded());
    EXPECT_FALSE(service.Unlock(*locked.notebook, QStringLiteral("wrong")));
    EXPECT_TRUE(service.Unlock(*locked.notebook, QStringLiteral("pw")));
    QByteArray body;
    EXPECT_GE(locked.notebook->ReadNote(0, body), 1);
    EXPECT_EQ(body.left(1), QByteArray("1"));
}

TEST_F(StorageTest, NoteOperationsKeepTreeListAndFlagsInStep) {
    makeBook(path());
    TNotebookService service(defaultImages());
    TNodeRoot* nb = service.Open(path()).notebook;
    ASSERT_NE(nb, nullptr);
    TNodeData* a = nb->Notes[0];
    TNodeData* b = nb->Notes[2];
    service.MoveNote(*b, a->TreeNode, 0);
    EXPECT_EQ(nb->Notes[1], b) << "the note list follows the tree's pre-order";
    EXPECT_EQ(b->Record.Level(), 2);
    service.RenameNote(*b, QString(120, QLatin1Char('x')));
    EXPECT_EQ(b->TreeNode->Text().size(), 100);
    QSignalSpy deleting(&service, &TNotebookService::noteAboutToBeDeleted);
    service.DeleteNote(*a); // with its two children
    EXPECT_EQ(deleting.count(), 1);
    EXPECT_TRUE(nb->Notes.isEmpty());
    EXPECT_EQ(nb->DeletedNotes.size(), 3);
    EXPECT_TRUE(nb->TreeDirty);
    service.SetExpanded(nb->RootNode, false);
    EXPECT_EQ(nb->Header.RootExpanded(), 0);
    EXPECT_EQ(service.Save(*nb), srOk);
}
