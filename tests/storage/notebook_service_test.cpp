// The notebook service: what it announces when notebooks come and go, and
// that a notebook read from disk reaches observers in one piece.
#include "../tree/forest_shape.h"
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

// ---- Moving and copying notes

namespace {
// a(a1,a2),b(b1),c
TNodeRoot* standardBook(TNotebookService& service, const QString& file) {
    TNodeRoot* nb = service.Create(NewNotebookDefaults{}, file);
    auto add = [&](const QString& name, TTreeNode* parent) {
        return service.AddNote(*nb, parent, parent->Count(), name, NewNoteDefaults{}, false)->TreeNode;
    };
    TTreeNode* a = add(QStringLiteral("a"), nb->RootNode);
    add(QStringLiteral("a1"), a);
    add(QStringLiteral("a2"), a);
    add(QStringLiteral("b1"), add(QStringLiteral("b"), nb->RootNode));
    add(QStringLiteral("c"), nb->RootNode);
    nb->Modified = false;
    return nb;
}
} // namespace

TEST_F(StorageTest, MovesAndCopiesInsideOneNotebookKeepTreeAndListInStep) {
    struct Case {
        const char* what;
        const char* source;
        const char* target; // "" : the root
        bool copy, after, withChildren, onlyChecked;
        const char* shape; // expected; the same as before means nothing changed
        bool changed;
    };
    const Case cases[] = {
        {"move below a note", "c", "a", false, false, true, false, "a(a1,a2,c),b(b1)", true},
        {"move after a note", "a2", "b", false, true, true, false, "a(a1),b(b1),a2,c", true},
        {"move after the previous sibling swaps", "b", "a", false, true, true, false, "b(b1),a(a1,a2),c",
         true},
        {"move onto the root: last top note", "a", "", false, false, true, false, "b(b1),c,a(a1,a2)", true},
        {"move after the root does nothing", "a", "", false, true, true, false, "a(a1,a2),b(b1),c", false},
        {"move into its own subtree does nothing", "a", "a1", false, false, true, false, "a(a1,a2),b(b1),c",
         false},
        {"move onto itself does nothing", "a", "a", false, true, true, false, "a(a1,a2),b(b1),c", false},
        {"copy with children", "a", "c", true, false, true, false, "a(a1,a2),b(b1),c(a(a1,a2))", true},
        {"copy without children", "a", "c", true, false, false, false, "a(a1,a2),b(b1),c(a)", true},
        {"copy after a note", "b", "c", true, true, true, false, "a(a1,a2),b(b1),c,b(b1)", true},
        {"copy into its own subtree copies once", "a", "a1", true, false, true, false,
         "a(a1(a(a1,a2)),a2),b(b1),c", true},
        {"copy of checked children only", "a", "c", true, false, true, true, "a(a1,a2),b(b1),c(a(a2))", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TNotebookService service(defaultImages());
        TNodeRoot* nb = standardBook(service, path());
        service.Forest().SetStateIndex(findNode(nb->RootNode, QStringLiteral("a2")), 1);
        TTreeNode* source = findNode(nb->RootNode, QString::fromUtf8(c.source));
        TTreeNode* target = *c.target ? findNode(nb->RootNode, QString::fromUtf8(c.target)) : nb->RootNode;
        TNotebookService::MoveOrCopy how;
        how.copy = c.copy;
        how.after = c.after;
        how.withChildren = c.withChildren;
        how.onlyChecked = c.onlyChecked;
        TTreeNode* result = service.MoveOrCopyNote(source, target, how);
        EXPECT_EQ(shapeOf(nb->RootNode), QString::fromUtf8(c.shape));
        EXPECT_EQ(listOf(*nb), preorderOf(nb->RootNode));
        EXPECT_EQ(result != nullptr, c.changed);
        EXPECT_EQ(nb->Modified, c.changed);
        for (const TNodeData* n : nb->Notes) {
            EXPECT_EQ(n->TreeNode->Note(), n);
            EXPECT_EQ(n->Record.Level(), n->TreeNode->Level());
        }
    }
}

TEST_F(StorageTest, CopiesGetTheirOwnIdentityAndCreationTimesApart) {
    TNotebookService service(defaultImages());
    TNodeRoot* nb = standardBook(service, path());
    TNotebookService::MoveOrCopy how;
    how.copy = true;
    TTreeNode* copy = service.MoveOrCopyNote(findNode(nb->RootNode, QStringLiteral("a")), nb->RootNode, how);
    ASSERT_TRUE(copy);
    TNodeData* a = findNode(nb->RootNode, QStringLiteral("a"))->Note();
    TNodeData* copied = copy->Note();
    TNodeData* copiedChild = copy->Child(0)->Note();
    EXPECT_NE(QByteArray(reinterpret_cast<const char*>(a->Record.ID()), 16),
              QByteArray(reinterpret_cast<const char*>(copied->Record.ID()), 16));
    EXPECT_GE((copiedChild->Record.Created() - copied->Record.Created()) * 86400000.0, 4.999);
    EXPECT_EQ(copied->Body, a->Body);
    EXPECT_FALSE(copied->Clean);
    EXPECT_EQ(copied->Record.Offset(), 0);
}

TEST_F(StorageTest, ANoteMovedIntoAnotherNotebookTravelsWithItsBodiesAndPicture) {
    // From an encrypted notebook on disk (bodies not yet read) into a compressed one.
    {
        auto b = Book::create(path(QStringLiteral("from.vlr")), bfEncrypted, QStringLiteral("pw"));
        TNodeData* a = b->add(QStringLiteral("a"), QByteArray("{\\rtf1 alpha}"));
        b->add(QStringLiteral("a1"), QByteArray("{\\rtf1 beta}"), a->TreeNode);
        b->add(QStringLiteral("b"), QByteArray("{\\rtf1 gamma}"));
        ASSERT_EQ(b->service.Save(*b->nb), srOk);
    }
    TNotebookService service(defaultImages());
    OpenOptions options;
    options.askPassword = [](TNodeRoot*, TNodeRoot* notebook, bool& res) {
        res = Unlock(*notebook, QStringLiteral("pw"));
    };
    TNodeRoot* from = service.Open(path(QStringLiteral("from.vlr")), options).notebook;
    ASSERT_TRUE(from);
    NewNotebookDefaults packed;
    packed.compress = true;
    TNodeRoot* to = service.Create(packed, path(QStringLiteral("to.vlr")));
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const int redIndex = from->Images.Add(red);
    TTreeNode* a = findNode(from->RootNode, QStringLiteral("a"));
    a->Note()->Record.setImageIndex(int16_t(redIndex));
    a->Note()->SetNoteFlag(nfReadOnly, true);
    TNotebookService::MoveOrCopy copyHow;
    copyHow.copy = true;
    TTreeNode* copy =
        service.MoveOrCopyNote(findNode(from->RootNode, QStringLiteral("b")), to->RootNode, copyHow);
    ASSERT_TRUE(copy);
    ASSERT_TRUE(service.MoveOrCopyNote(a, to->RootNode, {}));

    EXPECT_EQ(shapeOf(from->RootNode), QStringLiteral("b"));
    EXPECT_EQ(shapeOf(to->RootNode), QStringLiteral("b,a(a1)"));
    EXPECT_EQ(listOf(*from), QStringLiteral("b"));
    EXPECT_EQ(listOf(*to), QStringLiteral("b,a,a1"));
    EXPECT_EQ(a->Note()->Record.NoteFlags(), 0u);
    EXPECT_EQ(a->Note()->RootNode, to->RootNode);
    EXPECT_EQ(to->Images.imageOnKey(a->Note()->Record.ImageIndex()), from->Images.imageOnKey(redIndex));
    EXPECT_TRUE(from->Modified && to->Modified);
    // A second move of the same picture reuses it.
    const int images = to->Images.Count();
    TTreeNode* back = service.MoveOrCopyNote(a, from->RootNode, {});
    ASSERT_TRUE(back);
    a->Note()->Record.setImageIndex(int16_t(redIndex));
    service.MoveOrCopyNote(a, to->RootNode, {});
    EXPECT_EQ(to->Images.Count(), images);

    ASSERT_EQ(service.Save(*to), srOk);
    ASSERT_EQ(service.Save(*from), srOk);
    service.CloseAll();
    int result = -1;
    auto reread = Book::open(path(QStringLiteral("to.vlr")), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(listOf(*reread->nb), QStringLiteral("b,a,a1"));
    EXPECT_TRUE(reread->body(0).startsWith("{\\rtf1 gamma}"));
    EXPECT_TRUE(reread->body(1).startsWith("{\\rtf1 alpha}"));
    EXPECT_TRUE(reread->body(2).startsWith("{\\rtf1 beta}"));
    auto source = Book::open(path(QStringLiteral("from.vlr")), &result, QStringLiteral("pw"));
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(listOf(*source->nb), QStringLiteral("b"));
    EXPECT_TRUE(source->body(0).startsWith("{\\rtf1 gamma}"));
}

TEST_F(StorageTest, AddingNearANoteFollowsPositionAndInheritRules) {
    TNotebookService service(defaultImages());
    TNodeRoot* nb = standardBook(service, path());
    NewNoteDefaults d;
    TTreeNode* a = findNode(nb->RootNode, QStringLiteral("a"));
    a->Note()->Record.setFontColor(0x123456);
    a->Note()->Record.setMarginTop(777);
    service.Forest().SetImages(a, 3, 3);
    // After a root: the root's last child.
    TNodeData* n1 = service.AddNoteNear(*nb, nb->RootNode, true, {}, d);
    EXPECT_EQ(n1->TreeNode->Parent(), nb->RootNode);
    EXPECT_EQ(n1->TreeNode->Index(), 3);
    EXPECT_EQ(n1->Record.NoteName(), QStringLiteral("Новая запись"));
    EXPECT_EQ(n1->Body, QByteArray("{\\rtf1\\ansi\\deff0}\0", 19));
    TNodeData* n2 = service.AddNoteNear(*nb, a, true, QString(150, QChar(u'x')), d, a->Note());
    EXPECT_EQ(n2->TreeNode->Index(), 1);
    EXPECT_EQ(n2->Record.NoteName().size(), 100);
    EXPECT_EQ(n2->Record.FontColor(), 0x123456);
    EXPECT_EQ(n2->Record.MarginTop(), 777);
    EXPECT_EQ(n2->TreeNode->ImageIndex(), 3);
    TNodeData* n3 = service.AddNoteNear(*nb, a, false, {}, d);
    EXPECT_EQ(n3->TreeNode->Parent(), a);
    EXPECT_EQ(n3->Record.FontColor(), d.fontColor);
    EXPECT_EQ(listOf(*nb), preorderOf(nb->RootNode));
    EXPECT_TRUE(nb->Modified);
}
