// The control's find and replace dialogs and their searches.
#include "editor_fixture.h"

#include <QDialog>
#include <QLineEdit>

using namespace vlr;
using namespace vlr::test;

namespace {

class FindDialogTest : public EditorTest {
protected:
    FindDialogTest() {
        load("red green red blue red");
        edit.OnTextNotFound = [this](TMyCustomRichEdit*, const QString& text) { notFound.append(text); };
    }
    QStringList notFound;
};

} // namespace

TEST_F(FindDialogTest, SecondDialogStartsWithTheOthersText) {
    edit.FindDialog(QStringLiteral("green"));
    auto* replace = edit.ReplaceDialog();
    ASSERT_NE(replace, nullptr);
    EXPECT_EQ(replace->findChild<QLineEdit*>()->text(), QStringLiteral("green"));
    int closed = 0;
    edit.OnCloseFindDialog = [&](TMyCustomRichEdit*, QDialog* d) {
        EXPECT_EQ(d, replace);
        ++closed;
    };
    edit.CloseFindDialog();
    EXPECT_EQ(closed, 1);
}

TEST_F(FindDialogTest, SearchDownUpAndAgain) {
    select(0, 0);
    EXPECT_TRUE(edit.SearchFor(QStringLiteral("red"), true, false, false));
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_TRUE(edit.SearchFor(QStringLiteral("red"), true, false, false));
    EXPECT_EQ(edit.SelStart(), 10);
    EXPECT_TRUE(edit.SearchFor(QStringLiteral("red"), false, false, false));
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_FALSE(edit.SearchFor(QStringLiteral("red"), false, false, false));
    EXPECT_FALSE(edit.FindNext()); // no dialog used yet: nothing, no event
    EXPECT_TRUE(notFound.isEmpty());
}

TEST_F(FindDialogTest, ReplaceAllCountsAndNotifiesOnce) {
    int changes = 0, selections = 0;
    edit.OnChange = [&](TMyCustomRichEdit*) { ++changes; };
    edit.OnSelectionChange = [&](TMyCustomRichEdit*) { ++selections; };
    select(0, 0);
    EXPECT_EQ(edit.ReplaceAll(QStringLiteral("red"), QStringLiteral("reddish"), true, true, false), 3);
    EXPECT_EQ(edit.Text(), QStringLiteral("reddish green reddish blue reddish"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(edit.ReplaceAll(QStringLiteral("red"), QStringLiteral("x"), true, true, false), 0);
}

TEST_F(FindDialogTest, ReplacePassesOverProtectedMatches) {
    load("red \\protect red\\protect0  red");
    select(0, 0);
    EXPECT_EQ(edit.ReplaceAll(QStringLiteral("red"), QStringLiteral("R"), true, false, false), 2);
    EXPECT_EQ(edit.Text(), QStringLiteral("R red R"));
}
