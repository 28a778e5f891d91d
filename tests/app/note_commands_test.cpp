// Note commands over a host that only records: adding with the inherit
// rules, deleting with its question, the moves and the note buffer.
#include "../tree/forest_shape.h"
#include "app/note_commands.h"
#include "notebook_fixture.h"
#include "support/scripted_messages.h"

using namespace vlr;
using namespace vlr::test;

namespace {

struct NoteHost : NoteCommandsHost {
    TTreeNode* selected = nullptr;
    bool shift = false;
    bool editing = false;
    bool allowLocked = true;
    QList<int> keysToEditor;
    TTreeNode* editedLabel = nullptr;
    QString editedText;
    int resets = 0;
    int stores = 0;
    QList<TNodeRoot*> asked;

    TTreeNode* SelectedNode() const override { return selected; }
    void SelectNode(TTreeNode* node) override { selected = node; }
    void StoreEditor(bool) override { ++stores; }
    bool CanModifyNotebook(TTreeNode* node) override {
        TNodeRoot* nb = TNotebookService::NotebookOf(node);
        if (!nb || !nb->IsLocked())
            return true;
        asked << nb;
        return allowLocked;
    }
    bool ShiftHeld() const override { return shift; }
    bool EditingLabel() const override { return editing; }
    void SendKeyToLabelEditor(int key) override { keysToEditor << key; }
    void EditLabel(TTreeNode* node, const QString& text) override {
        editedLabel = node;
        editedText = text;
    }
    void ResetEditor() override { ++resets; }
    void RefreshEditor() override {}
    void CommandStatesChanged() override {}
    void ShowStoredExpansion(TTreeNode*) override {}
    void FavoritesChanged() override {}
};

class NoteCommandsTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        nb = service.Create(NewNotebookDefaults{}, path());
        TTreeNode* a = add(QStringLiteral("a"), nb->RootNode);
        add(QStringLiteral("a1"), a);
        add(QStringLiteral("a2"), a);
        add(QStringLiteral("b"), nb->RootNode);
        add(QStringLiteral("c"), nb->RootNode);
        nb->Modified = false;
    }
    TTreeNode* add(const QString& name, TTreeNode* parent) {
        return service.AddNote(*nb, parent, parent->Count(), name, NewNoteDefaults{}, false)->TreeNode;
    }
    TTreeNode* node(const char* name) { return findNode(nb->RootNode, QString::fromUtf8(name)); }

    TVLROptions options;
    TNotebookService service{defaultImages()};
    NoteHost host;
    TNoteCommands commands{service, host, options};
    TNodeRoot* nb = nullptr;
};

} // namespace

TEST_F(NoteCommandsTest, CommandsCarryTheirCaptionsAndShortcuts) {
    EXPECT_EQ(commands.NotebookAddAsChild->text(), QStringLiteral("Подзапись текущей"));
    EXPECT_EQ(commands.NotebookAddAsChild->shortcut(), QKeySequence(Qt::Key_Insert));
    EXPECT_EQ(commands.NotebookAddAfter->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Insert));
    EXPECT_EQ(commands.NotebookRename->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(commands.NotebookDelete->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    EXPECT_EQ(commands.NotebookMoveRight->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Right));
    EXPECT_EQ(commands.NotebookSpecialsPasteAfter->text(), QStringLiteral("Вставить после текущей"));
    EXPECT_TRUE(commands.NotebookAddInherit->isCheckable());
}

