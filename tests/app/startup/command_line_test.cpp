#include "app/startup/command_line.h"
#include "qt_printers.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vlr;

namespace {

const QString kProgram = QStringLiteral("/opt/vellinor/vellinor");

struct LineCase {
    const char* name;
    QString program;
    QStringList args;
    QString raw;
    bool hasArguments;
    QStringList forwarded;
    QStringList startup;
    bool minimized;
    QStringList existing; // files the case pretends exist
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const LineCase kLines[] = {
    {"Empty", kProgram, {},
     "\"/opt/vellinor/vellinor\"", false, {}, {}, false, {}},
    {"EmptyArgumentIsNoArgument", kProgram, {""},
     "\"/opt/vellinor/vellinor\" ", false, {}, {}, false, {}},
    {"UnquotedNameWithBlankStaysOneName", kProgram, {"my", "file.vlr"},
     "\"/opt/vellinor/vellinor\" my file.vlr", true, {"my file.vlr"}, {"my file.vlr"}, false, {"my file.vlr"}},
    {"ArgumentWithBlankIsQuoted", kProgram, {"my file.vlr"},
     "\"/opt/vellinor/vellinor\" \"my file.vlr\"", true, {"my file.vlr"}, {"my file.vlr"}, false, {}},
    // A shell's several names: the whole line names nothing, so its parts count.
    {"TwoPlainNamesAreTwoNames", kProgram, {"a.vlr", "b.vlr"},
     "\"/opt/vellinor/vellinor\" a.vlr b.vlr", true, {"a.vlr", "b.vlr"}, {"a.vlr", "b.vlr"}, false, {}},
    {"MinOpensNothing", kProgram, {"/MIN"},
     "\"/opt/vellinor/vellinor\" /MIN", true, {"/MIN"}, {}, true, {}},
    {"MinInAnyCaseAndAsPrefix", kProgram, {"/minimized"},
     "\"/opt/vellinor/vellinor\" /minimized", true, {"/minimized"}, {}, true, {}},
    {"IniIsNoNotebook", kProgram, {"other.ini"},
     "\"/opt/vellinor/vellinor\" other.ini", true, {}, {}, false, {}},
    {"UpperCaseIniIsNoNotebook", kProgram, {"notes.INI"},
     "\"/opt/vellinor/vellinor\" notes.INI", true, {}, {}, false, {}},
    {"IniFolderIsNoIniFile", kProgram, {"/data/x.ini/notes.vlr"},
     "\"/opt/vellinor/vellinor\" /data/x.ini/notes.vlr", true, {"/data/x.ini/notes.vlr"},
     {"/data/x.ini/notes.vlr"}, false, {"/data/x.ini/notes.vlr"}},
    {"SeveralQuotedNames", kProgram, {"a b.vlr", "c d.vlr"},
     "\"/opt/vellinor/vellinor\" \"a b.vlr\" \"c d.vlr\"", true, {"a b.vlr", "c d.vlr"},
     {"a b.vlr", "c d.vlr"}, false, {}},
    {"QuotedNamesWithSwitchAndIni", kProgram, {"my notes.vlr", "/MIN", "set.ini", "plain.vlr"},
     "\"/opt/vellinor/vellinor\" \"my notes.vlr\" /MIN set.ini plain.vlr", true,
     {"my notes.vlr", "/MIN", "plain.vlr"}, {"my notes.vlr", "plain.vlr"}, true, {}},
    {"NameWithQuotes", kProgram, {"say \"hi\".vlr"},
     "\"/opt/vellinor/vellinor\" \"say \\\"hi\\\".vlr\"", true, {"say \"hi\".vlr"}, {"say \"hi\".vlr"}, false, {}},
    {"BackslashesBeforeQuotes", kProgram, {"a\\\"b", "c\\"},
     "\"/opt/vellinor/vellinor\" \"a\\\\\\\"b\" c\\", true, {"a\\\"b", "c\\"}, {"a\\\"b", "c\\"}, false, {}},
    {"ProgramPathWithBlank", "/opt/my apps/vellinor", {"n.vlr"},
     "\"/opt/my apps/vellinor\" n.vlr", true, {"n.vlr"}, {"n.vlr"}, false, {}},
    // Absolute paths start with "/" like switches do: an existing file is a name.
    {"AbsolutePathIsOpened", kProgram, {"/home/u/n.vlr"},
     "\"/opt/vellinor/vellinor\" /home/u/n.vlr", true, {"/home/u/n.vlr"}, {"/home/u/n.vlr"}, false,
     {"/home/u/n.vlr"}},
    {"AbsolutePathsAmongQuotedNames", kProgram, {"/home/u/my n.vlr", "/home/u/b.vlr"},
     "\"/opt/vellinor/vellinor\" \"/home/u/my n.vlr\" /home/u/b.vlr", true,
     {"/home/u/my n.vlr", "/home/u/b.vlr"}, {"/home/u/my n.vlr", "/home/u/b.vlr"}, false,
     {"/home/u/my n.vlr", "/home/u/b.vlr"}},
    // "/min" inside the program path or a file path is no switch.
    {"MinInsidePathsIsNoSwitch", "/home/mina/vellinor", {"/home/mina/n.vlr"},
     "\"/home/mina/vellinor\" /home/mina/n.vlr", true, {"/home/mina/n.vlr"}, {"/home/mina/n.vlr"}, false,
     {"/home/mina/n.vlr"}},
    {"CyrillicName", kProgram, {"Заметки 2024.vlr"},
     "\"/opt/vellinor/vellinor\" \"Заметки 2024.vlr\"", true, {"Заметки 2024.vlr"}, {"Заметки 2024.vlr"}, false,
     {}},
};
// clang-format on

class CommandLineRules : public ::testing::TestWithParam<LineCase> {};

} // namespace

TEST_P(CommandLineRules, RawLineAndEveryRule) {
    const LineCase& c = GetParam();
    const QSet<QString> existing(c.existing.begin(), c.existing.end());
    const TFileExists exists = [&](const QString& path) { return existing.contains(path); };

    const TCommandLine line(c.program, c.args);
    EXPECT_EQ(line.raw(), c.raw);
    EXPECT_EQ(line.programPathLength(), c.program.size());
    EXPECT_EQ(line.hasArguments(), c.hasArguments);
    EXPECT_EQ(line.forwardedNames(exists), c.forwarded);
    EXPECT_EQ(line.startupNames(exists), c.startup);
    EXPECT_EQ(line.startMinimized(exists), c.minimized);

    // The rules see only the raw line: the same line taken as it stands agrees.
    const TCommandLine again = TCommandLine::fromRaw(c.raw, c.program.size());
    EXPECT_EQ(again.forwardedNames(exists), c.forwarded);
    EXPECT_EQ(again.startupNames(exists), c.startup);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommandLineRules, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, QuotingSurvivesTheSplitter) {
    const QStringList args = {"plain",       "two words", "\"",        "\\\"",
                              "a\\\\ b\\\\", "\\\"\\",    "tab\there", "\"\"",
                              "end\\",       "ä ю",       "x\"y z",    "\\\\server\\share x"};
    QString line;
    for (const QString& a : args)
        line += quoteArgument(a) + u' ';
    EXPECT_EQ(splitArguments(line), args);
}

TEST(CommandLine, SplitterOnHandWrittenLines) {
    // Quotes may start mid-argument; "" inside quotes is a literal quote; a
    // lone backslash is literal.
    EXPECT_EQ(splitArguments("  a\"b c\"d  \t e"), QStringList({"ab cd", "e"}));
    EXPECT_EQ(splitArguments("\"say \"\"hi\"\"\" x"), QStringList({"say \"hi\"", "x"}));
    EXPECT_EQ(splitArguments("C:\\dir\\ \"\""), QStringList({"C:\\dir\\", ""}));
    EXPECT_EQ(splitArguments("\"unterminated arg"), QStringList({"unterminated arg"}));
    EXPECT_TRUE(splitArguments(" \t ").isEmpty());
}

TEST(CommandLine, ProgramPathWithoutQuotes) {
    // Only a hand-made line has it; the path and one blank are cut.
    const TCommandLine line = TCommandLine::fromRaw("/opt/v/vellinor my file.vlr", 15);
    const auto one = [](const QString& name) { return name == QLatin1String("my file.vlr"); };
    EXPECT_EQ(line.forwardedNames(one), QStringList{"my file.vlr"});
    EXPECT_EQ(line.startupNames(one), QStringList{"my file.vlr"});
    EXPECT_FALSE(TCommandLine::fromRaw("/opt/v/vellinor", 15).hasArguments());
}

TEST(CommandLine, IniNames) {
    EXPECT_TRUE(isIniFileName("a.ini"));
    EXPECT_TRUE(isIniFileName("/x/A.Ini"));
    EXPECT_TRUE(isIniFileName(".ini"));
    EXPECT_FALSE(isIniFileName("a.ini.vlr"));
    EXPECT_FALSE(isIniFileName("a.inix"));
    EXPECT_FALSE(isIniFileName("dir.ini/file"));
    EXPECT_FALSE(isIniFileName("ini"));
}

TEST(CommandLine, ClearedLineKeepsNothing) {
    TCommandLine line(kProgram, {"a.vlr"});
    line.clear();
    EXPECT_TRUE(line.raw().isEmpty());
    EXPECT_FALSE(line.hasArguments());
    EXPECT_TRUE(line.forwardedNames().isEmpty());
}

TEST(CommandLine, RunningProgramIsCanonical) {
    const TCommandLine line = TCommandLine::fromApplication();
    const QString program = canonicalProgramPath();
    EXPECT_TRUE(line.raw().startsWith(u'"' + program + u'"'));
    EXPECT_EQ(line.programPathLength(), program.size());
}
