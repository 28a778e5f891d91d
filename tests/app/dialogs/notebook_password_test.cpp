// The password question for a protected notebook: three tries over a real
// key block made by the storage engine.
#include "app/dialogs/notebook_password.h"
#include "libs/vlrlib.h"
#include "storage/node_root.h"
#include "support/scripted_messages.h"
#include "support/scripted_passwords.h"
#include "support/test_paths.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace vlr;
using namespace vlr::test;

namespace {

const QString kRight = QStringLiteral("верный");
const QString kWrong = QStringLiteral("ошибка");
const QString kWrongMessage = QStringLiteral("Введен неверный пароль!");
const QString kThreeMessage = QStringLiteral("Три попытки неудачны. Невозможно открыть книжку!");

QByteArray bytes(const unsigned char* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n);
}

// An encrypted notebook in memory, locked as after opening.
class NotebookPasswordTest : public ::testing::Test {
protected:
    void SetUp() override {
        TVlrLib::setLibraryFolder(binDir());
        nb = std::make_unique<TNodeRoot>(nullptr, TMyImageList());
        nb->Header.setBookName(QStringLiteral("Дневник"));
        nb->Header.setPasswordReminder(QStringLiteral("как всегда"));
        const unsigned char iv[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        nb->Header.setKeyIV(iv);
        ASSERT_TRUE(SetupKey(*nb, kRight));
        nb->SetBookFlag(bfEncrypted, true);
        master = bytes(nb->MasterKey.data(), 56);
        keyBlock = bytes(nb->Header.KeyBlock(), 56);
        nb->MasterKey.wipe();
        nb->KeyHeld = false;
    }

    std::unique_ptr<TNodeRoot> nb;
    QByteArray master;
    QByteArray keyBlock;
};

} // namespace

TEST_F(NotebookPasswordTest, ThreeTries) {
    const std::optional<QString> cancel;
    // clang-format off
    const struct {
        const char* name;
        QList<std::optional<QString>> answers;
        bool result;
        QStringList messages;
    } cases[] = {
        {"right at once",          {kRight},                 true,  {}},
        {"right at the third try", {kWrong, kWrong, kRight}, true,  {kWrongMessage, kWrongMessage}},
        {"cancelled",              {cancel},                 false, {}},
        {"cancelled after one",    {kWrong, cancel},         false, {kWrongMessage}},
        {"three wrong",            {kWrong, kWrong, kWrong, kRight},
                                                             false, {kWrongMessage, kWrongMessage, kWrongMessage, kThreeMessage}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        nb->MasterKey.wipe();
        nb->KeyHeld = false;
        nb->PasswordDigest = {};
        ScriptedMessages messages;
        ScriptedPasswordPrompt prompt;
        for (const auto& a : c.answers)
            prompt.answer({a, {}, {}});

        EXPECT_EQ(AskNotebookPassword(*nb, true), c.result);

        EXPECT_EQ(messages.texts(), c.messages);
        for (const auto& m : messages.shown())
            EXPECT_EQ(m.caption, QStringLiteral("Ошибка"));
        EXPECT_LE(prompt.calls().size(), 3) << "at most three questions";
        for (const QString& call : prompt.calls())
            EXPECT_EQ(call, QStringLiteral("ask Дневник"));
        EXPECT_EQ(nb->KeyHeld, c.result);
        EXPECT_EQ(bytes(nb->MasterKey.data(), 56), c.result ? master : QByteArray(56, '\0'));
        EXPECT_EQ(nb->PasswordDigest, c.result ? PasswordDigest(kRight) : Digest{});
        EXPECT_EQ(bytes(nb->Header.KeyBlock(), 56), keyBlock) << "a password never changes the key block";
    }
}

TEST_F(NotebookPasswordTest, NoQuestionWhileTheWindowIsDisabledOrTheKeyIsHeld) {
    ScriptedMessages messages;
    ScriptedPasswordPrompt prompt;
    EXPECT_TRUE(AskNotebookPassword(*nb, false));
    EXPECT_FALSE(nb->KeyHeld) << "stays locked until it is used";
    nb->KeyHeld = true;
    EXPECT_TRUE(AskNotebookPassword(*nb, true));
    EXPECT_TRUE(prompt.calls().isEmpty());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(NotebookPasswordTest, WrongPasswordPausesWhileEventsRun) {
    ScriptedMessages messages;
    ScriptedPasswordPrompt prompt;
    prompt.answerPassword(kWrong);
    prompt.cancel();
    bool timerRan = false;
    QTimer::singleShot(10, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(AskNotebookPassword(*nb, true));
    EXPECT_GE(clock.elapsed(), 100);
    EXPECT_TRUE(timerRan);
}

TEST_F(NotebookPasswordTest, WithoutAPromptNothingIsUnlocked) {
    ScriptedMessages messages;
    EXPECT_FALSE(AskNotebookPassword(*nb, true));
    EXPECT_FALSE(nb->KeyHeld);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(NotebookPasswordTest, NoKeyBytesOutliveAWrongTry) {
    ScriptedMessages messages;
    ScriptedPasswordPrompt prompt;
    for (int i = 0; i < 3; ++i)
        prompt.answerPassword(kWrong);
    // An unlock that decrypts straight into the master key leaves a wrong candidate there.
    const auto decryptInPlace = [](TNodeRoot& notebook, const QString&) {
        std::fill_n(notebook.MasterKey.data(), 56, 0xA5);
        return false;
    };
    EXPECT_FALSE(AskNotebookPassword(*nb, true, decryptInPlace));
    EXPECT_TRUE(nb->MasterKey.isZero());
    EXPECT_EQ(messages.texts().size(), 4);
}
