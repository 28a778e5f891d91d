#include "config/settingslocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vlr;

namespace {

class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(program()));
        ASSERT_TRUE(QDir().mkpath(config()));
    }
    QString program() const { return m_root.filePath("prog/"); }
    QString config() const { return m_root.filePath("config/"); }
    QString user() const { return config() + "Orvanta/Vellinor/"; }
    TVellinorRegistry registry() const { return TVellinorRegistry(user() + "registry.ini"); }
    static void touch(const QString& path, const QByteArray& content = "[Options]\n") {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    TSettingsLocation locate(const QStringList& args = {}) const {
        return locateSettingsFile(program(), args, registry(), user());
    }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(SettingsLocationTest, PerUserFolderIsCreatedAndUsed) {
    const TSettingsLocation loc = locate();
    EXPECT_FALSE(loc.portable);
    EXPECT_EQ(loc.folder, user());
    EXPECT_EQ(loc.filePath, user() + "vellinor.ini");
    EXPECT_TRUE(QFileInfo(user()).isDir());
}

TEST_F(SettingsLocationTest, PortableWinsOverTheRegistry) {
    touch(program() + "vellinor.ini");
    TVellinorRegistry reg = registry();
    ASSERT_TRUE(reg.setValue(TVellinorRegistry::kConfigFolder, m_root.filePath("elsewhere")));
    const TSettingsLocation loc = locate();
    EXPECT_TRUE(loc.portable);
    EXPECT_EQ(loc.folder, program());
    EXPECT_EQ(loc.filePath, program() + "vellinor.ini");
    EXPECT_EQ(kPortableTitleSuffix, " portable");
    EXPECT_FALSE(QFileInfo::exists(m_root.filePath("elsewhere")));
}

TEST_F(SettingsLocationTest, ConfigFolderFromTheRegistryWithItsParents) {
    TVellinorRegistry reg = registry();
    const QString wanted = m_root.filePath(QStringLiteral("a/b/Настройки"));
    ASSERT_TRUE(reg.setValue(TVellinorRegistry::kConfigFolder, wanted));
    EXPECT_EQ(locate().folder, wanted + "/");
    EXPECT_TRUE(QFileInfo(wanted).isDir());

    // A folder that cannot be created moves on to the per-user one.
    touch(m_root.filePath("file"));
    ASSERT_TRUE(reg.setValue(TVellinorRegistry::kConfigFolder, m_root.filePath("file/sub")));
    EXPECT_EQ(locate().folder, user());
}

TEST_F(SettingsLocationTest, ProgramFolderWhenNothingElseCanBeMade) {
    // The per-user folder's place is taken by a file.
    touch(m_root.filePath("blocked"));
    const TSettingsLocation loc =
        locateSettingsFile(program(), {}, registry(), m_root.filePath("blocked/x/"));
    EXPECT_EQ(loc.folder, program());
    EXPECT_FALSE(loc.portable);
}

TEST_F(SettingsLocationTest, TemplateIsMovedNotCopied) {
    touch(user() + "vellinor.def", "[Options]\nTreeFontSize=11\n");
    const TSettingsLocation loc = locate();
    EXPECT_FALSE(QFileInfo::exists(user() + "vellinor.def"));
    QFile f(loc.filePath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "[Options]\nTreeFontSize=11\n");

    // With a settings file present the template stays where it is.
    touch(user() + "vellinor.def");
    locate();
    EXPECT_TRUE(QFileInfo::exists(user() + "vellinor.def"));
}

TEST_F(SettingsLocationTest, IniArgumentNamesTheFile) {
    const struct {
        QStringList args;
        QString expected;
    } cases[] = {
        {{"other.ini"}, program() + "other.ini"},
        {{"notes.INI"}, user() + "vellinor.ini"},
        {{m_root.filePath("x/my.ini")}, m_root.filePath("x/my.ini")},
        {{"book.vlr", "other.ini"}, user() + "vellinor.ini"},
        {{"ini"}, user() + "vellinor.ini"},
        {{".ini"}, program() + ".ini"},
    };
    for (const auto& c : cases) {
        const TSettingsLocation loc = locate(c.args);
        EXPECT_EQ(loc.filePath, c.expected) << c.args.join(' ').toStdString();
        EXPECT_EQ(loc.folder, user());
    }
}

TEST_F(SettingsLocationTest, ProgramFolderIsRegisteredOnceAndNotWhenPortable) {
    TVellinorRegistry reg = registry();
    registerProgramFolder(reg, program(), true);
    EXPECT_FALSE(reg.keyExists());
    registerProgramFolder(reg, m_root.filePath("prog"), false);
    EXPECT_EQ(reg.value(TVellinorRegistry::kDefaultValue), program());
    registerProgramFolder(reg, m_root.filePath("moved"), false);
    EXPECT_EQ(reg.value(TVellinorRegistry::kDefaultValue), program());
}
