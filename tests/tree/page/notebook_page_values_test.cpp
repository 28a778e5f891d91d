#include "tree/page/notebook_page_values.h"

#include "notebook_fixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vlr {
namespace {

// 5 March 2024, 07:08:09 and 31 December 2025, 23:59:59 as stored day counts.
const TDateTime kMarch5 = 45356 + (7 * 3600 + 8 * 60 + 9) / 86400.0;
const TDateTime kNewYearsEve = 46022 + (23 * 3600 + 59 * 60 + 59) / 86400.0;

// A visible separator, so a grouping that ignores the user's choice shows.
NotebookPageFormat testFormat() {
    NotebookPageFormat format;
    format.groupSeparator = QStringLiteral(" ");
    return format;
}

NotebookPageInput typicalNotebook() {
    NotebookPageInput in;
    in.fileName = QStringLiteral("/home/anna/Записи/работа.vlr");
    in.noteCount = 12;
    in.created = kMarch5;
    in.fileSize = 1234567;
    in.wastedSpace = 20480;
    in.version = 5;
    return in;
}

QStringList valuesOf(const QList<NotebookPageRow>& rows) {
    QStringList values;
    for (const NotebookPageRow& row : rows)
        values << row.value;
    return values;
}

struct RowsCase {
    const char* what;
    NotebookPageInput input;
    QStringList expected; // file name, notes, created, size, unused, status, version
};

void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.what;
}

class NotebookPageRowsTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(NotebookPageRowsTest, ShowsEveryValueAsThePageFormatsIt) {
    const RowsCase& c = GetParam();
    EXPECT_EQ(valuesOf(notebookPageRows(c.input, testFormat())), c.expected) << c.what;
}

NotebookPageInput with(auto change) {
    NotebookPageInput in = typicalNotebook();
    change(in);
    return in;
}

