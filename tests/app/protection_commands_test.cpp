// Packing with its backup copy, the deleted-notes question, recovery and revert.
#include "app/protection_commands.h"
#include "notebook_fixture.h"

#include <QDir>
#include <QFile>

namespace vlr::test {
namespace {

struct PackHost : ProtectionCommandsHost {
    TTreeNode* selected = nullptr;
    QStringList statuses;
    int refreshed = 0;
    QList<int> toRecover; // rows of DeletedNotes the dialog ticks
    bool unlocked = true;
    bool optionsAccepted = true;
    QStringList calls; // the options dialogs shown and the editor stored, in order
    // Runs while a dialog is up, as timers and a second start may.
    std::function<void()> whileOpen;
    // The notebook each dialog was shown for.
    QList<TNodeRoot*> shownFor;
    bool EditSavingOptions(TNotebookBinding& target, bool& ask) override {
        calls << QStringLiteral("saving");
        ask = false; // as the dialog's ticked box does
        return showOptions(target);
    }
    bool EditSecurityOptions(TNotebookBinding& target, bool& ask) override {
        calls << QStringLiteral("security");
        ask = false;
        return showOptions(target);
    }
    bool showOptions(TNotebookBinding& target) {
        shownFor << target.Notebook();
        if (whileOpen)
            whileOpen();
        return optionsAccepted && !target.IsLost();
    }
    void NotebookOptionsChanged(TNodeRoot& nb) override {
        calls << QStringLiteral("properties");
        changedFor << &nb;
    }
    QList<TNodeRoot*> changedFor;
    TTreeNode* SelectedNode() const override { return selected; }
    void StoreEditor() override { calls << QStringLiteral("store"); }
    void RefreshEditor() override { ++refreshed; }
    bool CanModifyNotebook(TTreeNode*) override { return unlocked; }
    void SetStatus(const QString& text) override { statuses << text; }
    bool SaveNotebook(TTreeNode* root) override { return root->Notebook()->SaveNotes() == srOk; }
    QList<TNodeData*> ChooseNotesToRecover(TNotebookBinding& target) override {
        QList<TNodeData*> out;
        for (int row : toRecover)
            out << target.Notebook()->DeletedNotes.at(row);
        if (whileOpen)
            whileOpen();
        return target.IsLost() ? QList<TNodeData*>() : out;
    }
};

class ProtectionCommandsTest : public StorageTest {
protected:
    // A saved notebook with two live notes and one deleted after the save.
    void SetUp() override {
        StorageTest::SetUp();
        {
            auto b = Book::create(path());
            b->add(QStringLiteral("keep"), QByteArray("{\\rtf1 keep}"));
            TNodeData* gone = b->add(QStringLiteral("gone"), QByteArray("{\\rtf1 gone body}"));
            gone->Record.setImageIndex(3);
            b->add(QStringLiteral("last"), QByteArray("{\\rtf1 last}"));
            ASSERT_EQ(b->nb->SaveNotes(), srOk);
            b->remove(gone);
            ASSERT_EQ(b->nb->SaveNotes(), srOk);
        }
        int result = -1;
        book = Book::open(path(), &result);
        ASSERT_EQ(result, lrOk);
        host.selected = book->nb->Notes.first()->TreeNode;
    }
    TNodeRoot& nb() { return *book->nb; }

