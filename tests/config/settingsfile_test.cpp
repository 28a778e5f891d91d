#include "config/fontrecord.h"
#include "config/settingsfile.h"
#include "core/codepage.h"
#include "core/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vlr;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("vellinor.ini"); }
    void putBytes(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

constexpr QFileDevice::Permissions kReadOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kOpenFolder =
    kReadOnlyFolder | QFileDevice::WriteOwner | QFileDevice::WriteOther;

// Runs the check with an ordinary user's rights and returns its result. Root
// ignores file modes, so as root the check runs in a child process that has
// become "nobody".
int asOrdinaryUser(const std::function<int()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(99);
        _exit(check());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace

TEST_F(SettingsFileTest, NamesIgnoreCaseAndValuesLoseBlanksAndOneQuotePair) {
    putBytes(
        "; comment\r\n[ClipManager]\r\nToolBar = 1 \r\n  Quoted=\"\"a\" b\"\r\n[\xcf\xf0\xe8\xec\xe5\xf0]\r\n"
        "\xea\xeb\xfe\xf7=\xe7\xed\xe0\xf7\xe5\xed\xe8\xe5\r\n[clipmanager]\r\nToolbar=0\r\n");
    TSettingsFile f(path());
    EXPECT_TRUE(f.readBool("CLIPMANAGER", "Toolbar", false));
    EXPECT_EQ(f.readString("clipmanager", "quoted"), "\"a\" b");
    // Cyrillic names compare without case too, in Windows-1251 on disk.
    EXPECT_EQ(f.readString(QStringLiteral("пример"), QStringLiteral("КЛЮЧ")), QStringLiteral("значение"));
    EXPECT_EQ(f.readString("ClipManager", "Missing", "def"), "def");
    EXPECT_TRUE(f.sectionExists("CLIPMANAGER"));
    EXPECT_FALSE(f.valueExists("ClipManager", "; comment"));

    // A write changes the first matching key in place and keeps its spelling.
    f.writeBool("clipmanager", "TOOLBAR", false);
    EXPECT_TRUE(bytes().contains("ToolBar=0\r\n  Quoted"));
    EXPECT_TRUE(bytes().startsWith("; comment\r\n"));
}

TEST_F(SettingsFileTest, EveryCallGoesToTheFile) {
    TSettingsFile a(path());
    TSettingsFile b(path());
    a.writeString("S", "One", "1");
    b.writeString("S", "Two", "2");
    // A hand edit between calls is seen, and not lost by the next write.
    putBytes(bytes() + "[Hand]\nEdit=yes\n");
    a.writeString("S", "Three", "3");
    EXPECT_EQ(b.readString("S", "One"), "1");
    EXPECT_EQ(a.readString("S", "Two"), "2");
    EXPECT_EQ(b.readString("Hand", "Edit"), "yes");
    EXPECT_EQ(bytes(), "[S]\nOne=1\nTwo=2\nThree=3\n[Hand]\nEdit=yes\n");
}

TEST_F(SettingsFileTest, AwkwardValuesReadBackAsWritten) {
    TSettingsFile f(path());
    const QString longValue(3000, u'x');
    const QString cases[] = {
        "",
        "  blanks around  ",
        "\"quoted\"",
        "\"",
        "a=b;c",
        QStringLiteral("Кириллица, «кавычки»"),
        "tab\tinside",
        QStringLiteral("中文 and emoji \U0001F600"),
    };
    for (const QString& value : cases) {
        f.writeString("Values", "Key", value);
        EXPECT_EQ(f.readString("Values", "Key", "missing"), value) << value.toStdString();
    }
    // Line breaks cannot live in a line; they become blanks instead of new keys.
    f.writeString("Values", "Key", "one\r\n[Options]\nTwo=2");
    EXPECT_EQ(f.readString("Values", "Key"), "one  [Options] Two=2");
    EXPECT_FALSE(f.sectionExists("Options"));
    // Values longer than 2047 characters are cut on reading.
    f.writeString("Values", "Key", longValue);
    EXPECT_EQ(f.readString("Values", "Key"), longValue.left(2047));
}

TEST_F(SettingsFileTest, StaysWindows1251UnlessItCannotHoldTheText) {
    TSettingsFile f(path());
    f.writeString(QStringLiteral("Раздел"), "Key", QStringLiteral("Привет"));
    EXPECT_EQ(bytes(), toAnsi(QStringLiteral("[Раздел]\nKey=Привет\n")));
    f.writeString("Files", "File1", QStringLiteral("/home/u/日本.vlr"));
    EXPECT_TRUE(bytes().startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(f.readString(QStringLiteral("раздел"), "key"), QStringLiteral("Привет"));
    EXPECT_EQ(f.readString("files", "file1"), QStringLiteral("/home/u/日本.vlr"));
}

TEST_F(SettingsFileTest, TypedValues) {
    putBytes("[N]\nHex=0x1F\nDollar=$10\nNeg=-5\nBad=12abc\nHuge=99999999999\nColor=-2147483640\n"
             "UColor=2147483656\nTrue=7\nWord=yes\nComma=1,5\nPoint=2.25\nInf=inf\n");
    TSettingsFile f(path());
    EXPECT_EQ(f.readInteger("N", "Hex", 0), 31);
    EXPECT_EQ(f.readInteger("N", "Dollar", 0), 16);
    EXPECT_EQ(f.readInteger("N", "Neg", 0), -5);
    EXPECT_EQ(f.readInteger("N", "Bad", 42), 42);
    EXPECT_EQ(f.readInteger("N", "Huge", 42), 42);
    EXPECT_EQ(f.readColor("N", "Color", 0), 0x80000008u);
    EXPECT_EQ(f.readColor("N", "UColor", 0), 0x80000008u);
    EXPECT_TRUE(f.readBool("N", "True", false));
    EXPECT_TRUE(f.readBool("N", "Word", true));
    EXPECT_FALSE(f.readBool("N", "Word", false));
    EXPECT_DOUBLE_EQ(f.readFloat("N", "Comma", 0), 1.5);
    EXPECT_DOUBLE_EQ(f.readFloat("N", "Point", 0), 2.25);
    EXPECT_DOUBLE_EQ(f.readFloat("N", "Inf", 3), 3);

    f.writeColor("N", "Color", 0x80000005);
    EXPECT_EQ(f.readString("N", "Color"), "-2147483643");
    f.writeBool("N", "True", true);
    EXPECT_EQ(f.readString("N", "True"), "1");
}

TEST_F(SettingsFileTest, ListsCarryTheExtraComma) {
    TSettingsFile f(path());
    const QStringList items = {"two words", "", "\"q\"", QStringLiteral("Книжка")};
    f.writeList("Favorites", "Names", items);
    EXPECT_EQ(f.readString("Favorites", "Names"), QStringLiteral(R"("two words",,"""q""",Книжка,)"));
    EXPECT_EQ(f.readList("Favorites", "Names"), items);
    // Starting and ending with a quoted item: the extra comma keeps the
    // reader from taking the whole value for one quoted string.
    f.writeList("Favorites", "Files", {"a b", "c d"});
    EXPECT_EQ(f.readList("Favorites", "Files"), QStringList({"a b", "c d"}));
    f.writeList("Favorites", "Files", {});
    EXPECT_EQ(f.readList("Favorites", "Files"), QStringList());
}

TEST_F(SettingsFileTest, DeletingKeysAndSections) {
    TSettingsFile f(path());
    f.deleteKey("Nothing", "Here");
    EXPECT_FALSE(QFile::exists(path()));
    f.writeValues("A", {{"K1", "1"}, {"K2", "2"}});
    f.writeString("B", "K", "x");
    f.deleteKey("a", "k1");
    EXPECT_FALSE(f.valueExists("A", "K1"));
    EXPECT_TRUE(f.valueExists("A", "K2"));
    f.eraseSection("a");
    EXPECT_EQ(f.sections(), QStringList({"B"}));
}

TEST_F(SettingsFileTest, FontRecordsDefaultPerKey) {
    TSettingsFile f(path());
    putBytes("[Export]\nHdrFontName=Arial\nHdrFontSize=14\n");
    const TFontRecord partial = readFontRecord(f, "export", "HdrFont");
    EXPECT_EQ(partial.name, "Arial");
    EXPECT_EQ(partial.size, 14);
    EXPECT_EQ(partial.charset, 1);
    EXPECT_EQ(partial.style, 0);
    EXPECT_EQ(partial.color, 0x80000008u);
    EXPECT_EQ(readFontRecord(f, "Export", "Other"), TFontRecord());

    const TFontRecord font{QStringLiteral("Тимес"), 204, 1 | 4, 11, 0x00FF8000};
    writeFontRecord(f, "Export", "Body", font);
    EXPECT_EQ(readFontRecord(f, "Export", "Body"), font);
}

TEST_F(SettingsFileTest, AFailedWriteRaisesAndKeepsTheOldFile) {
    TSettingsFile f(path());
    f.writeString("Options", "Kept", "old");
    const QByteArray before = bytes();
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), kReadOnlyFolder));
    const int outcome = asOrdinaryUser([&] {
        try {
            f.writeString("Options", "Kept", "new");
        } catch (const EVellinorError& e) {
            return e.text() == "Unable to write to " + path() ? 0 : 2;
        }
        return 1;
    });
    QFile::setPermissions(m_dir.path(), kOpenFolder);
    EXPECT_EQ(outcome, 0) << "1: no error, 2: wrong text";
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"vellinor.ini"}));
}

TEST_F(SettingsFileTest, AnUnreadableFileIsNotReplaced) {
    TSettingsFile f(path());
    f.writeString("Options", "Kept", "old");
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), kOpenFolder));
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::WriteOwner | QFileDevice::WriteOther));
    const int outcome = asOrdinaryUser([&] {
        if (f.readString("Options", "Kept", "default") != "default")
            return 1;
        try {
            f.writeString("Options", "Other", "x");
        } catch (const EVellinorError&) {
            return 0;
        }
        return 2;
    });
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(outcome, 0) << "1: read something, 2: replaced the file";
    EXPECT_EQ(f.readString("Options", "Kept"), "old");
}

TEST_F(SettingsFileTest, AnOversizedFileIsNeitherReadNorReplaced) {
    putBytes("[Options]\nKept=old\n");
    {
        QFile grow(path());
        ASSERT_TRUE(grow.resize(TSettingsFile::kMaxFileSize + 1));
    }
    TSettingsFile f(path());
    EXPECT_EQ(f.readString("Options", "Kept", "default"), "default");
    EXPECT_THROW(f.writeString("Options", "Kept", "new"), EVellinorError);
    EXPECT_EQ(QFileInfo(path()).size(), TSettingsFile::kMaxFileSize + 1);
    // A device is not read at all.
    TSettingsFile device("/dev/zero");
    EXPECT_EQ(device.readString("Options", "Kept", "default"), "default");
    EXPECT_THROW(device.writeString("Options", "Kept", "new"), EVellinorError);
}

TEST_F(SettingsFileTest, NamesThatCannotBeFoundAgainAreRefused) {
    TSettingsFile f(path());
    EXPECT_THROW(f.writeString("A]", "K", "v"), EVellinorError);
    EXPECT_THROW(f.writeString("A", "K=1", "v"), EVellinorError);
    EXPECT_THROW(f.writeString("", "K", "v"), EVellinorError);
    EXPECT_THROW(f.writeString("A", "K\nX", "v"), EVellinorError);
    EXPECT_FALSE(QFile::exists(path()));
}
