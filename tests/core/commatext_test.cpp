#include "core/commatext.h"

#include <gtest/gtest.h>

using namespace vlr;

namespace {

struct WriteCase {
    QStringList items;
    bool extraComma;
    QString text;
};

struct ReadCase {
    QString text;
    QStringList items;
};

} // namespace

TEST(CommaText, WritesWithTheQuotingRules) {
    const WriteCase cases[] = {
        {{}, false, ""},
        {{}, true, ""},
        {{"a", "b"}, false, "a,b"},
        {{"a", "b"}, true, "a,b,"},
        {{"two words", "x,y", "say \"hi\""}, false, R"("two words","x,y","say ""hi""")"},
        {{"tab\there"}, false, "\"tab\there\""},
        {{""}, false, R"("")"},
        {{""}, true, R"("",)"},
        {{"a", "", "b"}, false, "a,,b"},
        {{"a", ""}, false, R"(a,"")"},
        {{"a", ""}, true, "a,,"},
        {{QStringLiteral("Заметки"), QStringLiteral("/home/я/книжка 1.vlr")},
         true,
         QStringLiteral("Заметки,\"/home/я/книжка 1.vlr\",")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toCommaText(c.items, c.extraComma), c.text) << c.items.join('|').toStdString();
        EXPECT_EQ(fromCommaText(c.text), c.items) << c.text.toStdString();
    }
}

TEST(CommaText, ReadsLooseAndBrokenText) {
    const ReadCase cases[] = {
        {",", {}},
        {"  ,  ", {}},
        {"a,", {"a"}},
        {"a b", {"a", "b"}},
        {"  a ,  b  ", {"a", "b"}},
        {",a", {"", "a"}},
        {"a,,", {"a", ""}},
        {R"("unterminated, text)", {"unterminated, text"}},
        {R"("ab"cd,e)", {"ab", "cd", "e"}},
        {R"("""")", {"\""}},
        {R"(x,"")", {"x", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromCommaText(c.text), c.items) << c.text.toStdString();
}
