#include "support/scripted_messages.h"

#include <QStringList>

namespace vlr::test {

ScriptedMessages::ScriptedMessages() : m_previous(setMessageService(this)) {}
ScriptedMessages::~ScriptedMessages() {
    setMessageService(m_previous);
}

int ScriptedMessages::show(const MessageRequest& request) {
    ShownMessage shown{request, std::nullopt};
    shown.checkBox = nullptr;
    if (request.checkBox)
        shown.offeredCheckBox = *request.checkBox;
    m_shown.append(shown);
    if (m_answers.isEmpty())
        return defaultAnswer(request);
    const Answer next = m_answers.takeFirst();
    if (next.meanwhile)
        next.meanwhile();
    if (next.tick && request.checkBox)
        request.checkBox->checked = true;
    return next.button;
}

QStringList ScriptedMessages::texts() const {
    QStringList out;
    for (const auto& r : m_shown)
        out << r.text;
    return out;
}

} // namespace vlr::test
