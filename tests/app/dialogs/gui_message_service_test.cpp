// Message boxes of the running program: buttons both ways, the default, the
// check box, captions and texts as given.
#include "app/dialogs/gui_message_service.h"
#include "dialog_test.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

using namespace vlr;
using namespace vlr::test;

namespace {

QStringList buttonTexts(const QMessageBox& box) {
    QStringList out;
    for (QAbstractButton* b : box.buttons())
        out << b->text();
    out.sort(); // the order on screen follows the desktop's button layout
    return out;
}

struct Installed {
    TGuiMessageService service;
    MessageService* previous = setMessageService(&service);
    ~Installed() { setMessageService(previous); }
};

} // namespace

TEST(GuiMessageService, ButtonsMapBothWaysWithTheirDefaultAndEscape) {
    // clang-format off
    const struct {
        int buttons;
        int defaultButton;
        QStringList texts;
        QString defaultText;
        int escapeAnswer;
    } cases[] = {
        {MbOk,                          0,      {"OK"},                               "OK",       MbOk},
        {MbOk | MbCancel,               0,      {"OK", "Отмена"},                     "OK",       MbCancel},
        {MbOk | MbCancel,               MbCancel, {"OK", "Отмена"},                   "Отмена",   MbCancel},
        {MbYes | MbNo,                  0,      {"Да", "Нет"},                        "Да",       MbNo},
        {MbYes | MbNo | MbCancel,       MbNo,   {"Да", "Нет", "Отмена"},              "Нет",      MbCancel},
        {MbAbort | MbRetry | MbIgnore,  0,      {"Прервать", "Повтор", "Пропустить"}, "Прервать", MbAbort},
        {MbRetry | MbCancel,            0,      {"Повтор", "Отмена"},                 "Повтор",   MbCancel},
        {0,                             0,      {"OK"},                               "OK",       MbOk},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texts.join(QLatin1Char(',')).toStdString());
        MessageRequest request{QStringLiteral("t"), QStringLiteral("c"), MsgIcon::None, c.buttons,
                               c.defaultButton};
        std::unique_ptr<QMessageBox> box(createMessageBox(request, nullptr));
        QStringList texts = c.texts;
        texts.sort();
        EXPECT_EQ(buttonTexts(*box), texts);
        ASSERT_NE(box->defaultButton(), nullptr);
        EXPECT_EQ(box->defaultButton()->text(), c.defaultText);
        EXPECT_EQ(messageAnswer(*box, nullptr), c.escapeAnswer) << "closing the box";
        int answered = 0;
        for (QAbstractButton* b : box->buttons())
            answered |= messageAnswer(*box, b);
        EXPECT_EQ(answered, c.buttons ? c.buttons : int(MbOk)) << "each button answers for itself";
    }
}

TEST(GuiMessageService, CaptionIconAndPlainTextWithLineBreaks) {
    const struct {
        MsgIcon icon;
        QMessageBox::Icon shown;
    } icons[] = {{MsgIcon::None, QMessageBox::NoIcon},
                 {MsgIcon::Information, QMessageBox::Information},
                 {MsgIcon::Warning, QMessageBox::Warning},
                 {MsgIcon::Error, QMessageBox::Critical},
                 {MsgIcon::Question, QMessageBox::Question}};
    for (const auto& i : icons) {
        MessageRequest request{QStringLiteral("<b>Файл</b> a.vlr\r\nне найден\rдальше"),
                               QStringLiteral("Ошибка"), i.icon};
        std::unique_ptr<QMessageBox> box(createMessageBox(request, nullptr));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Ошибка"));
        EXPECT_EQ(box->text(), QStringLiteral("<b>Файл</b> a.vlr\nне найден\nдальше"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText) << "names in texts are not markup";
        EXPECT_EQ(box->icon(), i.shown);
        EXPECT_EQ(box->checkBox(), nullptr);
    }
}

TEST(GuiMessageService, BoxIsOwnedByTheActiveWindowAndAnswersThePressedButton) {
    Installed gui;
    QWidget main;
    main.show();
    QApplication::setActiveWindow(&main);
    QWidget* owner = nullptr;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        owner = box->parentWidget();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(showMessage(QStringLiteral("Сохранить изменения?"), QStringLiteral("Подтверждение"),
                          MsgIcon::Question, MbYes | MbNo | MbCancel),
              MbNo);
    EXPECT_EQ(owner, &main);
}

TEST(GuiMessageService, ConfirmOnceTicksTheCheckBoxThroughTheBox) {
    Installed gui;
    for (const bool tick : {false, true}) {
        SCOPED_TRACE(tick);
        QString boxText;
        bool offeredChecked = true;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            ASSERT_NE(box->checkBox(), nullptr);
            boxText = box->checkBox()->text();
            offeredChecked = box->checkBox()->isChecked();
            box->checkBox()->setChecked(tick);
            box->button(QMessageBox::Ok)->click();
        });
        bool ask = true;
        EXPECT_TRUE(ConfirmOnce(QStringLiteral("Внимание!"), QStringLiteral("Упаковать текущую книжку?"), ask,
                                MbOk | MbCancel, MsgIcon::Question));
        EXPECT_EQ(boxText, QStringLiteral("Больше не спрашивать"));
        EXPECT_FALSE(offeredChecked);
        EXPECT_EQ(ask, !tick);
    }
}
