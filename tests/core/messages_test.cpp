// The ask-once question and the message texts' line breaks.
#include "core/messages.h"
#include "support/scripted_messages.h"

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {

struct ConfirmCase {
    const char* name;
    bool askBefore;
    int buttons;
    int answer;
    bool tick;
    bool shown;
    bool result;
    bool askAfter;
};

} // namespace

TEST(ConfirmOnce, AsksUntilSwitchedOffWithAConfirmedAnswer) {
    // clang-format off
    const ConfirmCase cases[] = {
        {"switched off",          false, MbOk | MbCancel, MbCancel, false, false, true,  false},
        {"OK, box left",          true,  MbOk | MbCancel, MbOk,     false, true,  true,  true},
        {"OK, box ticked",        true,  MbOk | MbCancel, MbOk,     true,  true,  true,  false},
        {"Cancel, box left",      true,  MbOk | MbCancel, MbCancel, false, true,  false, true},
        // Switching off means "always OK": a Cancel must not lead there.
        {"Cancel, box ticked",    true,  MbOk | MbCancel, MbCancel, true,  true,  false, true},
        {"OK only, box ticked",   true,  MbOk,            MbOk,     true,  true,  true,  false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMessages messages;
        messages.answer(c.answer, c.tick);
        bool ask = c.askBefore;
        EXPECT_EQ(ConfirmOnce(QStringLiteral("Внимание!"), QStringLiteral("Упаковать текущую книжку?"), ask,
                              c.buttons, MsgIcon::Question),
                  c.result);
        EXPECT_EQ(ask, c.askAfter);
        ASSERT_EQ(messages.shown().size(), c.shown ? 1 : 0);
        if (!c.shown)
            continue;
        const ShownMessage& m = messages.shown()[0];
        EXPECT_EQ(m.caption, QStringLiteral("Внимание!"));
        EXPECT_EQ(m.text, QStringLiteral("Упаковать текущую книжку?"));
        EXPECT_EQ(m.icon, MsgIcon::Question);
        EXPECT_EQ(m.buttons, c.buttons);
        ASSERT_TRUE(m.offeredCheckBox.has_value());
        EXPECT_EQ(m.offeredCheckBox->text, QStringLiteral("Больше не спрашивать"));
        EXPECT_FALSE(m.offeredCheckBox->checked) << "offered unticked";
    }
}

TEST(ConfirmOnce, OffersOnlyOkAndCancel) {
    ScriptedMessages messages;
    bool ask = true;
    EXPECT_TRUE(ConfirmOnce({}, QStringLiteral("t"), ask, MbYes | MbNo | MbCancel, MsgIcon::Warning));
    EXPECT_EQ(messages.shown()[0].buttons, MbOk | MbCancel);
}

TEST(ConfirmOnce, WithoutAScreenTheDefaultAnswerConfirmsAndKeepsAsking) {
    bool ask = true;
    EXPECT_TRUE(ConfirmOnce({}, QStringLiteral("t"), ask, MbOk | MbCancel, MsgIcon::None));
    EXPECT_TRUE(ask);
}

TEST(MessageText, WindowsLineBreaksBecomeNewlines) {
    EXPECT_EQ(withLineBreaks(QStringLiteral("a\r\nb\rc\nd\r\n\r\ne")), QStringLiteral("a\nb\nc\nd\n\ne"));
}

TEST(MessageService, DefaultAnswerIsTheDefaultButtonElseTheFirstOffered) {
    // clang-format off
    const struct { int buttons; int defaultButton; int answer; } cases[] = {
        {MbOk,                       0,        MbOk},
        {MbOk | MbCancel,            0,        MbOk},
        {MbYes | MbNo | MbCancel,    0,        MbYes},
        {MbAbort | MbRetry | MbIgnore, 0,      MbAbort},
        {MbRetry | MbCancel,         0,        MbRetry},
        {MbYes | MbNo,               MbNo,     MbNo},
        {MbYes | MbNo,               MbCancel, MbYes}, // a default outside the set is not offered
        {0,                          0,        MbOk},
    };
    // clang-format on
    for (const auto& c : cases) {
        MessageRequest r;
        r.buttons = c.buttons;
        r.defaultButton = c.defaultButton;
        EXPECT_EQ(defaultAnswer(r), c.answer) << c.buttons << " " << c.defaultButton;
    }
}