    ScriptedMessages messages;
    std::unique_ptr<Book> book;
    PackHost host;
    TVLROptions options;
    std::unique_ptr<TProtectionCommands> commands;
    TProtectionCommands& cmd() {
        if (!commands)
            commands = std::make_unique<TProtectionCommands>(book->service, host, options);
        return *commands;
    }
};

TEST_F(ProtectionCommandsTest, TheDeletedNotesQuestionDecidesThePurge) {
    const struct {
        int answer;
        bool packed;
        int deletedAfter;
    } cases[] = {{MbYes, true, 0}, {MbNo, true, 1}, {MbCancel, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        commands.reset();
        book.reset();
        QFile::remove(path());
        SetUp();
        options.BackupOnPack = false;
        const QByteArray before = fileBytes(path());
        messages.clear();
        messages.answer(c.answer);
        if (c.packed)
            messages.answer(MbOk);
        cmd().FilePack->trigger();
        EXPECT_EQ(nb().DeletedNotes.size(), c.deletedAfter);
        if (!c.packed) {
            EXPECT_EQ(fileBytes(path()), before);
        }
        EXPECT_EQ(fileBytes(path()).contains("gone body"), c.deletedAfter > 0);
        if (c.packed) {
            ASSERT_EQ(messages.texts().size(), 2);
            EXPECT_TRUE(
                messages.texts()[1].startsWith(QStringLiteral("Книжка успешно сжата. Освобождено байт: ")));
        }
    }
}

TEST_F(ProtectionCommandsTest, TheBackupIsTheFileJustBeforeThePackAndAFailedOneChangesNothing) {
    options.BackupOnPack = true;
    const QByteArray before = fileBytes(path());
    ASSERT_TRUE(cmd().PackNotebook(&nb(), {}));
    EXPECT_EQ(fileBytes(TProtectionCommands::BackupName(path())), before);

    // A folder in the copy's place cannot be replaced.
    QFile::remove(TProtectionCommands::BackupName(path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("book.vlr.bak")));
    QDir(path() + ".bak").mkdir(QStringLiteral("inside"));
    book->remove(nb().Notes.first());
    ASSERT_EQ(nb().SaveNotes(), srOk);
    const QByteArray saved = fileBytes(path());
    messages.clear();
    EXPECT_FALSE(cmd().PackNotebook(&nb(), {true, true, false}));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Ошибка создания резервной копии! Сжатие невозможно!")});
    EXPECT_EQ(fileBytes(path()), saved);
    EXPECT_EQ(nb().DeletedNotes.size(), 2);
}

TEST_F(ProtectionCommandsTest, ARecoveredNoteComesBackWithItsPictureAndStoredBody) {
    host.toRecover = {0};
    cmd().NotebookRecover->trigger();
    ASSERT_TRUE(nb().DeletedNotes.isEmpty());
    TTreeNode* root = nb().RootNode;
    TTreeNode* back = root->LastChild();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Text(), QStringLiteral("gone"));
    EXPECT_EQ(back->ImageIndex(), 3);
    EXPECT_EQ(back->Note()->Record.Deleted(), 0);
    EXPECT_EQ(nb().Notes.size(), 3);
    QByteArray body;
    nb().ReadNoteInto(back, body);
    EXPECT_EQ(body, QByteArray("{\\rtf1 gone body}"));
    ASSERT_EQ(nb().SaveNotes(), srOk);
    book.reset();
    int result = -1;
    auto again = Book::open(path(), &result);
    ASSERT_EQ(again->nb->Notes.size(), 3);
    EXPECT_TRUE(again->nb->DeletedNotes.isEmpty());
    EXPECT_EQ(again->body(2), QByteArray("{\\rtf1 gone body}"));
}

TEST_F(ProtectionCommandsTest, RevertDropsTheEditsOfStoredAndNeverStoredNotes) {
    TNodeData* note = nb().Notes.first();
    nb().ReadNoteByNode(note->TreeNode);
    note->Body = "{\\rtf1 edited}";
    note->Clean = false;
    messages.answer(MbOk);
    cmd().NotebookRevert->trigger();
    EXPECT_EQ(note->Body, QByteArray("{\\rtf1 keep}"));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Запись была успешно восстановлена из файла книжки."));

    TNodeData* fresh = book->add(QStringLiteral("new"), "{\\rtf1 unsaved}");
    host.selected = fresh->TreeNode;
    messages.clear();
    messages.answer(MbOk);
    cmd().NotebookRevert->trigger();
    EXPECT_FALSE(fresh->Body.contains("unsaved")) << "the edits are dropped";

    messages.clear();
    messages.answer(MbCancel);
    fresh->Body = "kept";
    cmd().NotebookRevert->trigger();
    EXPECT_EQ(fresh->Body, QByteArray("kept"));
}

TEST_F(ProtectionCommandsTest, OptionsDialogsAreRefusedForReadOnlyOrLockedNotebooksAndMarkChangesOnOk) {
    const QString readOnly =
        QStringLiteral("Эта книжка только для чтения! Вы не можете менять ее опции сохранения и защиты.");
    const struct {
        const char* action;
        bool readOnly;
        bool unlocked;
        bool accepted;
        QStringList calls;
        bool marked;
    } cases[] = {
        {"NoteRootSaving", true, true, true, {}, false},
        {"NoteRootSecurity", true, true, true, {}, false},
        {"NoteRootSecurity", false, false, true, {}, false},
        {"NoteRootSaving", false, true, false, {"store", "saving"}, false},
        {"NoteRootSaving", false, true, true, {"store", "saving", "properties"}, true},
        {"NoteRootSecurity", false, true, true, {"store", "security", "properties"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        nb().OpenedReadOnly = c.readOnly;
        nb().TreeDirty = nb().Modified = false;
        host.unlocked = c.unlocked;
        host.optionsAccepted = c.accepted;
        host.calls.clear();
        host.statuses.clear();
        messages.clear();
        options.AskCompress = options.AskProtect = true;
        QAction* action = cmd().findChild<QAction*>(QString::fromLatin1(c.action));
        ASSERT_NE(action, nullptr);
        action->trigger();
        EXPECT_EQ(host.calls, c.calls);
        EXPECT_EQ(messages.texts(), c.readOnly ? QStringList{readOnly} : QStringList{});
        EXPECT_EQ(nb().TreeDirty, c.marked);
        EXPECT_EQ(nb().Modified, c.marked);
        EXPECT_EQ(host.statuses, c.marked ? QStringList{QString()} : QStringList{});
        // The dialog's ask-once box reaches the program's options.
        const bool& flag = QString::fromLatin1(c.action) == QStringLiteral("NoteRootSaving")
                               ? options.AskCompress
                               : options.AskProtect;
        EXPECT_EQ(flag, c.calls.isEmpty());
    }
    EXPECT_EQ(cmd().NoteRootSaving->text(), QStringLiteral("Сохранение..."));
    EXPECT_EQ(cmd().NoteRootSecurity->text(), QStringLiteral("Безопасность..."));
}

} // namespace
} // namespace vlr::test
