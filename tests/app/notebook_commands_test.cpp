// The notebook commands against a recording host: opening by name and its
// results, saving (as), closing with its questions, the recent list and the
// dated backup copy.
#include "app/notebook_commands.h"
#include "notebook_fixture.h"
#include "support/scripted_passwords.h"

#include <QDateTime>
#include <QFile>
#include <QMenu>

using namespace vlr;
using namespace vlr::test;

namespace {

// The window as the commands see it: a selection without a view, an editor
// reduced to its modified flag.
struct FakeHost : NotebookCommandsHost {
    TNotebookService* service = nullptr;
    TTreeNode* selected = nullptr;
    bool modified = false;
    bool shift = false;
    int stores = 0;
    QStringList statuses;
    std::function<bool(TNodeRoot*)> password = [](TNodeRoot*) { return false; };

    TTreeNode* SelectedNode() const override { return selected; }
    void SelectNode(TTreeNode* node) override { selected = node; }
    void StoreEditor(bool) override { ++stores; }
    bool EditorModified() const override { return modified; }
    void ClearEditorModified() override { modified = false; }
    void RefreshEditor() override {
        // A closed notebook's nodes are gone (see SetUp): the selection moves to a root left.
        if (!selected && service->Count() > 0)
            selected = service->Forest().RootAt(0);
    }
    void BeginBulkChange() override {}
    void EndBulkChange() override {}
    bool CanModifyNotebook(TTreeNode*) override { return true; }
    bool AskPassword(TNodeRoot* nb) override { return password(nb); }
    int AbsoluteIndexOf(TTreeNode* node) const override {
        int index = 0;
        for (int r = 0; r < service->Forest().RootCount(); ++r) {
            TTreeNode* root = service->Forest().RootAt(r);
            if (root == node)
                return index;
            ++index;
            int found = -1;
            ForEachDescendant(root, [&](TTreeNode* n) {
                if (n == node)
                    found = index;
                ++index;
            });
            if (found >= 0)
                return found;
        }
        return -1;
    }
    TTreeNode* NodeAtAbsoluteIndex(int wanted) const override {
        int index = 0;
        for (int r = 0; r < service->Forest().RootCount(); ++r) {
            TTreeNode* root = service->Forest().RootAt(r);
            if (index++ == wanted)
                return root;
            TTreeNode* found = nullptr;
            ForEachDescendant(root, [&](TTreeNode* n) {
                if (index++ == wanted)
                    found = n;
            });
            if (found)
                return found;
        }
        return nullptr;
    }
    void FocusTree() override {}
    void RestoreMainWindow() override {}
    void SetStatus(const QString& text) override { statuses << text; }
    bool ShiftHeld() const override { return shift; }
    void ProcessEvents() override {}
};

struct FakeDialogs : FileDialogs {
    QStringList toOpen;
    QString toSave;
    QString lastCaption, lastProposal;
    // Runs while the save dialog is up, as timers and a second start may.
    std::function<void()> whileOpen;
    QStringList OpenNotebooks(const QString&) override { return toOpen; }
    QString SaveNotebook(const QString& caption, const QString& initialPath) override {
        lastCaption = caption;
        lastProposal = initialPath;
        if (whileOpen)
            whileOpen();
        return toSave;
    }
};

class NotebookCommandsTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        host.service = &service;
        // As the tree does: a notebook's nodes leave the selection before they are freed.
        QObject::connect(&service, &TNotebookService::notebookAboutToClose, [this](TNodeRoot* nb) {
            if (host.selected && TNotebookService::NotebookOf(host.selected) == nb)
                host.selected = nullptr;
        });
        options.DefaultPath = dir.path() + QLatin1Char('/');
        options.BackupPath = dir.path() + QLatin1Char('/');
        options.PackOn30Percent = false;
    }

    // A notebook file with two notes, written through a service of its own.
    QString makeNotebook(const QString& name, const QString& password = {}) {
        auto b = Book::create(path(name), password.isEmpty() ? 0u : uint32_t(bfEncrypted), password);
        b->add(QStringLiteral("первая"), QByteArray("{\\rtf1 one}"));
        b->add(QStringLiteral("вторая"), QByteArray("{\\rtf1 two}"));
        EXPECT_EQ(b->service.Save(*b->nb), srOk);
        return path(name);
    }

    ScriptedMessages messages;
    TNotebookService service{defaultImages()};
    FakeHost host;
    FakeDialogs dialogs;
    TVLROptions options;
    AppFlags flags;
    TNotebookCommands commands{service, host, dialogs, options, flags};
};

} // namespace

