// The editor's formatting commands on a small document, the tree-focus rule,
// and the rules behind the format bar.
#include "config/options.h"
#include "core/codepage.h"
#include "editor/edit_commands.h"
#include "editor/editor_fixture.h"
#include "editor/format_commands.h"
#include "editor/format_host.h"
#include "editor/format_rules.h"
#include "editor/user_fonts.h"

#include <QAction>
#include <functional>

namespace vlr::test {
namespace {

class FakeHost : public TFormatHost {
public:
    bool treeFocus = false;
    bool node = true;
    bool note = true;
    int titleStyle = 0;
    quint32 titleColor = kColorWindowText;
    int marked = 0;
    int zoomStored = -1;
    bool TreeHasFocus() const override { return treeFocus; }
    bool NodeSelected() const override { return node; }
    bool NoteSelected() const override { return note; }
    int TitleStyle() const override { return titleStyle; }
    quint32 TitleColor() const override { return titleColor; }
    quint32 TitleBackColor() const override { return 0; }
    void ToggleTitleStyle(int bit) override { titleStyle ^= bit; }
    void SetTitleColor(quint32 c) override { titleColor = c; }
    void SetTitleBackColor(quint32) override {}
    bool Loading() const override { return false; }
    void MarkModified(bool, bool) override { ++marked; }
    QByteArray StoredBody() const override { return {}; }
    void StoreBoundNote(bool) override {}
    void StoreZoom(int percent) override { zoomStored = percent; }
    std::optional<int> AskNumber(const QString&, const QString&, int, int, int, QWidget*) override {
        return 300;
    }
};

class FormatCommandsTest : public EditorTest {
public:
    FakeHost host;
    TVLROptions options;
    TFormatCommands commands{edit, host, options};
    TEditCommands editCommands{edit, host};
};

struct CommandCase {
    const char* name;
    std::function<QAction*(TFormatCommands&)> action;
    std::function<bool(TMyRichEdit&)> holds;
    bool marksModified;
};

TEST_F(FormatCommandsTest, EachCommandChangesTheSelectedText) {
    const CommandCase cases[] = {
        {"bold", [](auto& c) { return c.FormatBold; },
         [](auto& e) { return e.SelAttributes().Style() == fsBold; }, true},
        {"italic", [](auto& c) { return c.FormatItalic; },
         [](auto& e) { return e.SelAttributes().Style() == fsItalic; }, true},
        {"underline", [](auto& c) { return c.FormatUnderline; },
         [](auto& e) { return e.SelAttributes().Style() == fsUnderline; }, true},
        {"superscript", [](auto& c) { return c.FormatSuperscript; },
         [](auto& e) { return e.SelAttributes().SubscriptStyle() == TSubscriptStyle::ssSuperscript; }, false},
        {"subscript", [](auto& c) { return c.FormatSubscript; },
         [](auto& e) { return e.SelAttributes().SubscriptStyle() == TSubscriptStyle::ssSubscript; }, false},
        {"underline dotted", [](auto& c) { return c.UnderlineDot; },
         [](auto& e) {
             return e.SelAttributes().UnderlineType() == 4 && (e.SelAttributes().Style() & fsUnderline);
         },
         false},
        {"underline thick", [](auto& c) { return c.UnderlineBold; },
         [](auto& e) { return e.SelAttributes().UnderlineType() == 9; }, false},
        {"centre", [](auto& c) { return c.FormatAlignCenter; },
         [](auto& e) { return e.Paragraph().Alignment() == TParaAlignment::paCenter; }, true},
        {"justify", [](auto& c) { return c.FormatAlignJustify; },
         [](auto& e) { return e.Paragraph().Alignment() == TParaAlignment::paJustify; }, true},
        {"bullets", [](auto& c) { return c.FormatBullets; },
         [](auto& e) { return e.Paragraph().Numbering() == TRxNumbering::nsBullet; }, false},
        {"roman numbers", [](auto& c) { return c.NumberingRoman; },
         [](auto& e) {
             return e.Paragraph().Numbering() == TRxNumbering::nsUpCaseRoman &&
                    e.Paragraph().NumberingStart() == 1 && e.Paragraph().LeftIndent() == 10;
         },
         false},
        {"protected", [](auto& c) { return c.FormatSpecialProtected; },
         [](auto& e) { return e.SelAttributes().Protected(); }, true},
        {"disabled", [](auto& c) { return c.FormatSpecialDisabled; },
         [](auto& e) { return e.SelAttributes().Disabled(); }, true},
        {"font up", [](auto& c) { return c.FormatFontUp; },
         [](auto& e) { return e.SelAttributes().Size() == 11; }, true},
        {"font down", [](auto& c) { return c.FormatFontDown; },
         [](auto& e) { return e.SelAttributes().Size() == 9; }, true},
        {"upper case", [](auto& c) { return c.FormatUppercase; },
         [](auto& e) { return e.Text().startsWith("HELLO w"); }, false},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        load("Hello world");
        select(0, 5);
        commands.Reflect();
        host.marked = 0;
        c.action(commands)->trigger();
        select(0, 5);
        EXPECT_TRUE(c.holds(edit));
        EXPECT_EQ(host.marked > 0, c.marksModified);
        // The rest of the line keeps its plain formatting.
        select(6, 11);
        EXPECT_EQ(edit.SelAttributes().Style(), 0);
    }
}

TEST_F(FormatCommandsTest, BoldTogglesOffWhenChecked) {
    load("\\b Hello\\b0  world");
    select(0, 5);
    commands.Reflect();
    EXPECT_TRUE(commands.FormatBold->isChecked());
    commands.FormatBold->trigger();
    select(0, 5);
    EXPECT_EQ(edit.SelAttributes().Style() & fsBold, 0);
}

TEST_F(FormatCommandsTest, WithTheTreeFocusedBoldChangesTheTitleNotTheText) {
    load("Hello world");
    select(0, 5);
    host.treeFocus = true;
    commands.FormatBold->trigger();
    EXPECT_EQ(host.titleStyle, fsBold);
    EXPECT_TRUE(commands.FormatBold->isChecked());
    EXPECT_EQ(host.marked, 0); // the tree marks the notebook itself
    select(0, 5);
    EXPECT_EQ(edit.SelAttributes().Style(), 0);
    commands.ApplyTextColor(0x0000FF);
    EXPECT_EQ(host.titleColor, 0x0000FFu);
}

TEST_F(FormatCommandsTest, ApplyWordFormatsTheWordAtTheCaret) {
    options.EditorApplyWord = true;
    load("Hello world");
    select(8, 8);
    commands.Reflect();
    commands.FormatBold->trigger();
    select(6, 11);
    EXPECT_EQ(edit.SelAttributes().Style(), fsBold);
    options.EditorApplyWord = false;
    load("Hello world");
    select(8, 8);
    commands.Reflect();
    commands.FormatBold->trigger();
    select(6, 11);
    EXPECT_EQ(edit.SelAttributes().Style(), 0);
}

TEST_F(FormatCommandsTest, CodePageConversionKeepsLengthAndForeignLetters) {
    // "Привет" typed in the DOS code page reads as these letters in 1251.
    const QString oemAsAnsi = fromAnsi(toOem(QStringLiteral("Привет")));
    EXPECT_EQ(oemToAnsiText(oemAsAnsi), QStringLiteral("Привет"));
    EXPECT_EQ(ansiToOemText(QStringLiteral("Привет")), oemAsAnsi);
    // Letters outside both code pages stay themselves instead of "?".
    EXPECT_EQ(oemToAnsiText(QStringLiteral("a€ü中")).size(), 4);
    EXPECT_TRUE(oemToAnsiText(QStringLiteral("x中")).endsWith(u'中'));
    EXPECT_EQ(ansiToOemText(QStringLiteral("x中")), QStringLiteral("x中"));
}

TEST_F(FormatCommandsTest, UndoCaptionsNameTheNextAction) {
    load("Hello");
    editCommands.UpdateUndo();
    EXPECT_FALSE(editCommands.EditUndo->isEnabled());
    select(5, 5);
    type(QStringLiteral("ab"));
    editCommands.EditorChange();
    EXPECT_TRUE(editCommands.EditUndo->isEnabled());
    EXPECT_EQ(editCommands.EditUndo->text(), QStringLiteral("Отменить ввод текста"));
    EXPECT_GT(host.marked, 0);
    editCommands.EditUndo->trigger();
    EXPECT_EQ(edit.Text(), QStringLiteral("Hello"));
    EXPECT_EQ(editCommands.EditRedo->text(), QStringLiteral("Повторить ввод текста"));
}

TEST(FormatRules, UndoNames) {
    const std::pair<int, const char*> cases[] = {{0, "Отменить "},
                                                 {1, "Отменить ввод текста"},
                                                 {2, "Отменить удаление"},
                                                 {3, "Отменить перенести'и'оставить"},
                                                 {4, "Отменить перенос в буфер"},
                                                 {5, "Отменить вставку из буфера"},
                                                 {6, "Отменить "},
                                                 {-1, "Отменить "}};
    for (auto [id, caption] : cases)
        EXPECT_EQ(undoCaption(TUndoName(id)), QString::fromUtf8(caption)) << id;
}

TEST(FormatRules, SizeBoxKeepsTheDigits) {
    struct Case {
        const char* text;
        bool chosen;
        std::optional<int> points;
    };
    const Case cases[] = {{"12", false, 12},
                          {"1a2", false, 12},
                          {"abc", false, std::nullopt},
                          {"", false, std::nullopt},
                          {"0", true, std::nullopt},
                          {" 14 pt", true, 14},
                          {"99999999999", false, std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(sizeBoxPoints(QString::fromUtf8(c.text), c.chosen), c.points) << c.text;
}

TEST(FormatRules, DocumentColorsComeFromTheTableInTheFirstKilobyte) {
    struct Case {
        QByteArray body;
        QList<quint32> colors;
    };
    const QByteArray head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}";
    const Case cases[] = {
        {head + "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}\\f0 x}",
         {0x0000FF, 0xFF8000}},
        {head + "\\f0 no table}", {}},
        {head + QByteArray(1000, ' ') + "{\\colortbl ;\\red255\\green0\\blue0;}", {}},
        {head + "{\\colortbl ;\\red1\\green2\\blue3;garbage;\\redx\\green2\\blue0;}",
         {0x030201, kNoColor, 0x000200}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(documentColors(c.body), c.colors) << c.body.constData();
}

TEST(UserFonts, ChoosingKeepsTenNewestFirst) {
    TUserFonts fonts;
    for (int i = 1; i <= 11; ++i)
        EXPECT_TRUE(fonts.Choose(QStringLiteral("F%1").arg(i), false));
    ASSERT_EQ(fonts.Names().size(), 10);
    EXPECT_EQ(fonts.Names().first(), QStringLiteral("F11"));
    EXPECT_FALSE(fonts.Names().contains(QStringLiteral("F1"))); // the oldest went
    // A user font changes places with the first.
    fonts.Choose(QStringLiteral("F5"), false);
    EXPECT_EQ(fonts.Names()[0], QStringLiteral("F5"));
    EXPECT_EQ(fonts.Names()[6], QStringLiteral("F11"));
    // Shift or Ctrl held leaves the list alone.
    const QStringList before = fonts.Names();
    EXPECT_FALSE(fonts.Choose(QStringLiteral("New"), true));
    EXPECT_EQ(fonts.Names(), before);
    // Faces no longer installed leave the list.
    fonts.Merge({QStringLiteral("F5"), QStringLiteral("F9")});
    EXPECT_EQ(fonts.Names(), (QStringList{QStringLiteral("F5"), QStringLiteral("F9")}));
}

TEST_F(FormatCommandsTest, ZoomOtherAsksAndStoresInTheNote) {
    load("Hello");
    editCommands.ZoomOther->trigger();
    EXPECT_EQ(edit.ZoomPercent(), 300);
    EXPECT_EQ(host.zoomStored, 300);
    EXPECT_TRUE(editCommands.ZoomOther->isChecked());
}

} // namespace
} // namespace vlr::test
