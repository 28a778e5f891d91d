// The main window as a person meets it: the quiet start-up that reopens the
// last session, the caption, files dropped on the window, and a close that
// the user calls off.
#include "app/lifecycle/tip_of_the_day.h"
#include "app/lifecycle/view_commands.h"
#include "config/settingsfile.h"
#include "editor/edit_commands.h"
#include "editor/format_bar.h"
#include "editor/format_commands.h"
#include "editor/richedit.h"
#include "main_window_fixture.h"
#include "tree/MyTreeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace vlr;
using namespace vlr::test;

TEST_F(MainWindowTest, StartUpReopensTheLastSessionQuietlyAndSelectsTheSavedNode) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("Первая"));
    const QString b = makeNotebook(QStringLiteral("b.vlr"), QStringLiteral("Вторая"));
    TSettingsFile ini(settings.filePath);
    ini.writeInteger(QStringLiteral("Environment"), QStringLiteral("NumberOfLastUsed"), 3);
    ini.writeList(QStringLiteral("Environment"), QStringLiteral("LastUsed"),
                  {a, path(QStringLiteral("gone.vlr")), b});
    ini.writeInteger(QStringLiteral("Environment"), QStringLiteral("LastSelected"), 4); // b's first note

    auto form = start();
    EXPECT_TRUE(messages.texts().isEmpty()) << "a notebook gone since is skipped without a message";
    ASSERT_EQ(form->Service().Count(), 2);
    TTreeNode* selected = form->tvNotes->Selected();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->Text(), QStringLiteral("запись 0"));
    EXPECT_EQ(TNotebookService::NotebookOf(selected)->FileName, b);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Вторая - Vellinor"));
    EXPECT_TRUE(form->isEnabled());
    EXPECT_FALSE(form->Flags().quiet);
}

TEST_F(MainWindowTest, StartUpSaysWhenAFileIsNoNotebookOrTheLastSessionLeftOneDamaged) {
    QByteArray junk(100 * 1024, '\0');
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) % 251);
    const QString random = path(QStringLiteral("random.bin"));
    writeFile(random, junk);
    const QString damaged = makeNotebook(QStringLiteral("d.vlr"), QStringLiteral("Повреждённая"));
    QByteArray bytes = fileBytes(damaged);
    bytes.truncate(i32At(bytes, 16) + 10);
    writeFile(damaged, bytes);
    TSettingsFile ini(settings.filePath);
    ini.writeInteger(QStringLiteral("Environment"), QStringLiteral("NumberOfLastUsed"), 1);
    ini.writeList(QStringLiteral("Environment"), QStringLiteral("LastUsed"), {damaged});
    messages.answer(MbOk);
    messages.answer(MbNo); // no salvage now

    auto form = start({random});
    const QStringList texts = messages.texts();
    ASSERT_EQ(texts.size(), 3) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Книжка %1 повреждена").arg(damaged)));
    EXPECT_EQ(texts[1], QStringLiteral("Восстановить уцелевшие записи в новую книжку?"));
    EXPECT_EQ(texts[2], QStringLiteral("Это не файл записной книжки в формате VLR - %1!").arg(random));
    EXPECT_EQ(fileBytes(damaged), bytes);
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(MainWindowTest, EmptyTreeShowsTheApplicationTitleAndDisablesNotebookCommands) {
    auto form = start();
    EXPECT_EQ(form->Service().Count(), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Vellinor"));
    EXPECT_FALSE(form->NotebookCommands().FileClose->isEnabled());
    EXPECT_FALSE(form->NotebookCommands().FileSave->isEnabled());
    EXPECT_TRUE(form->NotebookCommands().FileOpen->isEnabled());
    EXPECT_FALSE(form->Editor->isEnabled());
}

TEST_F(MainWindowTest, DroppedFilesOpenInTheirOrder) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"));
    const QString b = makeNotebook(QStringLiteral("b.vlr"), QStringLiteral("Б"));
    auto form = start();
    EXPECT_TRUE(form->acceptDrops());
    EXPECT_FALSE(form->FilesDropped({QUrl(QStringLiteral("https://example.com/x.vlr"))}));
    EXPECT_TRUE(form->FilesDropped({QUrl::fromLocalFile(b), QUrl::fromLocalFile(a)}));
    QTest::qWait(50);
    ASSERT_EQ(form->Service().Count(), 2) << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->Service().Notebooks()[0]->FileName, b);
    EXPECT_EQ(form->Service().Notebooks()[1]->FileName, a);
}

