// The keyboard's and mouse's command keys reach the window's commands from
// any widget inside it, and only commands that exist and are enabled.
#include "app/lifecycle/app_command_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace vlr;

namespace {

// A focusable child that records what reached it.
class Recorder : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int keys = 0;
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        ++keys;
        QLineEdit::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override {
        ++presses;
        QLineEdit::mousePressEvent(e);
    }
};

const char* const kCommands[] = {"NotebookHistBack", "NotebookHistForw", "EditFind",  "FavoritesOrganizer",
                                 "HelpTopics",       "FileNew",          "FileOpen",  "FileClose",
                                 "FileSave",         "FilePrint",        "EditUndo",  "EditRedo",
                                 "EditCopy",         "EditCut",          "EditPaste", "ToolsSpellCheck"};

class AppCommandKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kCommands) {
            auto* a = new QAction(QString::fromLatin1(name), &window);
            a->setObjectName(QLatin1String(name));
            QObject::connect(a, &QAction::triggered, &window, [this, name] { ran << QLatin1String(name); });
        }
        keys = std::make_unique<TAppCommandKeys>(
            window, [this](const QString& name) { return window.findChild<QAction*>(name); });
    }

    bool pressKey(QWidget* to, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent e(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(to, &e);
        return !ran.isEmpty();
    }
    void pressButton(QWidget* to, Qt::MouseButton button) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), button, button, Qt::NoModifier);
        QApplication::sendEvent(to, &e);
    }
    QAction* action(const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }

    QWidget window;
    Recorder* child = new Recorder(&window);
    std::unique_ptr<TAppCommandKeys> keys;
    QStringList ran;
};

TEST_F(AppCommandKeysTest, EachKeyRunsItsCommandAndIsConsumed) {
    const struct {
        int key;
        const char* command;
    } cases[] = {
        {Qt::Key_Back, "NotebookHistBack"},
        {Qt::Key_Forward, "NotebookHistForw"},
        {Qt::Key_Search, "EditFind"},
        {Qt::Key_Find, "EditFind"},
        {Qt::Key_Favorites, "FavoritesOrganizer"},
        {Qt::Key_Help, "HelpTopics"},
        {Qt::Key_New, "FileNew"},
        {Qt::Key_Open, "FileOpen"},
        {Qt::Key_Close, "FileClose"},
        {Qt::Key_Save, "FileSave"},
        {Qt::Key_Print, "FilePrint"},
        {Qt::Key_Undo, "EditUndo"},
        {Qt::Key_Redo, "EditRedo"},
        {Qt::Key_Copy, "EditCopy"},
        {Qt::Key_Cut, "EditCut"},
        {Qt::Key_Paste, "EditPaste"},
        {Qt::Key_Spell, "ToolsSpellCheck"},
    };
    for (const auto& c : cases) {
        ran.clear();
        child->keys = 0;
        // Modifiers do not change what a command key means.
        pressKey(child, c.key, Qt::ShiftModifier);
        EXPECT_EQ(ran, QStringList{QLatin1String(c.command)}) << c.command;
        EXPECT_EQ(child->keys, 0) << c.command;
    }
}

TEST_F(AppCommandKeysTest, MouseBackAndForwardWalkTheHistory) {
    pressButton(child, Qt::BackButton);
    pressButton(&window, Qt::ForwardButton);
    pressButton(child, Qt::LeftButton);
    EXPECT_EQ(ran, (QStringList{QStringLiteral("NotebookHistBack"), QStringLiteral("NotebookHistForw")}));
    EXPECT_EQ(child->presses, 1);
}

TEST_F(AppCommandKeysTest, OrdinaryKeysPassThrough) {
    for (int key : {int(Qt::Key_A), int(Qt::Key_F1), int(Qt::Key_Backspace), int(Qt::Key_VolumeUp)}) {
        EXPECT_FALSE(pressKey(child, key)) << key;
    }
    EXPECT_EQ(child->keys, 4);
}

TEST_F(AppCommandKeysTest, DisabledOrMissingCommandLeavesTheKeyToTheWidget) {
    action("EditCopy")->setEnabled(false);
    delete action("EditPaste");
    EXPECT_FALSE(pressKey(child, Qt::Key_Copy));
    EXPECT_FALSE(pressKey(child, Qt::Key_Paste));
    EXPECT_EQ(child->keys, 2);
}

TEST_F(AppCommandKeysTest, OtherWindowsKeepTheirKeys) {
    QWidget dialog(&window, Qt::Dialog);
    Recorder inDialog(&dialog);
    EXPECT_FALSE(pressKey(&inDialog, Qt::Key_Back));
    EXPECT_EQ(inDialog.keys, 1);
}

} // namespace
