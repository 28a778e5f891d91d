#include "support/scripted_messages.h"

#include <QStringList>

namespace vlr::test {

ScriptedMessages::ScriptedMessages() : m_previous(setMessageService(this)) {}
ScriptedMessages::~ScriptedMessages() { setMessageService(m_previous); }

int ScriptedMessages::show(const MessageRequest& request)
{
    m_shown.append(request);
    return m_answers.isEmpty() ? defaultAnswer(request) : m_answers.takeFirst();
}

QStringList ScriptedMessages::texts() const
{
    QStringList out;
    for (const auto& r : m_shown)
        out << r.text;
    return out;
}

} // namespace vlr::test
