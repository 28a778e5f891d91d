#include "app/dialogs/gui_message_service.h"

#include "app/dialogs/dialog_parts.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace vlr {

namespace {

const char* const kAnswerProperty = "vlrAnswer";

QMessageBox::StandardButton qtButton(MsgButton button) {
    switch (button) {
    case MbOk:
        return QMessageBox::Ok;
    case MbCancel:
        return QMessageBox::Cancel;
    case MbYes:
        return QMessageBox::Yes;
    case MbNo:
        return QMessageBox::No;
    case MbAbort:
        return QMessageBox::Abort;
    case MbRetry:
        return QMessageBox::Retry;
    case MbIgnore:
        return QMessageBox::Ignore;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Escape and the close button give the answer that does the least.
constexpr MsgButton kEscapeOrder[] = {MbCancel, MbNo, MbAbort, MbIgnore, MbOk};

} // namespace

QMessageBox* createMessageBox(const MessageRequest& request, QWidget* owner) {
    auto* box = new QMessageBox(owner);
    box->setWindowTitle(request.caption);
    // Texts carry file names and user data: never read them as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(withLineBreaks(request.text));
    box->setIcon(boxIcon(request.icon));

    MessageRequest offered = request;
    offered.buttons = 0;
    for (MsgButton b : kButtonOrder)
        offered.buttons |= request.buttons & b;
    if (offered.buttons == 0)
        offered.buttons = MbOk; // a box must be closable
    const int defaultButton = defaultAnswer(offered);
    for (MsgButton b : kButtonOrder) {
        if (!(offered.buttons & b))
            continue;
        QPushButton* button = box->addButton(qtButton(b));
        button->setText(standardButtonText(QDialogButtonBox::StandardButton(int(qtButton(b)))));
        button->setProperty(kAnswerProperty, int(b));
        if (b == defaultButton)
            box->setDefaultButton(button);
    }
    for (MsgButton b : kEscapeOrder) {
        if (offered.buttons & b) {
            box->setEscapeButton(box->button(qtButton(b)));
            break;
        }
    }
    if (request.checkBox) {
        auto* check = new QCheckBox(request.checkBox->text, box);
        check->setChecked(request.checkBox->checked);
        box->setCheckBox(check);
    }
    return box;
}

int messageAnswer(const QMessageBox& box, const QAbstractButton* pressed) {
    const QAbstractButton* button = pressed ? pressed : box.escapeButton();
    return button ? button->property(kAnswerProperty).toInt() : int(MbOk);
}

int TGuiMessageService::show(const MessageRequest& request) {
    std::unique_ptr<QMessageBox> box(createMessageBox(request, QApplication::activeWindow()));
    box->exec();
    if (request.checkBox && box->checkBox())
        request.checkBox->checked = box->checkBox()->isChecked();
    return messageAnswer(*box, box->clickedButton());
}

} // namespace vlr