TEST_F(NotebookCommandsTest, OpenByNameResultsAndTheirMessages) {
    const QString book = makeNotebook(QStringLiteral("a.vlr"));
    writeFile(path(QStringLiteral("junk.vlr")), QByteArray(2000, 'x'));
    const QString locked = makeNotebook(QStringLiteral("locked.vlr"), QStringLiteral("pw"));
    struct Case {
        QString name;
        bool quiet;
        int result;
        QString message; // empty: none
    };
    const Case cases[] = {
        {path(QStringLiteral("missing.vlr")), false, obNotFound,
         QStringLiteral("Книжка не найдена - ") + path(QStringLiteral("missing.vlr"))},
        {path(QStringLiteral("missing.vlr")), true, obNotFound, {}},
        {book, false, obOpened, {}},
        {book, false, obAlreadyOpen, QStringLiteral("Такая книжка уже открыта!")},
        {book, true, obAlreadyOpen, {}},
        {path(QStringLiteral("junk.vlr")), false, obNotNotebook,
         QStringLiteral("Это не файл записной книжки в формате VLR - %1!")
             .arg(path(QStringLiteral("junk.vlr")))},
        {locked, false, obPasswordRefused, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + (c.quiet ? " quiet" : ""));
        messages.clear();
        flags.quiet = c.quiet;
        EXPECT_EQ(commands.OpenByName(c.name), c.result);
        EXPECT_EQ(messages.texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
    // Open: one notebook, selected at its root, clean, saying so.
    ASSERT_EQ(service.Count(), 1);
    EXPECT_EQ(host.selected, service.Notebooks().first()->RootNode);
    EXPECT_FALSE(service.Notebooks().first()->TreeDirty);
    EXPECT_TRUE(host.statuses.contains(QStringLiteral("Книжка успешно открыта!")));
}

TEST_F(NotebookCommandsTest, OpenByNameFollowsSymbolicLinksToTheSameNotebook) {
    const QString book = makeNotebook(QStringLiteral("real.vlr"));
    ASSERT_TRUE(QFile::link(book, path(QStringLiteral("link.vlr"))));
    EXPECT_EQ(commands.OpenByName(path(QStringLiteral("link.vlr"))), obOpened);
    EXPECT_EQ(service.Notebooks().first()->FileName, book);
    EXPECT_EQ(commands.OpenByName(book), obAlreadyOpen);
}

TEST_F(NotebookCommandsTest, SaveAsToItsOwnNameSavesInPlaceAndANewNameCopiesFirst) {
    const QString book = makeNotebook(QStringLiteral("own.vlr"));
    ASSERT_EQ(commands.OpenByName(book), obOpened);
    TNodeRoot* nb = service.Notebooks().first();
    nb->TreeDirty = true;
    dialogs.toSave = book;
    EXPECT_EQ(commands.SaveNotebookAs(nullptr), snSaved);
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(nb->FileName, book);
    EXPECT_TRUE(commands.Recent().IsEmpty()) << "the same name is no old name";

    service.SetBody(*nb->Notes[0], QByteArray("{\\rtf1 changed}"));
    dialogs.toSave = path(QStringLiteral("copy.vlr"));
    EXPECT_EQ(commands.SaveNotebookAs(nullptr), snSaved);
    EXPECT_EQ(nb->FileName, path(QStringLiteral("copy.vlr")));
    EXPECT_EQ(commands.Recent().Items(), QStringList{book});
    service.Close(nb);

    int result = -1;
    auto copy = Book::open(path(QStringLiteral("copy.vlr")), &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(copy->body(0), QByteArray("{\\rtf1 changed}"));
    EXPECT_EQ(copy->body(1), QByteArray("{\\rtf1 two}"));
    auto old = Book::open(book, &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(old->body(0), QByteArray("{\\rtf1 one}")) << "the old file keeps its content";
}

TEST_F(NotebookCommandsTest, SaveAsOfANewNotebookProposesItsNameInTheDefaultFolder) {
    TNodeRoot* nb = commands.NewNotebook();
    ASSERT_NE(nb, nullptr);
    EXPECT_EQ(nb->Notes.size(), 1) << "a new notebook starts with one note";
    dialogs.toSave.clear();
    EXPECT_EQ(commands.SaveNotebook(nb->RootNode), snCancelled);
    EXPECT_EQ(dialogs.lastProposal, path(QStringLiteral("Новая книжка.vlr")));
    dialogs.toSave = path(QStringLiteral("new.vlr"));
    EXPECT_EQ(commands.SaveNotebook(nb->RootNode), snSaved);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("new.vlr"))));
    EXPECT_FALSE(nb->TreeDirty);
}

TEST_F(NotebookCommandsTest, NewNotebookWithDefEncryptAndTheDialogCancelledIsNotEncrypted) {
    options.DefEncrypt = true;
    ScriptedPasswordPrompt passwords;
    TNodeRoot* plain = commands.NewNotebook(); // nothing scripted: cancelled
    EXPECT_FALSE(plain->HasBookFlag(bfEncrypted));
    passwords.answer({QStringLiteral("secret"), {}, QStringLiteral("кошка")});
    TNodeRoot* secret = commands.NewNotebook();
    EXPECT_TRUE(secret->HasBookFlag(bfEncrypted));
    EXPECT_TRUE(secret->KeyHeld);
    EXPECT_EQ(secret->Header.PasswordReminder(), QStringLiteral("кошка"));
}

TEST_F(NotebookCommandsTest, ClosingAChangedNotebookAsksUnlessShiftIsHeld) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"));
    const QString b = makeNotebook(QStringLiteral("b.vlr"));
    const QString c = makeNotebook(QStringLiteral("c.vlr"));
    for (const QString& f : {a, b, c})
        ASSERT_EQ(commands.OpenByName(f), obOpened);
    for (TNodeRoot* nb : service.Notebooks())
        nb->TreeDirty = true;

    // Close all: a is saved (Yes), b is answered Cancel: c stays open with b.
    messages.answer(MbYes);
    messages.answer(MbCancel);
    flags.exiting = true;
    commands.CloseAll();
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("Записная книжка не сохранена! Сохранить ее сейчас?"),
                           QStringLiteral("Записная книжка не сохранена! Сохранить ее сейчас?")}));
    EXPECT_FALSE(flags.exiting) << "Cancel calls the exit off";
    ASSERT_EQ(service.Count(), 2);
    EXPECT_EQ(service.Notebooks()[0]->FileName, b);
    EXPECT_EQ(commands.Recent().Items(), QStringList{a});

    // Shift held: closed without asking and without saving.
    messages.clear();
    host.shift = true;
    TNodeRoot* nb = service.Notebooks()[0];
    service.SetBody(*nb->Notes[0], QByteArray("{\\rtf1 lost}"));
    EXPECT_EQ(commands.CloseNotebook(nb->RootNode), cnClosedSaved);
    EXPECT_TRUE(messages.texts().isEmpty());
    int result = -1;
    auto reread = Book::open(b, &result);
    EXPECT_EQ(reread->body(0), QByteArray("{\\rtf1 one}"));
}

