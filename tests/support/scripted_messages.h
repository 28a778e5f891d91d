#pragma once
// A message service for tests: records every request and answers from a
// queue (the request's default when the queue is empty). Installs itself for
// its lifetime.
#include "core/messages.h"

#include <QList>

namespace vlr::test {

class ScriptedMessages final : public MessageService {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    int show(const MessageRequest& request) override;

    void answer(int button) { m_answers.append(button); }
    const QList<MessageRequest>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    MessageService* m_previous;
    QList<MessageRequest> m_shown;
    QList<int> m_answers;
};

} // namespace vlr::test
