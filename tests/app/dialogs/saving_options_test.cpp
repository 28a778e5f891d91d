// The saving options: the compression question that can be switched off,
// compression on and off, the reserve, auto-save.
#include "app/dialogs/saving_options_dialog.h"
#include "dialog_test.h"
#include "options_dialog_fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>

namespace vlr::test {
namespace {

class SavingOptionsTest : public OptionsDialogTest {
protected:
    bool askCompress = true;
};

TEST_F(SavingOptionsTest, TheCompressionQuestionStopsOnCancelAndCanBeSwitchedOff) {
    const QString toPack = QStringLiteral("Упаковать текущую книжку?");
    const QString toUnpack = QStringLiteral("Распаковать текущую книжку?");
    // One after another on the same notebook.
    const struct {
        int answer;
        bool tick;
        QString asked; // empty: no question
        bool compressedAfter;
        bool askAfter;
    } cases[] = {
        {MbCancel, true, toPack, false, true}, // a ticked box with Cancel does not switch it off
        {MbOk, false, toPack, true, true},
        {MbOk, true, toUnpack, false, false},
        {MbCancel, false, {}, true, false}, // not asked: the toggle goes ahead
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.toStdString());
        messages.clear();
        messages.answer(c.answer, c.tick);
        TfrmSavingOptions dialog(nullptr, book->bound(), askCompress);
        dialog.compressButton()->click();
        const QStringList texts = messages.texts();
        if (c.asked.isEmpty()) {
            EXPECT_FALSE(texts.contains(toPack) || texts.contains(toUnpack));
        } else {
            EXPECT_EQ(texts.value(0), c.asked);
        }
        EXPECT_EQ(nb().HasBookFlag(bfCompressed), c.compressedAfter);
        EXPECT_EQ(askCompress, c.askAfter);
        // A toggle done closes the dialog with OK.
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.asked.isEmpty() || c.answer == MbOk);
        EXPECT_EQ(dialog.statusLabel()->text(),
                  c.compressedAfter ? QStringLiteral("Упакована") : QStringLiteral("Не упакована"));
    }
}

TEST_F(SavingOptionsTest, CompressingAndUncompressingKeepEveryBody) {
    askCompress = false;
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        messages.clear();
        {
            TfrmSavingOptions dialog(nullptr, book->bound(), askCompress);
            dialog.compressButton()->click();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
        EXPECT_EQ(messages.texts(), QStringList{on ? QStringLiteral("Книжка успешно упакована!")
                                                   : QStringLiteral("Книжка успешно распакована!")});
        EXPECT_EQ(storedBodies(), bodies());
        EXPECT_EQ(nb().HasBookFlag(bfCompressed), on);
    }
}

TEST_F(SavingOptionsTest, ANewReserveIsStoredWithOrWithoutAFile) {
    const struct {
        bool withFile;
        int reserve;
    } cases[] = {{true, 700}, {false, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.withFile);
        QTemporaryDir here;
        std::unique_ptr<Book> b =
            Book::create(c.withFile ? here.filePath(QStringLiteral("r.vlr")) : QString());
        for (const QByteArray& body : bodies())
            b->add(QStringLiteral("запись"), body);
        if (c.withFile) {
            ASSERT_EQ(b->nb->SaveNotes(), srOk);
        }
        TfrmSavingOptions dialog(nullptr, b->bound(), askCompress);
        EXPECT_EQ(dialog.reserveBox()->singleStep(), 100);
        dialog.reserveBox()->setValue(c.reserve);
        dialog.okButton()->click();
        EXPECT_EQ(b->nb->Header.ReserveSize(), c.reserve);
        for (const TNodeData* note : b->nb->Notes)
            EXPECT_TRUE(note->Loaded);
        if (c.withFile) {
            // Saved: a fresh open reads the new reserve.
            const QString file = b->nb->FileName;
            b.reset();
            int result = -1;
            b = Book::open(file, &result);
            ASSERT_EQ(result, lrOk);
            EXPECT_EQ(b->nb->Header.ReserveSize(), c.reserve);
        } else {
            EXPECT_TRUE(QDir(here.path()).isEmpty());
        }
    }
}

TEST_F(SavingOptionsTest, AutoSaveFollowsItsBoxAndInterval) {
    const struct {
        bool on;
        int minutes;
        int32_t enabled;
    } cases[] = {{true, 25, -1}, {false, 7, 0}, {true, 100000, -1}};
    for (const auto& c : cases) {
        TfrmSavingOptions dialog(nullptr, book->bound(), askCompress);
        dialog.autoSaveBox()->setChecked(c.on);
        EXPECT_EQ(dialog.minutesBox()->isEnabled(), c.on);
        dialog.minutesBox()->setValue(c.minutes);
        dialog.okButton()->click();
        EXPECT_EQ(nb().Header.AutoSaveEnabled(), c.enabled);
        EXPECT_EQ(nb().Header.AutoSaveMinutes(), c.minutes);
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

} // namespace
} // namespace vlr::test
