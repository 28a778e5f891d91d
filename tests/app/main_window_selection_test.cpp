// The main window between a click on a note and the moment the editor shows
// it: whatever the user does meanwhile acts on the note shown selected; and
// just looking at notes is no change that anybody is asked about.
#include "app/note_commands.h"
#include "app/notebook_commands.h"
#include "editor/richedit.h"
#include "main_window_fixture.h"
#include "tree/MyTreeView.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

using namespace vlr;
using namespace vlr::test;

namespace {

const QString kChanged = QStringLiteral("Изменена");

class MainWindowSelectionTest : public MainWindowTest {
protected:
    std::unique_ptr<TVellinorForm> startOn(const QString& file) {
        auto form = start({file});
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    static TTreeNode* noteNamed(TVellinorForm& form, const QString& name) {
        for (TNodeData* note : form.Service().Notebooks().first()->Notes)
            if (note->TreeNode->Text() == name)
                return note->TreeNode;
        return nullptr;
    }
    // A click on the node's label, as the user selects.
    static void click(TVellinorForm& form, TTreeNode* node) {
        TMyTreeView* tree = form.tvNotes;
        for (TTreeNode* p = node->Parent(); p; p = p->Parent())
            tree->SetNodeExpanded(p, true);
        const QModelIndex index = tree->IndexOf(node);
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(index).center());
    }
    static bool showsChanged(TVellinorForm& form) {
        for (const QLabel* label : form.statusBar()->findChildren<QLabel*>())
            if (label->text() == kChanged)
                return true;
        return false;
    }
};

} // namespace

TEST_F(MainWindowSelectionTest, WhatFollowsAClickActsOnTheNoteClickedWhenEverItComes) {
    const QString file = makeNotebook(QStringLiteral("a.vlr"), QStringLiteral("А"), 3);
    auto form = startOn(file);
    TNodeRoot* nb = form->Service().Notebooks().first();
    TMyTreeView* tree = form->tvNotes;
    enum Act { AddAfter, Typing };
    for (const Act act : {AddAfter, Typing}) {
        for (const int delay : {0, 50, TMyCustomTreeView::kChangeDelayMs, 300}) {
            const QString tag = QStringLiteral("%1-%2").arg(act == AddAfter ? "add" : "type").arg(delay);
            SCOPED_TRACE(tag.toStdString());
            TTreeNode* edited = noteNamed(*form, QStringLiteral("запись 0"));
            TTreeNode* clicked = noteNamed(*form, QStringLiteral("запись 1"));
            ASSERT_TRUE(edited && clicked);
            tree->SelectNode(edited);
            form->Editor->setFocus();
            form->Editor->SetSelStart(0);
            QTest::keyClicks(form->Editor, QStringLiteral("before-%1 ").arg(tag));

            click(*form, clicked);
            if (delay > 0)
                QTest::qWait(delay);
            if (act == AddAfter) {
                const QList<TNodeData*> before = nb->Notes;
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Insert, Qt::AltModifier);
                ASSERT_EQ(nb->Notes.size(), before.size() + 1) << "Alt+Ins added a note";
                TTreeNode* added = nullptr;
                for (TNodeData* note : nb->Notes)
                    if (!before.contains(note))
                        added = note->TreeNode;
                ASSERT_NE(added, nullptr);
                EXPECT_EQ(added, clicked->NextSibling()) << "the new note comes right after the note clicked";
                EXPECT_EQ(tree->Selected(), added);
                if (tree->EditingLabel())
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 50);
                EXPECT_EQ(tree->CurrentNote(), added->Note()) << "the selection stays on the new note";
            } else {
                QTest::keyClicks(form->Editor, QStringLiteral("after-%1 ").arg(tag));
                EXPECT_EQ(tree->CurrentNote(), clicked->Note());
                tree->SaveNodeRTF(tree->Selected(), true);
                EXPECT_TRUE(clicked->Note()->Body.contains(QStringLiteral("after-%1").arg(tag).toUtf8()))
                    << clicked->Note()->Body.toStdString();
            }
            EXPECT_TRUE(edited->Note()->Body.contains(QStringLiteral("before-%1").arg(tag).toUtf8()))
                << "the note edited before the click keeps its text";
            EXPECT_FALSE(edited->Note()->Body.contains("after-")) << edited->Note()->Body.toStdString();
        }
    }
    form->Flags().exiting = true;
    messages.answer(MbNo);
    form->close();
}

TEST_F(MainWindowSelectionTest, LookingAtANotebookIsNoChangeYetItReopensAsItWasLeft) {
    {
        auto b = Book::create(path(QStringLiteral("a.vlr")));
        TNodeData* parent = b->add(QStringLiteral("раздел"), QByteArray("{\\rtf1\\ansi parent text}"));
        b->add(QStringLiteral("вложенная"), QByteArray("{\\rtf1\\ansi child}"), parent->TreeNode);
        b->add(QStringLiteral("простая"), QByteArray("{\\rtf1\\ansi plain words here}"));
        ASSERT_EQ(b->service.Save(*b->nb), srOk);
    }
    const QString file = path(QStringLiteral("a.vlr"));
    auto form = startOn(file);
    TMyTreeView* tree = form->tvNotes;
    TNodeRoot* nb = form->Service().Notebooks().first();
    ASSERT_FALSE(showsChanged(*form));

    // Viewing: a click on a note, a branch opened, the caret moved in the text.
    click(*form, noteNamed(*form, QStringLiteral("простая")));
    QTest::qWait(TMyCustomTreeView::kChangeDelayMs + 100);
    ASSERT_EQ(tree->CurrentNote(), noteNamed(*form, QStringLiteral("простая"))->Note());
    TTreeNode* branch = noteNamed(*form, QStringLiteral("раздел"));
    const bool wasOpen = branch->Expanded();
    tree->SetNodeExpanded(branch, !wasOpen);
    form->Editor->setFocus();
    QTest::keyClick(form->Editor, Qt::Key_End);
    EXPECT_FALSE(showsChanged(*form));
    EXPECT_FALSE(nb->TreeDirty);

    // Closing asks nothing, yet the file now remembers the view.
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    int result = -1;
    auto reread = Book::open(file, &result);
    ASSERT_EQ(result, lrOk);
    const QList<TNodeData*>& notes = reread->nb->Notes;
    ASSERT_EQ(notes.size(), 3);
    EXPECT_EQ(reread->nb->Header.SelectedNote(), 2);
    EXPECT_EQ(notes[0]->Record.Expanded() != 0, !wasOpen);
    EXPECT_GT(notes[2]->Record.SelStart(), 0) << "the caret moved to the end of the line";
    EXPECT_EQ(reread->body(2), QByteArray("{\\rtf1\\ansi plain words here}")) << "the text is as it was";
    reread.reset();

    // Opened again (not as the last session), it shows that note; typing is
    // a change and says so.
    TSettingsFile(settings.filePath)
        .writeBool(QStringLiteral("Options"), QStringLiteral("AutoLoadPrevious"), false);
    form = startOn(file);
    nb = form->Service().Notebooks().first();
    EXPECT_EQ(form->tvNotes->Selected(), noteNamed(*form, QStringLiteral("простая")));
    form->Editor->setFocus();
    QTest::keyClicks(form->Editor, QStringLiteral("x"));
    EXPECT_TRUE(showsChanged(*form));
    messages.answer(MbNo);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("Записная книжка не сохранена! Сохранить ее сейчас?")});
}
