#include "core/guid.h"

#include <gtest/gtest.h>

using namespace vlr;

TEST(Guid, WindowsByteLayoutAndText) {
    GuidBytes g{};
    ASSERT_TRUE(parseGuid(QStringLiteral("{00112233-4455-6677-8899-AABBCCDDEEFF}"), g));
    const GuidBytes expected = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                                0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    EXPECT_EQ(g, expected);
    EXPECT_EQ(guidText(g), QStringLiteral("{00112233-4455-6677-8899-AABBCCDDEEFF}"));
    EXPECT_TRUE(parseGuid(QStringLiteral("00112233-4455-6677-8899-aabbccddeeff"), g));
    EXPECT_EQ(g, expected);
}

TEST(Guid, RejectsMalformedText) {
    GuidBytes g{};
    for (const char* bad :
         {"", "{}", "{00112233-4455-6677-8899-AABBCCDDEEF}", "{00112233-4455-6677-8899-AABBCCDDEEFF",
          "zz112233-4455-6677-8899-AABBCCDDEEFF", "3"})
        EXPECT_FALSE(parseGuid(QString::fromLatin1(bad), g)) << bad;
    EXPECT_NE(newGuid(), newGuid());
}
