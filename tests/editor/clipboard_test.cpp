// What copy offers, what paste takes, paste special and drop effects.
#include "editor_fixture.h"

#include "editor/clipboard_formats.h"
#include "editor/paste_special_dialog.h"
#include "rtf/rtf.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTextDocument>

#include <memory>

using namespace vlr;
using namespace vlr::test;

namespace {

class ClipboardTest : public EditorTest {};

} // namespace

TEST_F(ClipboardTest, CopyOffersRtfHtmlAndText) {
    load("a \\b bold\\b0  c");
    select(2, 6);
    edit.CopyToClipboard();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    for (const char* type : {"text/rtf", "application/rtf"}) {
        ASSERT_TRUE(data->hasFormat(QLatin1String(type))) << type;
        EXPECT_EQ(rtf::rtfToPlainText(data->data(QLatin1String(type))), QStringLiteral("bold"));
    }
    EXPECT_TRUE(data->hasHtml());
    EXPECT_EQ(data->text(), QStringLiteral("bold"));
}

TEST_F(ClipboardTest, PastePrefersRtfThenHtmlThenText) {
    struct Case {
        const char* name;
        QByteArray rtf;
        QString html, text;
        QString expected;
        bool bold;
    };
    const QList<Case> cases = {
        {"rtf over all", rtfFragment("\\b R"), "<b>H</b>", "T", "R", true},
        {"html over text", {}, "<b>H</b>", "T", "H", true},
        {"text", {}, {}, "T", "T", false},
        {"broken rtf falls to html", "not rtf", "<i>H</i>", "T", "H", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* data = new QMimeData;
        if (!c.rtf.isNull())
            data->setData(QStringLiteral("text/rtf"), c.rtf);
        if (!c.html.isEmpty())
            data->setHtml(c.html);
        data->setText(c.text);
        QApplication::clipboard()->setMimeData(data);
        load("x");
        select(0, 1);
        ASSERT_TRUE(edit.CanPaste());
        edit.PasteFromClipboard();
        EXPECT_EQ(edit.Text(), c.expected);
        select(0, 1);
        EXPECT_EQ(bool(edit.SelAttributes().Style() & fsBold), c.bold);
    }
}

TEST_F(ClipboardTest, PlainModePastesText) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/rtf"), rtfFragment("\\b only rtf"));
    QApplication::clipboard()->setMimeData(data);
    edit.SetPlainText(true);
    edit.LoadFromBytes(QByteArray("x"));
    ASSERT_TRUE(edit.CanPaste());
    select(1, 1);
    edit.PasteFromClipboard();
    EXPECT_EQ(edit.Text(), QStringLiteral("xonly rtf"));
    select(1, 3);
    EXPECT_EQ(edit.SelAttributes().Style(), 0);
}

TEST_F(ClipboardTest, PasteSpecialEntriesAndFormats) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), rtfFragment("\\b rich"));
    data->setText(QStringLiteral("plain"));
    QApplication::clipboard()->setMimeData(data);
    const QList<TPasteSpecialEntry> entries = edit.PasteSpecialEntries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].formatName, QStringLiteral("Текст в формате RTF"));
    EXPECT_EQ(entries[1].formatName, QStringLiteral("Текст в формате RTF без объектов"));
    EXPECT_EQ(entries[2].formatName, QStringLiteral("Неформатированный текст"));
    EXPECT_EQ(entries[2].resultText, QStringLiteral("Текст без какого-либо форматирования"));
    const QList<TPasteSpecialEntry> all = pasteSpecialEntries(nullptr);
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[3].formatName, QStringLiteral("Точечный рисунок"));
    EXPECT_EQ(all[3].resultText, QStringLiteral("Рисунок"));

    load("");
    EXPECT_TRUE(edit.PasteSpecial(TPasteFormat::pfText));
    EXPECT_EQ(edit.Text(), QStringLiteral("plain"));
    EXPECT_TRUE(edit.PasteSpecial(TPasteFormat::pfRtfNoObjects));
    EXPECT_EQ(edit.Text(), QStringLiteral("plainrich"));
    EXPECT_FALSE(edit.PasteSpecial(TPasteFormat::pfBitmap));

    auto* image = new QMimeData;
    QImage pic(4, 3, QImage::Format_RGB32);
    pic.fill(Qt::red);
    image->setImageData(pic);
    QApplication::clipboard()->setMimeData(image);
    EXPECT_TRUE(edit.PasteSpecial(TPasteFormat::pfBitmap));
    EXPECT_EQ(edit.TextLength(), 10);
    EXPECT_TRUE(edit.SaveToBytes().contains("\\pngblip"));
}