TEST_F(NotebookCommandsTest, YesWithACancelledSaveAsKeepsTheNotebookOpen) {
    TNodeRoot* nb = commands.NewNotebook();
    service.SetBody(*nb->Notes[0], QByteArray("{\\rtf1 typed}"));
    messages.answer(MbYes);
    dialogs.toSave.clear(); // the save dialog is cancelled
    EXPECT_EQ(commands.CloseNotebook(nb->RootNode), cnCancelled);
    EXPECT_EQ(service.Count(), 1) << "nothing typed is thrown away after Yes";
}

TEST_F(NotebookCommandsTest, RecentListCommands) {
    QMenu menu;
    commands.SetRecentMenu(&menu);
    EXPECT_FALSE(commands.FileClearMRU->isEnabled());
    commands.FileOpenLast->trigger(); // empty list: nothing happens
    EXPECT_EQ(service.Count(), 0);
    EXPECT_TRUE(messages.texts().isEmpty());

    const QString a = makeNotebook(QStringLiteral("a.vlr"));
    const QString b = makeNotebook(QStringLiteral("b.vlr"));
    commands.Recent().Add(a);
    commands.Recent().Add(b);
    commands.RecentChanged();
    EXPECT_TRUE(commands.FileClearMRU->isEnabled());
    ASSERT_EQ(menu.actions().size(), 2);
    menu.actions().at(1)->trigger(); // opening an entry keeps the order
    EXPECT_EQ(service.Notebooks().first()->FileName, a);
    EXPECT_EQ(commands.Recent().Items(), (QStringList{b, a}));
    commands.FileOpenLast->trigger();
    EXPECT_EQ(service.Count(), 2);
    commands.FileClearMRU->trigger();
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_FALSE(commands.FileClearMRU->isEnabled());
}