const QString kFile = QStringLiteral("/home/anna/Записи/работа.vlr");
const QString kCreated = QStringLiteral("5 мар 2024, 07:08:09");

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, NotebookPageRowsTest, ::testing::Values(
    RowsCase{"typical notebook", typicalNotebook(),
             {kFile, "12", kCreated, "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"two-digit day, last second of the day", with([](auto& in) { in.created = kNewYearsEve; }),
             {kFile, "12", "31 дек 2025, 23:59:59", "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"never saved: no file, no sizes", with([](auto& in) { in.fileName.clear(); }),
             {"Н/Д", "12", kCreated, "? байт(а)", "? байт(а)", "Нет", "5"}},
    RowsCase{"no notes: unused space unknown", with([](auto& in) { in.noteCount = 0; }),
             {kFile, "0", kCreated, "1 234 567 байт(а)", "? байт(а)", "Нет", "5"}},
    RowsCase{"freshly packed", with([](auto& in) { in.wastedSpace = 0; in.fileSize = 1024; }),
             {kFile, "12", kCreated, "1 024 байт(а)", "0 байт(а)", "Нет", "5"}},
    RowsCase{"three digits stay whole", with([](auto& in) { in.wastedSpace = 999; in.fileSize = 1000; }),
             {kFile, "12", kCreated, "1 000 байт(а)", "999 байт(а)", "Нет", "5"}},
    RowsCase{"huge sizes", with([](auto& in) {
                 in.fileSize = std::numeric_limits<qint64>::max(); in.wastedSpace = 4294967296; }),
             {kFile, "12", kCreated, "9 223 372 036 854 775 807 байт(а)", "4 294 967 296 байт(а)", "Нет", "5"}},
    RowsCase{"many notes are not grouped", with([](auto& in) { in.noteCount = 100000; }),
             {kFile, "100000", kCreated, "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"file size unknown", with([](auto& in) { in.fileSize = -1; }),
             {kFile, "12", kCreated, "? байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"damaged tree offset: negative unused space", with([](auto& in) { in.wastedSpace = -520; }),
             {kFile, "12", kCreated, "1 234 567 байт(а)", "? байт(а)", "Нет", "5"}},
    RowsCase{"creation time never set", with([](auto& in) { in.created = 0; }),
             {kFile, "12", "Н/Д", "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"creation time before the epoch", with([](auto& in) { in.created = -1.5; }),
             {kFile, "12", "Н/Д", "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"creation time past the calendar", with([](auto& in) { in.created = 1e12; }),
             {kFile, "12", "Н/Д", "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"creation time not a number", with([](auto& in) { in.created = std::nan(""); }),
             {kFile, "12", "Н/Д", "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "5"}},
    RowsCase{"old format version", with([](auto& in) { in.version = 0; }),
             {kFile, "12", kCreated, "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "0"}},
    RowsCase{"version read as unsigned", with([](auto& in) { in.version = 4294967295u; }),
             {kFile, "12", kCreated, "1 234 567 байт(а)", "20 480 байт(а)", "Нет", "4294967295"}}));
// clang-format on

struct FlagsCase {
    bool compressed, encrypted, readOnly;
    const char* expected;
};

void PrintTo(const FlagsCase& c, std::ostream* os) {
    *os << c.expected;
}

class NotebookPageFlagsTest : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(NotebookPageFlagsTest, StatusNamesEveryFlagInOrder) {
    const FlagsCase& c = GetParam();
    NotebookPageInput in = typicalNotebook();
    in.compressed = c.compressed;
    in.encrypted = c.encrypted;
    in.readOnly = c.readOnly;
    const QList<NotebookPageRow> rows = notebookPageRows(in, testFormat());
    EXPECT_EQ(rows[int(NotebookPageField::Flags)].value, QString::fromUtf8(c.expected));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(AllCombinations, NotebookPageFlagsTest, ::testing::Values(
    FlagsCase{false, false, false, "Нет"},
    FlagsCase{true,  false, false, "Упакована"},
    FlagsCase{false, true,  false, "Защищена"},
    FlagsCase{false, false, true,  "Чтение"},
    FlagsCase{true,  true,  false, "Упакована   Защищена"},
    FlagsCase{true,  false, true,  "Упакована   Чтение"},
    FlagsCase{false, true,  true,  "Защищена   Чтение"},
    FlagsCase{true,  true,  true,  "Упакована   Защищена   Чтение"}));
// clang-format on

TEST(NotebookPageRows, EveryRowNamesItsLabelAndCaptionInPageOrder) {
    const QList<NotebookPageRow> rows = notebookPageRows(typicalNotebook(), testFormat());
    const QList<std::pair<QString, QString>> expected = {
        {"lbFileName", "Имя файла:"}, {"lbNumOfNotes", "Число записей:"}, {"lbCreated", "Создана:"},
        {"lbSize", "Размер книжки:"}, {"lbWasted", "Неиспользовано:"},    {"lbFlags", "Статус:"},
        {"lbVersion", "Версия VLR:"},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(int(rows[i].field), i);
        EXPECT_EQ(rows[i].labelName, expected[i].first);
        EXPECT_EQ(rows[i].caption, expected[i].second);
    }
}

TEST(NotebookPageRows, FileNameAndUnusedSpaceCarryTheirTips) {
    const QString packTip =
        QStringLiteral("Используйте \"Файл->Сжать книжку\" чтобы уменьшить этот размер до нуля.");
    for (const QList<NotebookPageRow>& rows :
         {notebookPageRows(typicalNotebook(), testFormat()), unavailableNotebookPageRows()}) {
        EXPECT_EQ(rows[int(NotebookPageField::Wasted)].toolTip, packTip);
        EXPECT_TRUE(rows[int(NotebookPageField::Size)].toolTip.isEmpty());
    }
    EXPECT_EQ(notebookPageRows(typicalNotebook(), testFormat())[0].toolTip, kFile);
    EXPECT_TRUE(unavailableNotebookPageRows()[0].toolTip.isEmpty());
}

TEST(NotebookPageRows, WithoutANotebookEveryValueIsUnavailable) {
    EXPECT_EQ(valuesOf(unavailableNotebookPageRows()),
              QStringList({"Н/Д", "Н/Д", "Н/Д", "? байт(а)", "? байт(а)", "Нет", "Н/Д"}));
}

TEST(NotebookPageRows, DatesFollowTheGivenLocale) {
    NotebookPageFormat format = testFormat();
    format.dates.timeSeparator = u'.';
    EXPECT_EQ(notebookPageRows(typicalNotebook(), format)[int(NotebookPageField::Created)].value,
              QStringLiteral("5 мар 2024, 07.08.09"));
}

TEST(GroupDigits, GroupsInThreesFromTheRight) {
    const QString nbsp = QStringLiteral("\u00A0");
    EXPECT_EQ(groupDigits(0, nbsp), "0");
    EXPECT_EQ(groupDigits(12, nbsp), "12");
    EXPECT_EQ(groupDigits(123456, nbsp), "123\u00A0456");
    EXPECT_EQ(groupDigits(1234567, QString()), "1234567");
    EXPECT_EQ(groupDigits(1234567, QStringLiteral("<>")), "1<>234<>567");
    EXPECT_EQ(groupDigits(-1234, QStringLiteral(" ")), "-1 234");
    EXPECT_EQ(groupDigits(-100, QStringLiteral(" ")), "-100");
    EXPECT_EQ(groupDigits(std::numeric_limits<qint64>::min(), QStringLiteral(" ")),
              "-9 223 372 036 854 775 808");
}

TEST(NotebookRootCommands, NamesAndTextsInToolbarOrder) {
    const std::pair<NotebookRootCommand, std::pair<const char*, const char*>> expected[] = {
        {NotebookRootCommand::Visual, {"NoteRootVisual", "Визуальные..."}},
        {NotebookRootCommand::Saving, {"NoteRootSaving", "Сохранение..."}},
        {NotebookRootCommand::Security, {"NoteRootSecurity", "Безопасность..."}},
        {NotebookRootCommand::Author, {"NoteRootAuthor", "Авторские..."}},
    };
    for (const auto& [command, texts] : expected) {
        EXPECT_EQ(rootCommandName(command), QString::fromUtf8(texts.first));
        EXPECT_EQ(rootCommandText(command), QString::fromUtf8(texts.second));
    }
    EXPECT_THROW(rootCommandText(NotebookRootCommand(NotebookRootCommandCount)), std::out_of_range);
}

// The values read from notebooks made and saved by the storage engine.
class InputFromNotebookTest : public test::StorageTest {};

TEST_F(InputFromNotebookTest, ReadsASavedNotebook) {
    auto book = test::Book::create(path(), bfCompressed, {}, 100);
    book->add(QStringLiteral("Первая"), QByteArray(300, 'a'));
    book->add(QStringLiteral("Вторая"), QByteArray(50, 'b'));
    ASSERT_EQ(book->service.Save(*book->nb), srOk);

    const NotebookPageInput in = inputFromNotebook(*book->nb);
    EXPECT_EQ(in.fileName, path());
    EXPECT_EQ(in.noteCount, 2);
    EXPECT_EQ(in.created, book->nb->Header.Created());
    EXPECT_GT(in.created, 0);
    EXPECT_EQ(in.fileSize, QFileInfo(path()).size());
    EXPECT_EQ(in.wastedSpace, 0);
    EXPECT_TRUE(in.compressed);
    EXPECT_FALSE(in.encrypted);
    EXPECT_FALSE(in.readOnly);
    EXPECT_EQ(in.version, 5u);
}

TEST_F(InputFromNotebookTest, DeletedNotesAreNotCountedButTheirSpaceIsUnused) {
    auto book = test::Book::create(path(), 0, {}, 100);
    book->add(QStringLiteral("Остаётся"), QByteArray(200, 'a'));
    TNodeData* gone = book->add(QStringLiteral("Удаляется"), QByteArray(400, 'b'));
    ASSERT_EQ(book->service.Save(*book->nb), srOk);
    const int32_t reserved = gone->Record.SizeReserved();
    ASSERT_GT(reserved, 400);

    book->remove(gone);
    ASSERT_EQ(book->service.Save(*book->nb), srOk);
    const NotebookPageInput in = inputFromNotebook(*book->nb);
    EXPECT_EQ(in.noteCount, 1);
    EXPECT_EQ(in.wastedSpace, reserved);
    EXPECT_EQ(in.fileSize, QFileInfo(path()).size());
}

TEST_F(InputFromNotebookTest, ProtectionAndReadOnlyOpeningShowAsFlags) {
    {
        auto book = test::Book::create(path(), bfEncrypted, QStringLiteral("пароль"));
        book->add(QStringLiteral("Тайна"), QByteArray("секрет"));
        ASSERT_EQ(book->service.Save(*book->nb), srOk);
        const NotebookPageInput in = inputFromNotebook(*book->nb);
        EXPECT_TRUE(in.encrypted);
        EXPECT_FALSE(in.compressed);
        EXPECT_FALSE(in.readOnly);
    }
    int result = -1;
    auto reopened = test::Book::open(path(), &result, QStringLiteral("пароль"), true);
    ASSERT_EQ(result, lrOk);
    const NotebookPageInput in = inputFromNotebook(*reopened->nb);
    EXPECT_TRUE(in.encrypted);
    EXPECT_TRUE(in.readOnly);
    EXPECT_EQ(in.noteCount, 1);
}

TEST_F(InputFromNotebookTest, ANotebookNeverSavedHasNoFileAndNoSize) {
    auto book = test::Book::create(QString());
    book->add(QStringLiteral("Черновик"), QByteArray("текст"));
    const NotebookPageInput in = inputFromNotebook(*book->nb);
    EXPECT_TRUE(in.fileName.isEmpty());
    EXPECT_LT(in.fileSize, 0);
    EXPECT_EQ(valuesOf(notebookPageRows(in, testFormat()))[int(NotebookPageField::Size)], "? байт(а)");
}

} // namespace
} // namespace vlr