TEST_F(MainWindowTest, CancelWhileClosingKeepsTheProgramAndEveryNotebook) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"));
    const QString b = makeNotebook(QStringLiteral("b.vlr"), QStringLiteral("Б"));
    auto form = start({a, b});
    ASSERT_EQ(form->Service().Count(), 2);
    for (TNodeRoot* nb : form->Service().Notebooks())
        nb->TreeDirty = true;
    messages.answer(MbCancel);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(form->Service().Count(), 2);
    EXPECT_FALSE(form->Flags().exiting);
    EXPECT_FALSE(form->Flags().closing);

    // Closing for real writes the session for the next start.
    messages.answer(MbNo);
    messages.answer(MbNo);
    EXPECT_TRUE(form->close());
    TSettingsFile ini(settings.filePath);
    EXPECT_EQ(ini.readList(QStringLiteral("Environment"), QStringLiteral("LastUsed")), (QStringList{a, b}));
}

TEST_F(MainWindowTest, TypingMarksTheNotebookAndSelectingAnotherNoteStoresTheText) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"));
    auto form = start({a});
    TNodeRoot* nb = form->Service().Notebooks().first();
    form->tvNotes->SelectNode(nb->Notes[0]->TreeNode);
    nb->TreeDirty = false;
    form->Editor->setFocus();
    form->Editor->SetSelStart(0);
    QTest::keyClicks(form->Editor, QStringLiteral("new "));
    EXPECT_TRUE(nb->TreeDirty);
    form->tvNotes->SelectNode(nb->Notes[1]->TreeNode);
    EXPECT_FALSE(nb->Notes[0]->Clean);
    EXPECT_TRUE(nb->Notes[0]->Body.contains("new ")) << nb->Notes[0]->Body.toStdString();
    form->NotebookCommands().FileSave->trigger();
    EXPECT_FALSE(nb->TreeDirty);
    messages.answer(MbNo);
    form->close();
    int result = -1;
    auto reread = Book::open(a, &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_TRUE(reread->body(0).contains("new "));
}

TEST_F(MainWindowTest, NoteCommandsAndFormattingRunFromTheWindowAndReachTheFile) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"));
    auto form = start({a});
    TNodeRoot* nb = form->Service().Notebooks().first();
    form->tvNotes->SelectNode(nb->Notes[0]->TreeNode);

    // A note added after the selection starts its label editor.
    form->NoteCommands().NotebookAddAfter->trigger();
    ASSERT_EQ(nb->Notes.size(), 3);
    EXPECT_TRUE(form->tvNotes->EditingLabel());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

    // Bold on the first word of the first note, then undone and done again.
    form->tvNotes->SelectNode(nb->Notes[0]->TreeNode);
    form->Editor->setFocus();
    form->Editor->SetSelStart(0);
    form->Editor->SetSelLength(4);
    QAction* bold = form->FormatBar().Format().FormatBold;
    ASSERT_TRUE(bold->isEnabled());
    bold->trigger();
    EXPECT_TRUE(form->Editor->SelAttributes().Style() & fsBold);
    QAction* undo = form->FormatBar().Edit().EditUndo;
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_FALSE(form->Editor->SelAttributes().Style() & fsBold);
    form->Editor->SetSelStart(0);
    form->Editor->SetSelLength(4);
    bold->trigger();

    // The second original note goes; the question is answered Ok.
    TTreeNode* second = nullptr;
    for (TNodeData* note : nb->Notes)
        if (note->TreeNode->Text() == QStringLiteral("запись 1"))
            second = note->TreeNode;
    ASSERT_NE(second, nullptr);
    form->tvNotes->SelectNode(second);
    messages.answer(MbOk);
    form->NoteCommands().NotebookDelete->trigger();
    EXPECT_EQ(nb->Notes.size(), 2);

    form->NotebookCommands().FileSave->trigger();
    messages.answer(MbNo);
    form->close();
    int result = -1;
    auto reread = Book::open(a, &result);
    ASSERT_EQ(result, lrOk);
    ASSERT_EQ(reread->nb->Notes.size(), 2);
    EXPECT_TRUE(reread->body(0).contains("\\b")) << reread->body(0).toStdString();
}

TEST_F(MainWindowTest, CancelWhenTheSessionEndsKeepsTheProgram) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"));
    auto form = start({a});
    form->Service().Notebooks().first()->TreeDirty = true;
    form->Flags().sessionEnd = true;
    messages.answer(MbCancel);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(form->Service().Count(), 1);
    form->Flags().sessionEnd = false;
    messages.answer(MbNo);
    EXPECT_TRUE(form->close());
}

TEST_F(MainWindowTest, CloseWithMinimizeOnCloseMinimisesAndMinimisingSavesEveryNotebook) {
    const QString a = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"));
    auto form = start({a});
    TNodeRoot* nb = form->Service().Notebooks().first();
    form->Service().RenameNote(*nb->Notes[0], QStringLiteral("переименована"));
    ASSERT_TRUE(nb->TreeDirty);
    programOptions().MinimizeOnClose = true;
    programOptions().SaveOnMinimize = true;
    EXPECT_FALSE(form->close()) << "the close becomes a minimise";
    QTest::qWait(20);
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(form->Service().Count(), 1);
    EXPECT_FALSE(nb->TreeDirty) << "minimising saved the notebook";
    int result = -1;
    auto reread = Book::open(a, &result);
    ASSERT_EQ(result, lrOk);
    EXPECT_EQ(reread->nb->Notes[0]->TreeNode->Text(), QStringLiteral("переименована"));
    programOptions().MinimizeOnClose = false;
    form->Flags().exiting = true;
    EXPECT_TRUE(form->close());
}