TEST_F(NotebookCommandsTest, BackupCopyIsDatedAndReportsSuccessOrItsCause) {
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 5));
    EXPECT_EQ(
        TNotebookCommands::BackupCopyName(QStringLiteral("/x/Мои записи.vlr"), QStringLiteral("/b/"), when),
        QStringLiteral("/b/Мои записи 2026-12-10 09.05.vlr"));

    const QString book = makeNotebook(QStringLiteral("a.vlr"));
    ASSERT_EQ(commands.OpenByName(book), obOpened);
    dialogs.toSave = path(QStringLiteral("backup.vlr"));
    commands.BackupCopy();
    EXPECT_EQ(dialogs.lastCaption, QStringLiteral("Копирование книжки в..."));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Резервная копия книжки успешно создана!")});
    EXPECT_EQ(fileBytes(path(QStringLiteral("backup.vlr"))), fileBytes(book));

    messages.clear();
    dialogs.toSave = path(QStringLiteral("no/such/folder/backup.vlr"));
    commands.BackupCopy();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(
        messages.texts().first().startsWith(QStringLiteral("Не удалось создать резервную копию книжки!")));
}

TEST_F(NotebookCommandsTest, BackupCopyAndSaveAsKeepToTheNotebookTheyWereStartedFor) {
    enum Event { BCurrent, AClosed };
    const struct {
        const char* name;
        bool saveAs;
        Event event;
    } cases[] = {
        {"backup, B current", false, BCurrent},
        {"backup, A closed", false, AClosed},
        {"save as, B current", true, BCurrent},
        {"save as, A closed", true, AClosed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        service.CloseAll();
        messages.clear();
        QFile::remove(path(QStringLiteral("chosen.vlr")));
        ASSERT_EQ(commands.OpenByName(makeNotebook(QStringLiteral("a.vlr"))), obOpened);
        TNodeRoot* a = service.Notebooks().first();
        const QString titleOfA = a->RootNode->Text();
        ASSERT_EQ(commands.OpenByName(makeNotebook(QStringLiteral("b.vlr"))), obOpened);
        TNodeRoot* b = service.Notebooks().last();
        service.SetBody(*b->Notes[0], QByteArray("{\\rtf1 changed in B}"));
        const QByteArray fileOfA = fileBytes(path(QStringLiteral("a.vlr")));
        const QByteArray fileOfB = fileBytes(path(QStringLiteral("b.vlr")));
        host.selected = a->RootNode;
        dialogs.toSave = path(QStringLiteral("chosen.vlr"));
        dialogs.whileOpen = [&] {
            if (c.event == BCurrent)
                host.selected = b->Notes[0]->TreeNode;
            else
                service.Close(a);
        };
        int saved = -1;
        if (c.saveAs)
            saved = commands.SaveNotebookAs(nullptr);
        else
            commands.BackupCopy();
        dialogs.whileOpen = nullptr;
        EXPECT_EQ(fileBytes(path(QStringLiteral("b.vlr"))), fileOfB);
        EXPECT_EQ(b->FileName, path(QStringLiteral("b.vlr")));
        EXPECT_TRUE(b->TreeDirty) << "B was not saved";
        if (c.event == BCurrent && c.saveAs) {
            EXPECT_EQ(saved, snSaved);
            EXPECT_EQ(a->FileName, path(QStringLiteral("chosen.vlr")));
            int result = -1;
            auto copy = Book::open(path(QStringLiteral("chosen.vlr")), &result);
            ASSERT_EQ(result, lrOk);
            EXPECT_EQ(copy->body(0), QByteArray("{\\rtf1 one}"));
        } else if (c.event == BCurrent) {
            EXPECT_EQ(fileBytes(path(QStringLiteral("chosen.vlr"))), fileOfA);
        } else {
            EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("chosen.vlr"))));
            EXPECT_EQ(messages.texts(), QStringList{NotebookClosedMessage(titleOfA)});
            if (c.saveAs) {
                EXPECT_EQ(saved, snCancelled);
            }
        }
    }
}

