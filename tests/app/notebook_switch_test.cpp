// The protection commands' dialogs, shown for notebook A while another
// notebook becomes current or A closes or locks: they change A alone, or end
// as cancelled and say why.
#include "app/dialogs/new_password_dialog.h"
#include "app/dialogs/recover_notes_dialog.h"
#include "app/dialogs/saving_options_dialog.h"
#include "app/dialogs/security_options_dialog.h"
#include "app/protection_commands.h"
#include "dialogs/dialog_test.h"
#include "notebook_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

namespace vlr::test {
namespace {

// The window as the commands see it: a selection, and the real dialogs.
struct SwitchHost : ProtectionCommandsHost {
    TTreeNode* selected = nullptr;
    QList<TNodeRoot*> changed; // NotebookOptionsChanged, in order
    TTreeNode* SelectedNode() const override { return selected; }
    void StoreEditor() override {}
    void RefreshEditor() override {}
    bool CanModifyNotebook(TTreeNode*) override { return true; }
    void SetStatus(const QString&) override {}
    bool SaveNotebook(TTreeNode* root) override { return root->Notebook()->SaveNotes() == srOk; }
    QList<TNodeData*> ChooseNotesToRecover(TNotebookBinding& target) override {
        return ChooseNotesToRecoverDialog(nullptr, target);
    }
    void NotebookOptionsChanged(TNodeRoot& nb) override { changed << &nb; }
};

enum class Meanwhile { BCurrent, AClosed, ALocked };

class NotebookSwitchTest : public StorageTest {
protected:
    // A and B, each saved with two notes and one deleted note; A encrypted
    // when a password is given.
    void open(const QString& passwordOfA = {}) {
        for (const QString& name : {QStringLiteral("a.vlr"), QStringLiteral("b.vlr")}) {
            const bool isA = name == QStringLiteral("a.vlr");
            auto book = Book::create(path(name), isA && !passwordOfA.isEmpty() ? uint32_t(bfEncrypted) : 0u,
                                     passwordOfA);
            book->add(QStringLiteral("первая"), QByteArray("{\\rtf1 one}"));
            TNodeData* gone = book->add(QStringLiteral("удалённая"), QByteArray("{\\rtf1 gone}"));
            book->add(QStringLiteral("вторая"), QByteArray("{\\rtf1 two}"));
            ASSERT_EQ(book->nb->SaveNotes(), srOk);
            book->remove(gone);
            ASSERT_EQ(book->nb->SaveNotes(), srOk);
        }
        a = openFile(QStringLiteral("a.vlr"), passwordOfA);
        b = openFile(QStringLiteral("b.vlr"));
        ASSERT_TRUE(a && b);
        host.selected = a->Notes.first()->TreeNode;
        titleOfA = a->RootNode->Text();
        // As the tree does: a notebook's nodes leave the selection before they go.
        QObject::connect(&service, &TNotebookService::notebookAboutToClose, [this](TNodeRoot* nb) {
            if (TNotebookService::NotebookOf(host.selected) == nb)
                host.selected = nullptr;
        });
    }
    TNodeRoot* openFile(const QString& name, const QString& password = {}) {
        OpenOptions o;
        o.askPassword = [password](TNodeRoot*, TNodeRoot* notebook, bool& res) {
            res = !password.isEmpty() && Unlock(*notebook, password);
        };
        const OpenOutcome outcome = service.Open(path(name), o);
        if (outcome.notebook && !password.isEmpty())
            outcome.notebook->PasswordDigest = PasswordDigest(password);
        return outcome.notebook;
    }
    void happen(Meanwhile event) {
        switch (event) {
        case Meanwhile::BCurrent:
            host.selected = b->RootNode;
            break;
        case Meanwhile::AClosed:
            service.Close(a);
            a = nullptr;
            break;
        case Meanwhile::ALocked:
            service.Lock(*a);
            break;
        }
    }
    // The message the commands end with when A went, none otherwise.
    QString cancelled(Meanwhile event) const {
        switch (event) {
        case Meanwhile::AClosed:
            return NotebookClosedMessage(titleOfA);
        case Meanwhile::ALocked:
            return NotebookLockedMessage(titleOfA);
        default:
            return {};
        }
    }
    // Whether the file opens with the password (none: unencrypted) and
    // reads the first note's body.
    bool readsWith(const QString& name, const QString& password) {
        int result = -1;
        auto again = Book::open(path(name), &result, password);
        return result == lrOk && again->nb->HasBookFlag(bfEncrypted) == !password.isEmpty() &&
               again->body(0) == QByteArray("{\\rtf1 one}");
    }

