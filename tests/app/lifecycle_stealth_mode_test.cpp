// Stealth mode: refused (and nothing changes) while no hot key could bring
// the window back; otherwise asked once, then the window is minimised and
// taken out of sight, the tray icon removed when it holds the window, and the
// notebooks locked when the options say so. The hot key toggles the window,
// and minimising may lead into stealth mode.
#include "app/lifecycle/global_hot_key.h"
#include "app/lifecycle/stealth_mode.h"
#include "config/options.h"
#include "support/scripted_messages.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {

struct FakeWindow : StealthHost {
    bool held = true;
    QString problem;
    bool minimized = false;
    QStringList calls;
    // Set by the window while it minimises; the window reports the minimise to it.
    TStealthMode* stealth = nullptr;

    bool HotKeyHeld() const override { return held; }
    QString HotKeyProblem() const override { return problem; }
    QString SettingsFilePath() const override {
        return QStringLiteral("/home/u/.config/Orvanta/Vellinor/vellinor.ini");
    }
    bool MainWindowMinimized() const override { return minimized; }
    void RestoreMainWindow() override {
        calls << QStringLiteral("restore");
        minimized = false;
    }
    void MinimizeMainWindow() override {
        calls << QStringLiteral("minimise");
        if (!minimized && stealth) {
            minimized = true;
            stealth->WindowMinimized();
        }
        minimized = true;
    }
    void HideMainWindow() override { calls << QStringLiteral("hide"); }
    void RemoveTrayIcon() override { calls << QStringLiteral("remove tray icon"); }
    void SetAway() override { calls << QStringLiteral("away"); }
};

class StealthModeTest : public ::testing::Test {
protected:
    StealthModeTest() {
        options.EnableHotKey = true;
        options.ActivateHotKey = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N);
        window.stealth = &stealth;
    }

    FakeWindow window;
    TVLROptions options;
    TStealthMode stealth{window, options};
    ScriptedMessages messages;
};

TEST_F(StealthModeTest, RefusedWhileNoHotKeyCouldBringTheWindowBack) {
    EXPECT_EQ(stealth.FileStealth->text(), QStringLiteral("Невидимка"));
    EXPECT_EQ(stealth.FileStealth->objectName(), QStringLiteral("FileStealth"));

    // The hot key switched off in the options.
    options.EnableHotKey = false;
    stealth.FileStealth->trigger();
    ASSERT_EQ(messages.shown().size(), 1);
    // Names the settings file and the keys to set there.
    const QString refused = messages.shown()[0].text;
    EXPECT_TRUE(refused.startsWith(QStringLiteral("Невозможно перейти в режим невидимки!")))
        << refused.toStdString();
    for (const char* part :
         {"/home/u/.config/Orvanta/Vellinor/vellinor.ini", "[Options]", "EnableHotKey=1", "ActivateHotKey="})
        EXPECT_TRUE(refused.contains(QString::fromUtf8(part))) << part;
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Ошибка"));

    // Switched on, but the desktop did not give the key (Wayland, another program holds it).
    options.EnableHotKey = true;
    window.held = false;
    window.problem = TGlobalHotKey::kTaken.arg(QStringLiteral("Ctrl+Alt+N"));
    messages.clear();
    EXPECT_FALSE(stealth.Stealth());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, TStealthMode::kHotKeyNotHeld.arg(window.problem));
    EXPECT_TRUE(messages.shown()[0].text.endsWith(window.problem));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Ошибка"));

    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_TRUE(options.AskHide);
}

TEST_F(StealthModeTest, QuestionNamesTheKeyAndCancelChangesNothing) {
    options.PlusWin = true;
    options.AwayOnStealth = true;
    messages.answer(MbCancel, true);
    EXPECT_FALSE(stealth.Stealth());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(
        messages.shown()[0].text,
        QStringLiteral("Сейчас Vellinor перейдёт в режим невидимки. Вы сможете развернуть окно Vellinor "
                       "только с помощью следующей горячей клавиши:\r\n\r\nWin+Ctrl+Alt+N"));
    EXPECT_EQ(messages.shown()[0].buttons, MbOk | MbCancel);
    EXPECT_TRUE(messages.shown()[0].offeredCheckBox.has_value());
    EXPECT_TRUE(window.calls.isEmpty());
    // A cancelled question is asked again next time.
    EXPECT_TRUE(options.AskHide);
}

TEST_F(StealthModeTest, ConfirmedStealthHidesTheWindowAndLocksWhenAsked) {
    const struct {
        bool toTray;
        bool away;
        QStringList calls;
    } cases[] = {
        {false, false, {QStringLiteral("minimise"), QStringLiteral("hide")}},
        {true,
         false,
         {QStringLiteral("minimise"), QStringLiteral("remove tray icon"), QStringLiteral("hide")}},
        {false, true, {QStringLiteral("minimise"), QStringLiteral("hide"), QStringLiteral("away")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.calls.join(u',').toStdString());
        options.MinimizeToTray = c.toTray;
        options.AwayOnStealth = c.away;
        // Minimising into stealth mode does not lead into stealth mode again.
        options.StealthOnMinimize = true;
        window.minimized = false;
        window.calls.clear();
        messages.clear();
        messages.answer(MbOk);
        EXPECT_TRUE(stealth.Stealth());
        QCoreApplication::processEvents();
        EXPECT_EQ(window.calls, c.calls);
        EXPECT_EQ(messages.shown().size(), 1);
    }
}

TEST_F(StealthModeTest, TickedQuestionIsNotAskedAgain) {
    messages.answer(MbOk, true);
    EXPECT_TRUE(stealth.Stealth());
    EXPECT_FALSE(options.AskHide);
    window.minimized = false;
    messages.clear();
    EXPECT_TRUE(stealth.Stealth());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(StealthModeTest, HotKeyRestoresAWindowOutOfSightAndMinimisesAShownOne) {
    window.minimized = true;
    stealth.HotKeyPressed();
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("restore")});
    stealth.HotKeyPressed();
    EXPECT_EQ(window.calls, (QStringList{QStringLiteral("restore"), QStringLiteral("minimise")}));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(StealthModeTest, MinimisingLeadsIntoStealthOnlyWhenTheOptionSaysSo) {
    // Off: a minimise stays a minimise.
    window.MinimizeMainWindow();
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("minimise")});

    // On: once the minimise is over, the question follows and the window is hidden.
    options.StealthOnMinimize = true;
    window.minimized = false;
    window.calls.clear();
    messages.answer(MbOk);
    window.MinimizeMainWindow();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.shown().isEmpty(); }, 1000));
    EXPECT_EQ(window.calls,
              (QStringList{QStringLiteral("minimise"), QStringLiteral("minimise"), QStringLiteral("hide")}));

    // Brought back before the question could be asked: nothing is asked.
    window.minimized = false;
    messages.clear();
    window.MinimizeMainWindow();
    window.RestoreMainWindow();
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.shown().isEmpty());
}

} // namespace
