// The end of the session runs the window's close; a close the user calls off
// keeps the session, and questions are shown only after leave was asked for.
#include "app/lifecycle/session_end.h"

#include <gtest/gtest.h>

using namespace vlr;

namespace {

struct FakeSession : SessionQuery {
    QStringList calls;
    bool AllowsInteraction() override {
        calls << QStringLiteral("ask leave");
        return true;
    }
    void Cancel() override { calls << QStringLiteral("cancel"); }
};

TEST(SessionEndTest, CancelledCloseKeepsTheSession) {
    const struct {
        bool closed;
        QStringList calls;
    } cases[] = {
        {true, {QStringLiteral("ask leave"), QStringLiteral("close")}},
        {false, {QStringLiteral("ask leave"), QStringLiteral("close"), QStringLiteral("cancel")}},
    };
    for (const auto& c : cases) {
        FakeSession session;
        TSessionEnd end([&] {
            session.calls << QStringLiteral("close");
            return c.closed;
        });
        end.CommitData(session);
        EXPECT_EQ(session.calls, c.calls) << c.closed;
    }
}

TEST(SessionEndTest, RequestDuringTheQuestionsIsTheSameEnd) {
    FakeSession session;
    int closes = 0;
    TSessionEnd* end = nullptr;
    TSessionEnd owner([&] {
        ++closes;
        // The desktop asks again while the first question is open.
        end->CommitData(session);
        return false;
    });
    end = &owner;
    owner.CommitData(session);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(session.calls.count(QStringLiteral("cancel")), 1);
}

} // namespace
