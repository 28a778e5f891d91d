#include "core/messages.h"

#include "core/service_slot.h"

#include <cstdio>

namespace vlr {

namespace {
StderrMessageService g_stderrService;
ServiceSlot<MessageService> g_service(g_stderrService);
} // namespace

int defaultAnswer(const MessageRequest& request) {
    if (request.defaultButton & request.buttons)
        return request.defaultButton;
    for (MsgButton button : kButtonOrder)
        if (request.buttons & button)
            return button;
    return MbOk;
}

int StderrMessageService::show(const MessageRequest& request) {
    const QByteArray line =
        (request.caption.isEmpty() ? request.text : request.caption + QStringLiteral(": ") + request.text)
            .toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    return defaultAnswer(request);
}

MessageService& messageService() {
    return g_service.get();
}

MessageService* setMessageService(MessageService* service) {
    return g_service.install(service);
}

int showMessage(const QString& text, const QString& caption, MsgIcon icon, int buttons, int defaultButton) {
    return messageService().show(MessageRequest{text, caption, icon, buttons, defaultButton});
}

bool ConfirmOnce(const QString& caption, const QString& text, bool& askFlag, int buttons, MsgIcon icon) {
    if (!askFlag)
        return true;
    MessageCheckBox box{kConfirmOnceCheckBox, false};
    MessageRequest request{text, caption, icon, MbOk | (buttons & MbCancel), MbOk};
    request.checkBox = &box;
    const bool confirmed = messageService().show(request) == MbOk;
    if (confirmed && box.checked)
        askFlag = false;
    return confirmed;
}

QString withLineBreaks(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace vlr