TEST_F(NotebookCommandsTest, BackupCopyDoesNotOverwriteAnotherOpenNotebook) {
    ASSERT_EQ(commands.OpenByName(makeNotebook(QStringLiteral("a.vlr"))), obOpened);
    ASSERT_EQ(commands.OpenByName(makeNotebook(QStringLiteral("b.vlr"))), obOpened);
    host.selected = service.Notebooks().first()->RootNode;
    const QByteArray fileOfB = fileBytes(path(QStringLiteral("b.vlr")));
    dialogs.toSave = path(QStringLiteral("b.vlr"));
    commands.BackupCopy();
    EXPECT_EQ(
        messages.texts(),
        QStringList{QStringLiteral("Записная книжка, которую вы хотите перезаписать, открыта в программе!")});
    EXPECT_EQ(fileBytes(path(QStringLiteral("b.vlr"))), fileOfB);
}

TEST_F(NotebookCommandsTest, ReadOnlyNotebookRefusesSaving) {
    const QString book = makeNotebook(QStringLiteral("ro.vlr"));
    ASSERT_EQ(commands.OpenByName(book), obOpened);
    TNodeRoot* nb = service.Notebooks().first();
    nb->SetBookFlag(bfReadOnly, true);
    EXPECT_EQ(commands.SaveNotebook(nullptr), snReadOnly);
    EXPECT_EQ(messages.shown().last().caption, QStringLiteral("Внимание!"));
    EXPECT_TRUE(messages.texts().last().startsWith(QStringLiteral("Записная книжка только для чтения!")));
}

TEST_F(NotebookCommandsTest, StartUpSaysWhatIsWrongAndADamagedNotebookIsOfferedForSalvage) {
    QByteArray junk(100 * 1024, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) % 251);
    writeFile(path(QStringLiteral("random.vlr")), junk);
    const QString book = makeNotebook(QStringLiteral("a.vlr"));
    QByteArray damaged = fileBytes(book);
    damaged.truncate(i32At(damaged, 16) + 10); // the tree table is gone, the bodies are whole
    writeFile(book, damaged);
    flags.quiet = true; // as while the last session and the command line are opened

    EXPECT_EQ(commands.OpenByName(path(QStringLiteral("random.vlr"))), obNotNotebook);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Это не файл записной книжки в формате VLR - %1!")
                                                .arg(path(QStringLiteral("random.vlr")))});

    // Declined: the damaged notebook stays open for reading.
    messages.clear();
    messages.answer(MbOk);
    messages.answer(MbNo);
    EXPECT_EQ(commands.OpenByName(book), obDamaged);
    ASSERT_EQ(messages.texts().size(), 2);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("Книжка %1 повреждена").arg(book)));
    EXPECT_EQ(messages.texts()[1], QStringLiteral("Восстановить уцелевшие записи в новую книжку?"));
    ASSERT_EQ(service.Count(), 1);
    service.Close(service.Notebooks().first());

    // Accepted: the new notebook replaces the damaged one, which is never written.
    messages.clear();
    messages.answer(MbOk);
    messages.answer(MbYes);
    dialogs.toSave = path(QStringLiteral("saved.vlr"));
    EXPECT_EQ(commands.OpenByName(book), obDamaged);
    EXPECT_EQ(dialogs.lastProposal, path(QStringLiteral("a (восстановлено).vlr")));
    ASSERT_EQ(messages.texts().size(), 3);
    EXPECT_EQ(messages.texts()[2],
              QStringLiteral("Восстановлено записей: 0 целиком, 2 без имени; потеряно: 0."));
    ASSERT_EQ(service.Count(), 1);
    TNodeRoot* nb = service.Notebooks().first();
    EXPECT_EQ(nb->FileName, QFileInfo(path(QStringLiteral("saved.vlr"))).canonicalFilePath());
    EXPECT_FALSE(nb->IsReadOnly());
    ASSERT_EQ(nb->Notes.size(), 2);
    EXPECT_EQ(nb->Notes[0]->Record.NoteName(), QStringLiteral("Найдено 1"));
    EXPECT_EQ(nb->Notes[1]->Record.NoteName(), QStringLiteral("Найдено 2"));
    QByteArray body;
    nb->ReadNote(1, body);
    EXPECT_EQ(body, QByteArray("{\\rtf1 two}"));
    EXPECT_EQ(fileBytes(book), damaged);

    // The damaged file itself is refused as the target.
    service.Close(nb);
    messages.clear();
    messages.answer(MbOk);
    messages.answer(MbYes);
    dialogs.toSave = book;
    EXPECT_EQ(commands.OpenByName(book), obDamaged);
    ASSERT_EQ(messages.texts().size(), 3);
    EXPECT_TRUE(messages.texts()[2].startsWith(QStringLiteral("Уцелевшие записи нельзя записать")));
    EXPECT_EQ(fileBytes(book), damaged);
}

