#pragma once
// A message service for tests: records every request and answers from a
// queue (the request's default when the queue is empty). Installs itself for
// its lifetime.
#include "core/messages.h"

#include <QList>

#include <functional>
#include <optional>

namespace vlr::test {

// A request as it was shown; checkBox is the check box as offered (the
// request's pointer is cleared: it dangles once show() returns).
struct ShownMessage : MessageRequest {
    std::optional<MessageCheckBox> offeredCheckBox;
};

class ScriptedMessages final : public MessageService {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    int show(const MessageRequest& request) override;

    // The next answer; tickCheckBox ticks the request's check box, if it has one.
    void answer(int button, bool tickCheckBox = false) { m_answers.append({button, tickCheckBox, {}}); }
    // The next answer, given after meanwhile ran as if while the box was up
    // (a timer or another start changing the notebooks under it).
    void answerAfter(int button, std::function<void()> meanwhile) {
        m_answers.append({button, false, std::move(meanwhile)});
    }
    const QList<ShownMessage>& shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    struct Answer {
        int button;
        bool tick;
        std::function<void()> meanwhile;
    };
    MessageService* m_previous;
    QList<ShownMessage> m_shown;
    QList<Answer> m_answers;
};

} // namespace vlr::test
