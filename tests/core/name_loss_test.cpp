// The question before a name loses characters to the notebook's code page.
#include "core/name_loss.h"
#include "support/scripted_messages.h"

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

TEST(NameLoss, AsksOnlyForNamesThatLoseCharactersAndNamesThem) {
    struct Case {
        const char* what;
        QString name;
        int answer;
        bool asked;
        bool stored;
        const char* listed;
    };
    const Case cases[] = {
        {"Cyrillic fits", QStringLiteral("Заметки №1 «ёлка»"), MbNo, false, true, ""},
        {"yes stores", QStringLiteral("Straße"), MbYes, true, true, "ß"},
        {"no keeps", QStringLiteral("Straße"), MbNo, true, false, "ß"},
        {"emoji", QStringLiteral("Эмодзи \U0001F600"), MbYes, true, true, "\U0001F600"},
        {"a combining mark and a zero-width space show as codes", QStringLiteral("e\u0301\u200B"), MbNo, true,
         false, "U+0301, U+200B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedMessages messages;
        messages.answer(c.answer);
        EXPECT_EQ(confirmNameLoss(c.name), c.stored);
        ASSERT_EQ(messages.shown().size(), c.asked ? 1 : 0);
        if (!c.asked)
            continue;
        const ShownMessage& shown = messages.shown().first();
        EXPECT_EQ(shown.buttons, MbYes | MbNo);
        EXPECT_EQ(shown.defaultButton, MbNo);
        EXPECT_TRUE(shown.text.contains(QStringLiteral(": ") + QString::fromUtf8(c.listed) + u'.'))
            << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(QStringLiteral("«?»")));
    }
}

TEST(NameLoss, TheDefaultAnswerOfAServiceWithoutAUserKeepsTheName) {
    // The standard error service answers with the default button: nothing is lost unasked.
    EXPECT_FALSE(confirmNameLoss(QStringLiteral("Ελληνικά")));
}
