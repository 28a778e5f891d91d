// The tray menu follows the window, the icon's clicks reach the window, and
// a desktop without a notification area (as offscreen) minimises normally
// after telling the user once.
#include "app/lifecycle/tray_icon.h"
#include "support/scripted_messages.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {

struct FakeWindow : TrayHost {
    QStringList calls;
    void RestoreMainWindow() override { calls << QStringLiteral("restore"); }
    void MinimizeMainWindow() override { calls << QStringLiteral("minimise"); }
};

QStringList visibleItems(const QMenu& menu) {
    QStringList items;
    for (QAction* a : menu.actions())
        if (a->isVisible() && !a->isSeparator())
            items << a->text();
    return items;
}

TEST(TrayIconTest, DefaultItemFollowsTheWindow) {
    FakeWindow window;
    QAction exit(QStringLiteral("Выход"));
    TTrayIcon tray(window, &exit);
    const struct {
        bool minimized;
        QStringList items;
        QString byDoubleClick;
    } cases[] = {
        {false, {QStringLiteral("Свернуть"), QStringLiteral("Выход")}, QStringLiteral("minimise")},
        {true, {QStringLiteral("Развернуть"), QStringLiteral("Выход")}, QStringLiteral("restore")},
        {false, {QStringLiteral("Свернуть"), QStringLiteral("Выход")}, QStringLiteral("minimise")},
    };
    for (const auto& c : cases) {
        tray.WindowMinimized(c.minimized);
        EXPECT_EQ(visibleItems(*tray.Menu()), c.items);
        EXPECT_EQ(tray.Menu()->defaultAction()->text(), c.items.first());
        window.calls.clear();
        tray.Activated(QSystemTrayIcon::DoubleClick);
        EXPECT_EQ(window.calls, QStringList{c.byDoubleClick});
    }
}

TEST(TrayIconTest, ClickRestoresAndOtherActivationsDoNothing) {
    FakeWindow window;
    TTrayIcon tray(window);
    tray.Activated(QSystemTrayIcon::Trigger);
    tray.Activated(QSystemTrayIcon::Context);
    tray.Activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("restore")});
}

TEST(TrayIconTest, WithoutNotificationAreaTheWindowMinimisesNormallyAndTheUserIsToldOnce) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    ScriptedMessages messages;
    FakeWindow window;
    TTrayIcon tray(window);
    tray.SetVisible(true);
    EXPECT_FALSE(tray.IsVisible());
    EXPECT_FALSE(tray.TakesWindow());
    EXPECT_FALSE(tray.TakesWindow());
    tray.Poll();
    EXPECT_FALSE(tray.IsVisible());
    EXPECT_EQ(messages.texts(), QStringList{TTrayIcon::kNoTray});
}

} // namespace