    ScriptedMessages messages;
    TNotebookService service{defaultImages()};
    SwitchHost host;
    TVLROptions options;
    TProtectionCommands commands{service, host, options};
    TNodeRoot* a = nullptr;
    TNodeRoot* b = nullptr;
    QString titleOfA;
};

TEST_F(NotebookSwitchTest, EncryptingWhileThePasswordIsTypedGoesToTheNotebookItWasOpenedFor) {
    for (Meanwhile event : {Meanwhile::BCurrent, Meanwhile::AClosed}) {
        SCOPED_TRACE(int(event));
        service.CloseAll();
        messages.clear();
        host.changed.clear();
        open();
        const QByteArray fileOfB = fileBytes(path(QStringLiteral("b.vlr")));
        const bool dirtyB = b->TreeDirty;
        messages.answer(MbOk); // "Зашифровать текущую книжку?"
        bool stillOpen = false;
        whenModal<TfrmSecurityOptions>([&](TfrmSecurityOptions* d) {
            whenModal<TfrmNewPassword>([&](TfrmNewPassword* p) {
                typeText(p->passwordEdit(), QStringLiteral("для А"));
                typeText(p->confirmEdit(), QStringLiteral("для А"));
                happen(event);
                stillOpen = p->isVisible() && d->isVisible();
                if (stillOpen)
                    p->okButton()->click();
            });
            d->protectButton()->click();
        });
        commands.NoteRootSecurity->trigger();
        EXPECT_EQ(stillOpen, event == Meanwhile::BCurrent);
        EXPECT_FALSE(b->HasBookFlag(bfEncrypted));
        EXPECT_EQ(fileBytes(path(QStringLiteral("b.vlr"))), fileOfB);
        if (event == Meanwhile::BCurrent) {
            EXPECT_TRUE(a->HasBookFlag(bfEncrypted));
            EXPECT_TRUE(messages.texts().contains(QStringLiteral("Книжка успешно зашифрована!")));
            EXPECT_EQ(host.changed, QList<TNodeRoot*>{a});
            EXPECT_EQ(b->TreeDirty, dirtyB);
            service.CloseAll();
            EXPECT_TRUE(readsWith(QStringLiteral("a.vlr"), QStringLiteral("для А")));
        } else {
            EXPECT_EQ(messages.texts().last(), cancelled(event));
            EXPECT_FALSE(messages.texts().contains(QStringLiteral("Книжка успешно зашифрована!")));
            EXPECT_TRUE(host.changed.isEmpty());
            EXPECT_TRUE(readsWith(QStringLiteral("a.vlr"), {}));
        }
    }
}

TEST_F(NotebookSwitchTest, ANewPasswordGoesToTheNotebookItWasOpenedForOrNowhere) {
    for (Meanwhile event : {Meanwhile::BCurrent, Meanwhile::AClosed, Meanwhile::ALocked}) {
        SCOPED_TRACE(int(event));
        service.CloseAll();
        messages.clear();
        open(QStringLiteral("старый"));
        bool stillOpen = false;
        whenModal<TfrmSecurityOptions>([&](TfrmSecurityOptions* d) {
            whenModal<TfrmNewPassword>([&](TfrmNewPassword* p) {
                typeText(p->oldPasswordEdit(), QStringLiteral("старый"));
                typeText(p->passwordEdit(), QStringLiteral("новый"));
                typeText(p->confirmEdit(), QStringLiteral("новый"));
                happen(event);
                stillOpen = p->isVisible();
                if (!stillOpen)
                    return;
                // Back in the options, which stay up after a new password.
                whenModal<TfrmSecurityOptions>(
                    [](TfrmSecurityOptions* again) { again->okButton()->click(); });
                p->okButton()->click();
            });
            d->changePasswordButton()->click();
        });
        commands.NoteRootSecurity->trigger();
        EXPECT_EQ(stillOpen, event == Meanwhile::BCurrent);
        EXPECT_FALSE(b->HasBookFlag(bfEncrypted));
        if (event != Meanwhile::BCurrent) {
            EXPECT_EQ(messages.texts(), QStringList{cancelled(event)});
        }
        service.CloseAll();
        EXPECT_TRUE(readsWith(QStringLiteral("a.vlr"), event == Meanwhile::BCurrent
                                                           ? QStringLiteral("новый")
                                                           : QStringLiteral("старый")));
        EXPECT_TRUE(readsWith(QStringLiteral("b.vlr"), {}));
    }
}

TEST_F(NotebookSwitchTest, SavingOptionsChangeTheNotebookTheyWereOpenedFor) {
    const struct {
        Meanwhile event;
        bool duringQuestion; // while the compression question is up, else before OK
    } cases[] = {
        {Meanwhile::BCurrent, true},
        {Meanwhile::AClosed, true},
        {Meanwhile::BCurrent, false},
        {Meanwhile::AClosed, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((QStringLiteral("%1 %2").arg(int(c.event)).arg(c.duringQuestion)).toStdString());
        service.CloseAll();
        messages.clear();
        host.changed.clear();
        open();
        const QByteArray fileOfB = fileBytes(path(QStringLiteral("b.vlr")));
        const int reserveOfB = b->Header.ReserveSize();
        if (c.duringQuestion)
            messages.answerAfter(MbOk, [this, &c] { happen(c.event); });
        whenModal<TfrmSavingOptions>([&](TfrmSavingOptions* d) {
            d->reserveBox()->setValue(777);
            if (c.duringQuestion) {
                d->compressButton()->click();
                return;
            }
            happen(c.event);
            if (d->isVisible())
                d->okButton()->click();
        });
        commands.NoteRootSaving->trigger();
        EXPECT_FALSE(b->HasBookFlag(bfCompressed));
        EXPECT_EQ(b->Header.ReserveSize(), reserveOfB);
        EXPECT_EQ(fileBytes(path(QStringLiteral("b.vlr"))), fileOfB);
        if (c.event == Meanwhile::BCurrent) {
            EXPECT_EQ(host.changed, QList<TNodeRoot*>{a});
            EXPECT_EQ(a->HasBookFlag(bfCompressed), c.duringQuestion);
            EXPECT_EQ(a->Header.ReserveSize(), 777);
        } else {
            EXPECT_EQ(messages.texts().last(), cancelled(c.event));
            EXPECT_TRUE(host.changed.isEmpty());
            if (a) {
                EXPECT_FALSE(a->HasBookFlag(bfCompressed));
                EXPECT_NE(a->Header.ReserveSize(), 777);
            }
        }
    }
}

TEST_F(NotebookSwitchTest, RecoveredNotesGoBackIntoTheNotebookTheDialogWasOpenedFor) {
    for (Meanwhile event : {Meanwhile::BCurrent, Meanwhile::AClosed}) {
        SCOPED_TRACE(int(event));
        service.CloseAll();
        messages.clear();
        open();
        ASSERT_EQ(a->DeletedNotes.size(), 1);
        whenModal<TfrmRecoverNotes>([&](TfrmRecoverNotes* d) {
            d->list()->item(0)->setCheckState(Qt::Checked);
            happen(event);
            if (d->isVisible())
                d->recoverButton()->click();
        });
        commands.NotebookRecover->trigger();
        EXPECT_EQ(b->DeletedNotes.size(), 1);
        EXPECT_EQ(b->Notes.size(), 2);
        if (event == Meanwhile::BCurrent) {
            EXPECT_TRUE(a->DeletedNotes.isEmpty());
            EXPECT_EQ(a->RootNode->LastChild()->Text(), QStringLiteral("удалённая"));
            EXPECT_TRUE(messages.texts().isEmpty());
        } else {
            EXPECT_EQ(messages.texts(), QStringList{cancelled(event)});
        }
    }
}

TEST_F(NotebookSwitchTest, PackAndRevertQuestionsKeepToTheirNotebookAndNote) {
    const struct {
        const char* action;
        Meanwhile event;
    } cases[] = {
        {"FilePack", Meanwhile::BCurrent},       {"FilePack", Meanwhile::AClosed},
        {"NotebookRevert", Meanwhile::BCurrent}, {"NotebookRevert", Meanwhile::AClosed},
        {"NotebookRevert", Meanwhile::ALocked},
    };
    options.BackupOnPack = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(
            (QStringLiteral("%1 %2").arg(QString::fromLatin1(c.action)).arg(int(c.event))).toStdString());
        service.CloseAll();
        messages.clear();
        open(QStringLiteral("ключ"));
        TNodeData* edited = a->Notes.first();
        a->ReadNoteByNode(edited->TreeNode);
        service.SetBody(*edited, "{\\rtf1 edited}");
        b->Notes.first()->Body = "{\\rtf1 edited in B}";
        b->Notes.first()->Loaded = true;
        const QByteArray fileOfB = fileBytes(path(QStringLiteral("b.vlr")));
        // Pack: purge the deleted note; revert: go on.
        messages.answerAfter(QString::fromLatin1(c.action) == QStringLiteral("FilePack") ? MbYes : MbOk,
                             [this, &c] { happen(c.event); });
        commands.findChild<QAction*>(QString::fromLatin1(c.action))->trigger();
        EXPECT_EQ(fileBytes(path(QStringLiteral("b.vlr"))), fileOfB);
        EXPECT_EQ(b->Notes.first()->Body, QByteArray("{\\rtf1 edited in B}"));
        EXPECT_EQ(b->DeletedNotes.size(), 1);
        if (c.event == Meanwhile::BCurrent) {
            if (QString::fromLatin1(c.action) == QStringLiteral("FilePack")) {
                EXPECT_TRUE(a->DeletedNotes.isEmpty());
            } else {
                EXPECT_EQ(edited->Body, QByteArray("{\\rtf1 one}"));
            }
        } else {
            EXPECT_EQ(messages.texts().last(), cancelled(c.event));
        }
    }
}

} // namespace
} // namespace vlr::test
