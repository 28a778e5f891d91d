// What a dialog or command holds of the notebook it was opened for: it lets
// go when that notebook closes or locks or its note goes, and only then.
#include "notebook_fixture.h"

#include <QSignalSpy>

#include <functional>

namespace vlr::test {
namespace {

// Two notebooks in one service, A with a note below a note, B with one note.
class NotebookBindingTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        a = service.Create(named(QStringLiteral("Книжка А")), path(QStringLiteral("a.vlr")));
        b = service.Create(named(QStringLiteral("Книжка Б")), path(QStringLiteral("b.vlr")));
        ASSERT_TRUE(service.Protect(*a, QStringLiteral("ключ")));
        top = add(*a, a->RootNode, QStringLiteral("верхняя"));
        inner = add(*a, top->TreeNode, QStringLiteral("внутренняя"));
        other = add(*a, a->RootNode, QStringLiteral("соседняя"));
        inB = add(*b, b->RootNode, QStringLiteral("в Б"));
    }
    static NewNotebookDefaults named(const QString& name) {
        NewNotebookDefaults d;
        d.name = name;
        return d;
    }
    TNodeData* add(TNodeRoot& nb, TTreeNode* under, const QString& name) {
        return service.AddNote(nb, under, under->Count(), name, NewNoteDefaults{}, false);
    }

public: // the cases' events reach them
    ScriptedMessages messages;
    TNotebookService service{defaultImages()};
    TNodeRoot* a = nullptr;
    TNodeRoot* b = nullptr;
    TNodeData* top = nullptr;
    TNodeData* inner = nullptr;
    TNodeData* other = nullptr;
    TNodeData* inB = nullptr;
};

TEST_F(NotebookBindingTest, LetsGoOnlyWhenItsOwnNotebookOrNoteGoes) {
    const QString noteInA = QStringLiteral("внутренняя");
    const struct {
        const char* name;
        bool toNote; // bound to the inner note, not to the notebook
        std::function<void(NotebookBindingTest&)> event;
        QString message; // empty: still held
    } cases[] = {
        {"B locked and closed",
         false,
         [](NotebookBindingTest& t) {
             t.service.Lock(*t.b);
             t.service.Close(t.b);
         },
         {}},
        {"A closed", false, [](NotebookBindingTest& t) { t.service.Close(t.a); },
         NotebookClosedMessage(QStringLiteral("Книжка А"))},
        {"A locked", false, [](NotebookBindingTest& t) { t.service.Lock(*t.a); },
         NotebookLockedMessage(QStringLiteral("Книжка А"))},
        {"A locked, note held", true, [](NotebookBindingTest& t) { t.service.Lock(*t.a); },
         NotebookLockedMessage(QStringLiteral("Книжка А"))},
        {"a note of A deleted", false, [](NotebookBindingTest& t) { t.service.DeleteNote(*t.top); }, {}},
        {"another note deleted", true, [](NotebookBindingTest& t) { t.service.DeleteNote(*t.other); }, {}},
        {"the note deleted", true, [](NotebookBindingTest& t) { t.service.DeleteNote(*t.inner); },
         NoteDeletedMessage(noteInA, QStringLiteral("Книжка А"))},
        {"its parent deleted", true, [](NotebookBindingTest& t) { t.service.DeleteNote(*t.top); },
         NoteDeletedMessage(noteInA, QStringLiteral("Книжка А"))},
        {"the note moved within A",
         true,
         [](NotebookBindingTest& t) { (void)t.service.MoveOrCopyNote(t.inner->TreeNode, t.a->RootNode, {}); },
         {}},
        {"another note moved into B",
         true,
         [](NotebookBindingTest& t) { (void)t.service.MoveOrCopyNote(t.other->TreeNode, t.b->RootNode, {}); },
         {}},
        {"its parent moved into B", true,
         [](NotebookBindingTest& t) { (void)t.service.MoveOrCopyNote(t.top->TreeNode, t.b->RootNode, {}); },
         NoteMovedMessage(noteInA, QStringLiteral("Книжка А"))},
        {"the note copied into B",
         true,
         [](NotebookBindingTest& t) {
             TNotebookService::MoveOrCopy how;
             how.copy = true;
             (void)t.service.MoveOrCopyNote(t.inner->TreeNode, t.b->RootNode, how);
         },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        service.CloseAll();
        SetUp();
        messages.clear();
        auto bound = c.toNote ? std::make_unique<TNotebookBinding>(service, inner->TreeNode)
                              : std::make_unique<TNotebookBinding>(service, *a);
        TNotebookBinding& held = *bound;
        QSignalSpy lost(&held, &TNotebookBinding::lost);
        TTreeNode* node = held.Node();
        EXPECT_EQ(node, c.toNote ? inner->TreeNode : a->RootNode);
        c.event(*this);
        EXPECT_EQ(held.IsLost(), !c.message.isEmpty());
        EXPECT_EQ(lost.count(), c.message.isEmpty() ? 0 : 1);
        EXPECT_EQ(held.LostMessage(), c.message);
        if (c.message.isEmpty()) {
            EXPECT_EQ(held.Notebook(), a);
            EXPECT_EQ(held.Node(), node);
            EXPECT_EQ(held.Note(), c.toNote ? inner : nullptr);
        } else {
            EXPECT_EQ(held.Notebook(), nullptr);
            EXPECT_EQ(held.Node(), nullptr);
            EXPECT_EQ(held.Note(), nullptr);
        }
        // Said once, however often asked.
        EXPECT_EQ(held.ReportIfLost(), !c.message.isEmpty());
        EXPECT_EQ(held.ReportIfLost(), !c.message.isEmpty());
        EXPECT_EQ(messages.texts(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages.shown().first().caption, QStringLiteral("Внимание!"));
        }
    }
}

TEST_F(NotebookBindingTest, ALaterEventDoesNotChangeWhyItWasLost) {
    TNotebookBinding held(service, inner->TreeNode);
    QSignalSpy lost(&held, &TNotebookBinding::lost);
    service.Lock(*a);
    service.Close(a);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(held.LostMessage(), NotebookLockedMessage(QStringLiteral("Книжка А")));
}

TEST_F(NotebookBindingTest, ANodeOfNoNotebookIsHeldByNothingAndSaysNothing) {
    TNotebookBinding held(service, static_cast<TTreeNode*>(nullptr));
    EXPECT_TRUE(held.IsLost());
    EXPECT_EQ(held.Notebook(), nullptr);
    EXPECT_TRUE(held.ReportIfLost());
    EXPECT_TRUE(messages.texts().isEmpty());
}

} // namespace
} // namespace vlr::test
