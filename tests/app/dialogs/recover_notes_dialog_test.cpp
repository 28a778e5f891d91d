// The recover dialog over a notebook's deleted notes.
#include "app/dialogs/recover_notes_dialog.h"
#include "dialog_test.h"
#include "notebook_fixture.h"

#include <QListWidget>
#include <QPushButton>

namespace vlr::test {
namespace {

class RecoverNotesDialogTest : public StorageTest {
protected:
    // Three deleted notes with their own pictures, one live note.
    void SetUp() override {
        StorageTest::SetUp();
        book = Book::create(path());
        book->add(QStringLiteral("живая"), QByteArray("{\\rtf1 a}"));
        for (int i = 0; i < 3; ++i) {
            TNodeData* note = book->add(QStringLiteral("удалённая %1").arg(i), QByteArray("{\\rtf1 b}"));
            note->Record.setImageIndex(int16_t(i + 1));
            book->remove(note);
        }
    }
    std::unique_ptr<Book> book;
};

TEST_F(RecoverNotesDialogTest, RowsFollowTheDeletedNotesUntickedWithTheirPictures) {
    TfrmRecoverNotes dialog(nullptr, book->bound());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Восстановить удалённые записи"));
    EXPECT_TRUE(labelTexts(dialog).contains(
        QStringLiteral("Укажите записи для восстановления и нажмите \"Восстановить\"")));
    ASSERT_EQ(dialog.list()->count(), book->nb->DeletedNotes.size());
    for (int row = 0; row < dialog.list()->count(); ++row) {
        const QListWidgetItem* item = dialog.list()->item(row);
        const TNodeData* note = book->nb->DeletedNotes.at(row);
        EXPECT_EQ(item->text(), note->Record.NoteName());
        EXPECT_EQ(item->checkState(), Qt::Unchecked);
        EXPECT_EQ(item->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                  QPixmap::fromImage(book->nb->Images.image(note->Record.ImageIndex()))
                      .toImage()
                      .scaled(16, 16)
                      .convertToFormat(QImage::Format_ARGB32));
    }
    EXPECT_TRUE(dialog.recoverButton()->isEnabled());
    EXPECT_TRUE(dialog.chosen().isEmpty());
}

TEST_F(RecoverNotesDialogTest, TheTickedRowsAreChosenTopToBottom) {
    const struct { QList<int> ticked; } cases[] = {{{}}, {{1}}, {{2, 0}}, {{0, 1, 2}}};
    for (const auto& c : cases) {
        TfrmRecoverNotes dialog(nullptr, book->bound());
        QList<TNodeData*> expected;
        for (int row = 0; row < dialog.list()->count(); ++row)
            if (c.ticked.contains(row)) {
                dialog.list()->item(row)->setCheckState(Qt::Checked);
                expected << book->nb->DeletedNotes.at(row);
            }
        EXPECT_EQ(dialog.chosen(), expected);
    }
}

TEST_F(RecoverNotesDialogTest, TheFunctionAnswersWithTheTickedOnRecoverAndNothingOnCancel) {
    const struct {
        bool recover;
        qsizetype chosen;
    } cases[] = {{true, 1}, {false, 0}};
    for (const auto& c : cases) {
        whenModal<TfrmRecoverNotes>([&](TfrmRecoverNotes* d) {
            d->list()->item(2)->setCheckState(Qt::Checked);
            if (c.recover)
                d->recoverButton()->click();
            else
                d->reject();
        });
        const QList<TNodeData*> chosen = ChooseNotesToRecoverDialog(nullptr, book->bound());
        ASSERT_EQ(chosen.size(), c.chosen);
        if (c.recover) {
            EXPECT_EQ(chosen.first(), book->nb->DeletedNotes.at(2));
        }
    }
}

TEST_F(RecoverNotesDialogTest, WithoutDeletedNotesItSaysSoAndCannotRecover) {
    auto empty = Book::create(path(QStringLiteral("empty.vlr")));
    empty->add(QStringLiteral("одна"), QByteArray("{\\rtf1 a}"));
    TfrmRecoverNotes dialog(nullptr, empty->bound());
    dialog.show();
    EXPECT_TRUE(dialog.emptyLabel()->isVisible());
    EXPECT_FALSE(dialog.list()->isVisible());
    EXPECT_EQ(dialog.emptyLabel()->text(), QStringLiteral("Нет записей для восстановления"));
    EXPECT_EQ(dialog.emptyLabel()->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_FALSE(dialog.recoverButton()->isEnabled());
}

} // namespace
} // namespace vlr::test