TEST_F(ClipboardTest, TextLimitRefusesWhatDoesNotFit) {
    edit.SetMaxLength(5);
    load("abc");
    QApplication::clipboard()->setText(QStringLiteral("12345"));
    select(3, 3);
    edit.PasteFromClipboard();
    EXPECT_EQ(edit.Text(), QStringLiteral("abc"));
    type("de");
    type("f");
    EXPECT_EQ(edit.Text(), QStringLiteral("abcde"));
    EXPECT_EQ(edit.TextLimit(), 5);
    edit.SetMaxLength(0);
    EXPECT_EQ(edit.TextLimit(), 16777215);
}

TEST(DropEffect, KeysAndReverse) {
    struct Case {
        bool ctrl, shift, reverse;
        TDropEffect effect;
    } cases[] = {
        {false, false, false, TDropEffect::deMove}, {true, false, false, TDropEffect::deCopy},
        {true, true, false, TDropEffect::deLink},   {false, true, false, TDropEffect::deMove},
        {false, false, true, TDropEffect::deCopy},  {true, false, true, TDropEffect::deMove},
        {true, true, true, TDropEffect::deLink},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dropEffectFor(c.ctrl, c.shift, c.reverse), c.effect) << c.ctrl << c.shift << c.reverse;
}

TEST_F(ClipboardTest, PasteSpecialDialogListsTheEntries) {
    const QList<TPasteSpecialEntry> entries = pasteSpecialEntries(nullptr);
    TPasteSpecialDialog dialog(nullptr, entries);
    auto* list = dialog.findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("Точечный рисунок"));
    EXPECT_EQ(dialog.chosen(), 0);
    list->setCurrentRow(2);
    EXPECT_EQ(dialog.chosen(), 2);
    bool shown = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        shown |= label->text() == QStringLiteral("Текст без какого-либо форматирования");
    EXPECT_TRUE(shown);
    // The caption of the list is a mnemonic for it, not a text with a literal '&'.
    QLabel* as = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == QStringLiteral("&Как:"))
            as = label;
    ASSERT_NE(as, nullptr);
    EXPECT_EQ(as->buddy(), list);
}

TEST_F(ClipboardTest, DragOverShowsTheEffectOfTheKeys) {
    load("target");
    QMimeData data;
    data.setText(QStringLiteral("x"));
    struct Case {
        Qt::KeyboardModifiers mods;
        bool reverse;
        Qt::DropAction action;
    } cases[] = {
        {Qt::NoModifier, false, Qt::MoveAction},
        {Qt::ControlModifier, false, Qt::CopyAction},
        {Qt::ControlModifier | Qt::ShiftModifier, false, Qt::LinkAction},
        {Qt::NoModifier, true, Qt::CopyAction},
    };
    for (const Case& c : cases) {
        edit.SetReverseDrop(c.reverse);
        QDragMoveEvent move(QPoint(2, 2), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data,
                            Qt::LeftButton, c.mods);
        edit.dragMoveEvent(&move);
        EXPECT_TRUE(move.isAccepted());
        EXPECT_EQ(move.dropAction(), c.action) << int(c.mods) << c.reverse;
    }
}

TEST(ClipboardRtf, CopiedRtfSpellsEveryLetterInUnicode) {
    // Other programs read the clipboard and may ignore the code page (the
    // portable form itself is checked against other readers with the writer).
    const QString text = QStringLiteral("Привет Ωμέγα");
    QTextDocument doc;
    doc.setPlainText(text);
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    const std::unique_ptr<QMimeData> data(mimeDataForSelection(all));
    for (const char* type : {"text/rtf", "application/rtf"}) {
        SCOPED_TRACE(type);
        const QByteArray rtf = data->data(QString::fromLatin1(type));
        EXPECT_TRUE(rtf.contains("\\u1055\\'cf")) << rtf.constData();
        EXPECT_TRUE(rtf.contains("\\u937\\'3f")) << rtf.constData();
        QTextDocument back;
        ASSERT_TRUE(rtf::readRtf(rtf, &back));
        EXPECT_EQ(back.toPlainText(), text);
    }
}