TEST(TipOfTheDay, IndexWrapsBothWaysAndAnIndexPastTheEndShowsTheEndText) {
    const QString end = QStringLiteral("Советы закончились!");
    const QStringList three{QStringLiteral("а"), QStringLiteral("б"), QStringLiteral("в")};
    struct Case {
        QStringList tips;
        int index;
        QString text;
        int afterNext, afterPrevious;
    };
    const Case cases[] = {
        {three, 0, QStringLiteral("а"), 1, 2},
        {three, 2, QStringLiteral("в"), 0, 1},
        {three, 7, end, 0, 2},  // a saved number from a longer file
        {three, -3, end, 0, 2}, // a broken saved number
        {{}, 0, end, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        TTipCursor cursor(c.tips, c.index);
        EXPECT_EQ(cursor.Text(), c.text);
        TTipCursor forward = cursor;
        forward.Next();
        EXPECT_EQ(forward.Index(), c.afterNext);
        TTipCursor back = cursor;
        back.Previous();
        EXPECT_EQ(back.Index(), c.afterPrevious);
    }
}

TEST_F(MainWindowTest, TipsAreTheNonEmptyLinesAndClosingTheDialogMovesToTheNextTip) {
    QFile file(path(QStringLiteral("tips.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("первый совет\r\n\n  второй  \n");
    file.close();
    EXPECT_EQ(ReadTips(file.fileName()),
              (QStringList{QStringLiteral("первый совет"), QStringLiteral("второй")}));
    EXPECT_TRUE(ReadTips(path(QStringLiteral("missing.txt"))).isEmpty());

    TfrmTotd dialog(0, true, nullptr);
    dialog.findChild<QCheckBox*>(QStringLiteral("cbShowAtStart"))->setChecked(false);
    dialog.show();
    dialog.accept();
    EXPECT_FALSE(dialog.ShowAtStart());
    const int shown = dialog.TipNumber();
    dialog.reject(); // a second close does not skip a tip
    EXPECT_EQ(dialog.TipNumber(), shown);

    auto form = start();
    QAction* tip = form->findChild<QAction*>(QStringLiteral("HelpTipOfDay"));
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isEnabled());
}

TEST_F(MainWindowTest, ViewTogglesHideTheTreeAndStatusBarAndTheEditorOnlyViewGivesThemBack) {
    auto form = start();
    auto action = [&](const char* name) { return form->findChild<QAction*>(QLatin1String(name)); };
    QWidget* tree = form->findChild<QWidget*>(QStringLiteral("twTree"));
    ASSERT_TRUE(tree && action("ViewToggleTree") && action("ViewFullScreen"));
    action("ViewFullScreen")->trigger();
    EXPECT_FALSE(tree->isVisible());
    action("ViewFullScreen")->trigger();
    EXPECT_TRUE(tree->isVisible());
    action("ViewToggleTree")->trigger();
    EXPECT_FALSE(tree->isVisible());
    action("ViewStatus")->trigger();
    EXPECT_FALSE(form->statusBar()->isVisible());

    // The status bar's and clock's states come back at the next start.
    action("ViewClock")->trigger();
    form->close();
    TSettingsFile ini(settings.filePath);
    EXPECT_FALSE(ini.readBool(QStringLiteral("ControlsPos"), QStringLiteral("StatusVisible"), true));
    EXPECT_FALSE(ini.readBool(QStringLiteral("ControlsPos"), QStringLiteral("ClockVisible"), true));
}

// The clock shows what a refresh once a minute keeps true, and its timer wakes
// at the next minute at the latest, never more than ten seconds apart.
TEST(ViewClock, ShowsMinutesAndWakesAtTheNextMinute) {
    const QDate day(2026, 12, 11);
    const struct {
        QTime time;
        int delay;
    } cases[] = {
        {QTime(10, 15, 0, 0), 10000},
        {QTime(10, 15, 49, 990), 10000},
        {QTime(10, 15, 55, 0), 5020},
        {QTime(10, 15, 59, 999), 21},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TViewCommands::ClockRefreshDelay(QDateTime(day, c.time)), c.delay)
            << c.time.toString().toStdString();
    const QString text = TViewCommands::ClockText(QDateTime(day, QTime(9, 5, 42)));
    EXPECT_TRUE(text.endsWith(QStringLiteral("09:05"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("42"))) << text.toStdString();
}
