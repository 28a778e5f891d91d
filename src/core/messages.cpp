#include "core/messages.h"

#include <cstdio>

namespace vlr {

namespace {
StderrMessageService g_stderrService;
MessageService* g_service = nullptr;
} // namespace

int defaultAnswer(const MessageRequest& request)
{
    if (request.defaultButton != 0)
        return request.defaultButton;
    for (int bit = 1; bit <= MbIgnore; bit <<= 1)
        if (request.buttons & bit)
            return bit;
    return MbOk;
}

int StderrMessageService::show(const MessageRequest& request)
{
    const QByteArray line = (request.caption.isEmpty() ? request.text : request.caption + QStringLiteral(": ") + request.text)
                                .toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    return defaultAnswer(request);
}

MessageService& messageService() { return g_service ? *g_service : g_stderrService; }

MessageService* setMessageService(MessageService* service)
{
    MessageService* previous = g_service;
    g_service = service;
    return previous;
}

int showMessage(const QString& text, const QString& caption, MsgIcon icon, int buttons, int defaultButton)
{
    return messageService().show(MessageRequest{text, caption, icon, buttons, defaultButton});
}

} // namespace vlr