TEST_F(NoteCommandsTest, AddingFollowsTheSelectionTheInheritMarkAndShift) {
    node("a")->Note()->Record.setFontColor(0x0000FF);
    struct Case {
        const char* what;
        const char* selected; // "" : the root
        bool after, shift, inheritChecked;
        const char* shape;
        bool inherits;
    };
    const Case cases[] = {
        {"as child of a note", "b", false, false, false, "a(a1,a2),b(Новая запись),c", false},
        {"after a note", "a", true, false, false, "a(a1,a2),Новая запись,b,c", false},
        {"after, with shift: inherits", "a", true, true, false, "a(a1,a2),Новая запись,b,c", true},
        {"after, inherit checked and shift: does not", "a", true, true, true, "a(a1,a2),Новая запись,b,c",
         false},
        {"as child of the root", "", false, false, true, "a(a1,a2),b,c,Новая запись", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        host.selected = *c.selected ? node(c.selected) : nb->RootNode;
        node("a")->Note()->Record.setFontColor(0x0000FF);
        host.shift = c.shift;
        commands.NotebookAddInherit->setChecked(c.inheritChecked);
        (c.after ? commands.NotebookAddAfter : commands.NotebookAddAsChild)->trigger();
        EXPECT_EQ(shapeOf(nb->RootNode), QString::fromUtf8(c.shape));
        ASSERT_TRUE(host.editedLabel);
        EXPECT_EQ(host.selected, host.editedLabel);
        EXPECT_EQ(host.resets, 1);
        EXPECT_EQ(host.editedLabel->Note()->Record.FontColor() == 0x0000FF, c.inherits);
        EXPECT_EQ(commands.RememberedAdd(),
                  c.after ? commands.NotebookAddAfter : commands.NotebookAddAsChild);
        EXPECT_TRUE(nb->Modified);
        host = NoteHost{};
        service.Close(nb);
    }
}

TEST_F(NoteCommandsTest, DeletingAsksAsTheOptionAndTheChildrenSay) {
    ScriptedMessages messages;
    options.AskDelNote = false;
    host.selected = node("b");
    commands.NotebookDelete->trigger();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("a(a1,a2),c"));
    EXPECT_EQ(nb->DeletedNotes.size(), 1);
    EXPECT_EQ(host.selected, node("c"));

    // A note with children always asks; Cancel keeps it.
    host.selected = node("a");
    messages.answer(MbCancel);
    commands.NotebookDelete->trigger();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, kDeleteNoteQuestion);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("a(a1,a2),c"));
    messages.answer(MbOk);
    commands.NotebookDelete->trigger();
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("c"));
    EXPECT_EQ(nb->DeletedNotes.size(), 4);
    EXPECT_EQ(listOf(*nb), QStringLiteral("c"));
    for (const TNodeData* gone : nb->DeletedNotes)
        EXPECT_NE(gone->Record.Deleted(), 0);

    // While a label is edited the key goes to the label editor.
    host.editing = true;
    commands.NotebookDelete->trigger();
    EXPECT_EQ(host.keysToEditor, QList<int>{Qt::Key_Delete});
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("c"));
}

TEST_F(NoteCommandsTest, TheFourMoves) {
    struct Case {
        const char* what;
        const char* selected;
        void (TNoteCommands::*move)();
        const char* shape;
        bool modified;
    };
    const Case cases[] = {
        {"up", "b", &TNoteCommands::MoveUp, "b,a(a1,a2),c", true},
        {"up on the first sibling", "a1", &TNoteCommands::MoveUp, "a(a1,a2),b,c", false},
        {"down", "a1", &TNoteCommands::MoveDown, "a(a2,a1),b,c", true},
        {"down on the last sibling marks only", "c", &TNoteCommands::MoveDown, "a(a1,a2),b,c", true},
        {"left goes to the end of the parent's level", "a1", &TNoteCommands::MoveLeft, "a(a2),b,c,a1", true},
        {"left below the root stays", "b", &TNoteCommands::MoveLeft, "a(a1,a2),b,c", false},
        {"right", "b", &TNoteCommands::MoveRight, "a(a1,a2,b),c", true},
        {"right without a previous sibling", "a", &TNoteCommands::MoveRight, "a(a1,a2),b,c", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        service.Close(nb);
        SetUp();
        host.selected = node(c.selected);
        (commands.*c.move)();
        EXPECT_EQ(shapeOf(nb->RootNode), QString::fromUtf8(c.shape));
        EXPECT_EQ(listOf(*nb), QString(QString::fromUtf8(c.shape)).replace('(', ',').remove(')'));
        EXPECT_EQ(nb->Modified, c.modified);
    }
}

TEST_F(NoteCommandsTest, NotebooksMoveWithoutBeingMarked) {
    TNodeRoot* second = service.Create(NewNotebookDefaults{}, path(QStringLiteral("two.vlr")));
    second->Modified = false;
    host.selected = second->RootNode;
    commands.MoveUp();
    EXPECT_EQ(service.Notebooks(), (QList<TNodeRoot*>{second, nb}));
    commands.MoveUp();
    EXPECT_EQ(service.Notebooks(), (QList<TNodeRoot*>{second, nb}));
    commands.MoveDown();
    EXPECT_EQ(service.Notebooks(), (QList<TNodeRoot*>{nb, second}));
    EXPECT_FALSE(nb->Modified || second->Modified);
}

TEST_F(NoteCommandsTest, TheNoteBuffer) {
    // A copied note is pasted without its sub-notes; a cut one moves whole.
    host.selected = node("a");
    commands.NotebookSpecialsCopy->trigger();
    EXPECT_FALSE(node("a")->Cut());
    host.selected = node("c");
    commands.NotebookSpecialsPaste->trigger();
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("a(a1,a2),b,c(a)"));
    EXPECT_FALSE(commands.Held());

    host.selected = nb->RootNode->Child(0);
    commands.NotebookSpecialsCut->trigger();
    EXPECT_TRUE(nb->RootNode->Child(0)->Cut());
    host.selected = node("b");
    commands.NotebookSpecialsPasteAfter->trigger();
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("b,a(a1,a2),c(a)"));
    EXPECT_FALSE(nb->RootNode->Child(1)->Cut());
    EXPECT_FALSE(commands.Held());

    // Cutting another note unmarks the one held before.
    host.selected = node("b");
    commands.NotebookSpecialsCut->trigger();
    host.selected = node("c");
    commands.NotebookSpecialsCut->trigger();
    EXPECT_FALSE(node("b")->Cut());
    EXPECT_EQ(commands.Held(), node("c"));
}

