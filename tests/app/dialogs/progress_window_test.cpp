// The progress window: owner and modality, stepping, Stop, replacement and end.
#include "app/dialogs/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vlr;

namespace {

// A queued click: only a step that lets events run sees it.
void postClick(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                   Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                   Qt::NoButton, Qt::NoModifier));
}

struct ProgressFixture : ::testing::Test {
    QWidget main;
    TGuiProgressService progress;
    ProgressService* previous = nullptr;
    void SetUp() override {
        main.show();
        QApplication::setActiveWindow(&main);
        previous = setProgressService(&progress);
    }
    void TearDown() override { setProgressService(previous); }
};

} // namespace

TEST_F(ProgressFixture, ShowsTextAndBarModallyOverTheActiveWindow) {
    ProgressStart(QStringLiteral("Подождите, упаковывается книжка..."), 3, false);
    TfrmProgress* w = progress.window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), &main);
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->textLabel()->text(), QStringLiteral("Подождите, упаковывается книжка..."));
    EXPECT_EQ(w->bar()->maximum(), 3);
    EXPECT_EQ(w->bar()->value(), 0);
    EXPECT_FALSE(w->stopButton()->isVisible());
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible()) << "what cannot be stopped is not closed by Escape";

    EXPECT_FALSE(ProgressStep());
    EXPECT_FALSE(ProgressStep(1));
    EXPECT_EQ(w->bar()->value(), 2);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(ProgressStep(5));
    EXPECT_EQ(w->bar()->value(), 3);
    EXPECT_FALSE(w->isVisible()) << "closed at the maximum";

    QPointer<TfrmProgress> watch(w);
    ProgressEnd();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(progress.window(), nullptr);
    EXPECT_FALSE(ProgressStep()) << "a step after the end is harmless";
}

TEST_F(ProgressFixture, StopPressedDuringAStepEndsTheOperation) {
    ProgressStart(QStringLiteral("Экспорт..."), 100, true);
    TfrmProgress* w = progress.window();
    ASSERT_TRUE(w->stopButton()->isVisible());
    EXPECT_FALSE(ProgressStep());
    postClick(w->stopButton());
    EXPECT_TRUE(ProgressStep()) << "the click is taken while the step lets events run";
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(ProgressStep()) << "stays stopped";
    ProgressEnd();

    ProgressStart(QStringLiteral("Экспорт..."), 100, true);
    QTest::keyClick(progress.window(), Qt::Key_Escape);
    EXPECT_TRUE(ProgressStep()) << "Escape stops what can be stopped";
    ProgressEnd();
}

TEST_F(ProgressFixture, ANewStartReplacesTheWindowUnderTheSameOwner) {
    ProgressStart(QStringLiteral("первая"), 2, false);
    QPointer<TfrmProgress> first(progress.window());
    ProgressStart(QStringLiteral("вторая"), 2, false);
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(progress.window(), nullptr);
    EXPECT_EQ(progress.window()->parentWidget(), &main);
    EXPECT_EQ(progress.window()->textLabel()->text(), QStringLiteral("вторая"));
    ProgressEnd();
}

TEST_F(ProgressFixture, OwnerClosedWhileShowingLeavesNothingDangling) {
    auto* owner = new QWidget;
    owner->show();
    QApplication::setActiveWindow(owner);
    ProgressStart(QStringLiteral("x"), 5, false);
    ASSERT_EQ(progress.window()->parentWidget(), owner);
    delete owner;
    EXPECT_EQ(progress.window(), nullptr);
    EXPECT_FALSE(ProgressStep());
    ProgressEnd();
}
