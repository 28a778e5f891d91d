// Away mode over real notebooks: the command locks exactly the notebooks
// under a password, and leaving the program starts the away and close delays
// that coming back stops.
#include "app/lifecycle/away_mode.h"
#include "notebook_fixture.h"

#include <QAction>
#include <QTest>

using namespace vlr;
using namespace vlr::test;

namespace {

class AwayModeTest : public StorageTest {
protected:
    TNodeRoot* make(const QString& name, const QString& password = {}) {
        TNodeRoot* nb = service.Create(NewNotebookDefaults{}, path(name));
        if (!password.isEmpty()) {
            EXPECT_TRUE(service.Protect(*nb, password));
        }
        return nb;
    }

    TNotebookService service{defaultImages()};
    TAwayMode away{service};
};

TEST_F(AwayModeTest, CommandLocksEveryNotebookUnderAPassword) {
    make(QStringLiteral("plain.vlr"));
    TNodeRoot* first = make(QStringLiteral("first.vlr"), QStringLiteral("один"));
    TNodeRoot* second = make(QStringLiteral("second.vlr"), QStringLiteral("два"));
    ASSERT_FALSE(first->IsLocked());
    QList<TNodeRoot*> aboutToLock;
    QObject::connect(&service, &TNotebookService::notebookAboutToLock,
                     [&](TNodeRoot* nb) { aboutToLock << nb; });
    int shown = 0;
    away.OnAway = [&] {
        // The window shows the selection only once every notebook is locked.
        EXPECT_TRUE(first->IsLocked() && second->IsLocked());
        ++shown;
    };

    away.FileSetAway->trigger();

    EXPECT_EQ(aboutToLock, (QList<TNodeRoot*>{first, second}));
    EXPECT_TRUE(first->IsLocked());
    EXPECT_TRUE(second->IsLocked());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(away.FileSetAway->text(), QStringLiteral("Режим \"ушёл\""));
    EXPECT_EQ(away.FileSetAway->objectName(), QStringLiteral("FileSetAway"));
}

TEST_F(AwayModeTest, LeavingStartsTheDelaysAndComingBackStopsThem) {
    TNodeRoot* locking = make(QStringLiteral("locking.vlr"), QStringLiteral("пароль"));
    locking->Header.setAwayTime(1);
    TNodeRoot* kept = make(QStringLiteral("kept.vlr"), QStringLiteral("пароль"));
    kept->Header.setAwayTime(0x80000000u); // zero minutes: no delay at all
    TNodeRoot* closing = make(QStringLiteral("closing.vlr"));
    closing->Header.setCloseTime(1);
    QList<TNodeRoot*> forcedClose;
    closing->OnForceClose = [&](TNodeRoot* nb) { forcedClose << nb; };

    // Coming back before the delay is over keeps everything open.
    away.ApplicationStateChanged(Qt::ApplicationInactive);
    away.ApplicationStateChanged(Qt::ApplicationActive);
    QTest::qWait(1300);
    EXPECT_FALSE(locking->IsLocked());
    EXPECT_TRUE(forcedClose.isEmpty());

    // Staying away past the delay locks and closes, once.
    away.ApplicationStateChanged(Qt::ApplicationInactive);
    away.ApplicationStateChanged(Qt::ApplicationHidden);
    EXPECT_TRUE(QTest::qWaitFor([&] { return locking->IsLocked() && !forcedClose.isEmpty(); }, 3000));
    QTest::qWait(1200);
    EXPECT_EQ(forcedClose, QList<TNodeRoot*>{closing});
    EXPECT_FALSE(kept->IsLocked());
}

TEST_F(AwayModeTest, QuietOrClosingWindowLeavesTheTimersAlone) {
    TNodeRoot* nb = make(QStringLiteral("book.vlr"), QStringLiteral("пароль"));
    nb->Header.setAwayTime(1);
    away.Suspended = [] { return true; };
    away.ApplicationStateChanged(Qt::ApplicationInactive);
    QTest::qWait(1300);
    EXPECT_FALSE(nb->IsLocked());
}

} // namespace
