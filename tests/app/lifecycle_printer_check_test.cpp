// Without a printer the window is told to keep printing off, and the user is
// warned unless the warning was switched off; with one nothing is shown.
#include "app/lifecycle/printer_check.h"
#include "support/scripted_messages.h"

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

namespace {

TEST(PrinterCheckTest, WarnsOnlyWithoutAPrinterAndWhileAsked) {
    const struct {
        bool printer;
        bool ask;
        bool tick;
        int shown;
        bool askAfter;
    } cases[] = {
        {true, true, false, 0, true},
        {false, true, false, 1, true},
        {false, true, true, 1, false},
        {false, false, false, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "printer " << c.printer << " ask " << c.ask << " tick " << c.tick);
        ScriptedMessages messages;
        messages.answer(MbOk, c.tick);
        bool ask = c.ask;
        EXPECT_EQ(CheckPrinter(ask, [&] { return c.printer; }), c.printer);
        EXPECT_EQ(ask, c.askAfter);
        ASSERT_EQ(messages.shown().size(), c.shown);
        if (c.shown) {
            const ShownMessage& m = messages.shown()[0];
            EXPECT_EQ(m.text, QStringLiteral(
                                  "В системе не установлен драйвер принтера по умолчанию! К сожалению, все "
                                  "функции печати отключены. Настроятельно рекомендуется установить драйвер "
                                  "принтера, даже если у вас нет самого принтера. Подробнее читайте в "
                                  "документации..."));
            EXPECT_EQ(m.buttons, MbOk);
            EXPECT_EQ(m.icon, MsgIcon::Warning);
            EXPECT_TRUE(m.offeredCheckBox.has_value());
        }
    }
}

} // namespace