TEST_F(NoteCommandsTest, ADeletedOrClosedNoteLeavesTheBuffer) {
    ScriptedMessages messages;
    host.selected = node("a1");
    commands.NotebookSpecialsCut->trigger();
    host.selected = node("a");
    messages.answer(MbOk);
    commands.NotebookDelete->trigger();
    EXPECT_FALSE(commands.Held());
    host.selected = node("b");
    commands.NotebookSpecialsPaste->trigger(); // nothing held: nothing happens
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("b,c"));

    host.selected = node("b");
    commands.NotebookSpecialsCopy->trigger();
    service.Close(nb);
    EXPECT_FALSE(commands.Held());
}

TEST_F(NoteCommandsTest, PastingIntoALockedNotebookAsksForItsPasswordFirst) {
    {
        auto locked = Book::create(path(QStringLiteral("locked.vlr")), bfEncrypted, QStringLiteral("pw"));
        locked->add(QStringLiteral("x"), QByteArray("{\\rtf1 x}"));
        ASSERT_EQ(locked->service.Save(*locked->nb), srOk);
    }
    // Opened without its key, as at start-up: names only.
    OpenOptions withoutKey;
    withoutKey.askPassword = [](TNodeRoot*, TNodeRoot*, bool& res) { res = true; };
    TNodeRoot* locked = service.Open(path(QStringLiteral("locked.vlr")), withoutKey).notebook;
    ASSERT_TRUE(locked && locked->IsLocked());
    host.selected = node("b");
    commands.NotebookSpecialsCut->trigger();
    host.selected = locked->RootNode;
    host.allowLocked = false;
    commands.NotebookSpecialsPaste->trigger();
    EXPECT_EQ(host.asked, QList<TNodeRoot*>{locked});
    EXPECT_EQ(shapeOf(nb->RootNode), QStringLiteral("a(a1,a2),b,c"));
    EXPECT_EQ(listOf(*locked), QStringLiteral("x"));
    EXPECT_EQ(commands.Held(), node("b")); // still held for another try
}

TEST_F(NoteCommandsTest, RenamingKeepsAHundredCharacters) {
    host.selected = node("b");
    commands.NotebookRename->trigger();
    EXPECT_EQ(host.editedLabel, node("b"));
    commands.LabelEdited(node("b"), QString(120, QChar(u'я')));
    EXPECT_EQ(nb->Notes[3]->Record.NoteName(), QString(100, QChar(u'я')));
    commands.LabelEdited(nb->RootNode, QStringLiteral("Книга"));
    EXPECT_EQ(nb->Header.BookName(), QStringLiteral("Книга"));
    EXPECT_EQ(nb->RootNode->Text(), QStringLiteral("Книга"));
    EXPECT_TRUE(nb->Modified);
}

TEST_F(NoteCommandsTest, ANameThatLosesCharactersIsStoredOnlyAfterTheUserAgrees) {
    struct Case {
        const char* what;
        bool notebook;
        QString typed;
        int answer;
        int questions;
        const char* stored;
        bool backToEditor;
    };
    const Case cases[] = {
        {"a note, yes", false, QStringLiteral("Straße"), MbYes, 1, "Stra?e", false},
        {"a note, no", false, QStringLiteral("Ελληνικά"), MbNo, 1, "b", true},
        {"a notebook, yes", true, QStringLiteral("Эмодзи \U0001F600"), MbYes, 1, "Эмодзи ?", false},
        {"a notebook, no", true, QStringLiteral("Straße"), MbNo, 1, "", true},
        {"Cyrillic is never asked about", false, QStringLiteral("Ёлка №1 «да»"), MbNo, 0, "Ёлка №1 «да»",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ScriptedMessages messages;
        messages.answer(c.answer);
        nb->TreeDirty = false;
        TTreeNode* target = c.notebook ? nb->RootNode : node("b");
        const QString before = target->Text();
        commands.LabelEdited(target, c.typed);
        EXPECT_EQ(messages.shown().size(), c.questions);
        const QString expected = c.backToEditor ? before : QString::fromUtf8(c.stored);
        // The label shows what the file holds.
        EXPECT_EQ(target->Text(), expected);
        EXPECT_EQ(c.notebook ? nb->Header.BookName() : target->Note()->Record.NoteName(), expected);
        EXPECT_EQ(nb->Modified || nb->TreeDirty, !c.backToEditor);
        EXPECT_EQ(host.editedLabel, c.backToEditor ? target : nullptr);
        EXPECT_EQ(host.editedText, c.backToEditor ? c.typed : QString());
        host = NoteHost{};
        service.Close(nb);
    }
}