TEST_F(NotebookCommandsTest, AViewedNotebookClosesWithoutAQuestionAndKeepsItsViewWhereItMay) {
    // Only the view changed (as the tree marks a selected note): written
    // quietly when the notebook may be written, otherwise left as it was.
    struct Case {
        const char* name;
        std::function<void(TNodeRoot&)> setUp;
        bool shift;
        bool encrypted;
        bool written;
    };
    const Case cases[] = {
        {"writable", [](TNodeRoot&) {}, false, false, true},
        {"Shift held", [](TNodeRoot&) {}, true, false, false},
        {"read-only flag", [](TNodeRoot& nb) { nb.SetBookFlag(bfReadOnly, true); }, false, false, false},
        {"opened read-only", [](TNodeRoot& nb) { nb.OpenedReadOnly = true; }, false, false, false},
        {"locked", [this](TNodeRoot& nb) { service.Lock(nb); }, false, true, false},
        {"never saved", [](TNodeRoot& nb) { nb.FileName.clear(); }, false, false, false},
    };
    host.password = [](TNodeRoot* nb) { return Unlock(*nb, QStringLiteral("pw")); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        const QString file = makeNotebook(QStringLiteral("%1.vlr").arg(QLatin1String(c.name)),
                                          c.encrypted ? QStringLiteral("pw") : QString());
        const QByteArray before = fileBytes(file);
        ASSERT_EQ(commands.OpenByName(file), obOpened);
        TNodeRoot* nb = service.Notebooks().last();
        nb->Header.setSelectedNote(1);
        nb->ViewDirty = true;
        c.setUp(*nb);
        host.shift = c.shift;
        EXPECT_EQ(commands.CloseNotebook(nb->RootNode), cnClosedSaved);
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
        if (!c.written) {
            EXPECT_EQ(fileBytes(file), before);
            continue;
        }
        int result = -1;
        auto reread = Book::open(file, &result);
        ASSERT_EQ(result, lrOk);
        EXPECT_EQ(reread->nb->Header.SelectedNote(), 1);
        EXPECT_EQ(reread->body(0), QByteArray("{\\rtf1 one}"));
    }

    // A notebook nobody changed or looked at is not written at all.
    host.shift = false;
    const QString untouched = makeNotebook(QStringLiteral("untouched.vlr"));
    const QByteArray before = fileBytes(untouched);
    ASSERT_EQ(commands.OpenByName(untouched), obOpened);
    EXPECT_EQ(commands.CloseNotebook(service.Notebooks().last()->RootNode), cnClosedSaved);
    EXPECT_EQ(fileBytes(untouched), before);
}
