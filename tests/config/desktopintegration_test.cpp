#include "config/desktopintegration.h"
#include "config/optionsfile.h"
#include "config/registry.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vlr;

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DesktopIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_desktop.setToolRunner([this](const QString& program, const QStringList& args) {
            m_tools << program + ' ' + args.join(' ');
        });
    }
    QString configHome() const { return m_dir.filePath("config"); }
    QString dataHome() const { return m_dir.filePath("data"); }

    QTemporaryDir m_dir;
    TDesktopIntegration m_desktop{"/opt/my prog/vellinor", configHome(), dataHome()};
    QStringList m_tools;
};

// Points the XDG variables at a temporary folder for one test.
class ScopedXdg {
public:
    ScopedXdg(const QString& config, const QString& data)
        : m_config(qgetenv("XDG_CONFIG_HOME")), m_data(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    }
    ~ScopedXdg() {
        restore("XDG_CONFIG_HOME", m_config);
        restore("XDG_DATA_HOME", m_data);
    }

private:
    static void restore(const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QByteArray m_config;
    QByteArray m_data;
};

} // namespace

TEST_F(DesktopIntegrationTest, AutostartEntryStartsMinimised) {
    EXPECT_FALSE(m_desktop.autoRun());
    EXPECT_TRUE(m_desktop.setAutoRun(false)); // removing what never existed
    ASSERT_TRUE(m_desktop.setAutoRun(true));
    EXPECT_TRUE(m_desktop.autoRun());
    EXPECT_EQ(m_desktop.autostartFile(), configHome() + "/autostart/vellinor.desktop");
    const QByteArray entry = contentOf(m_desktop.autostartFile());
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/my prog/vellinor\" /MIN\n")) << entry.constData();
    EXPECT_TRUE(m_desktop.setAutoRun(false));
    EXPECT_FALSE(m_desktop.autoRun());
    EXPECT_TRUE(m_tools.isEmpty());
}

TEST_F(DesktopIntegrationTest, AssociationInstallsTypeAndHandler) {
    EXPECT_TRUE(m_desktop.setAssociated(false));
    EXPECT_TRUE(m_tools.isEmpty());
    ASSERT_TRUE(m_desktop.setAssociated(true));
    EXPECT_TRUE(m_desktop.associated());
    EXPECT_TRUE(contentOf(m_desktop.mimePackageFile()).contains("<glob pattern=\"*.vlr\"/>"));
    const QByteArray entry = contentOf(m_desktop.desktopEntryFile());
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/my prog/vellinor\" %f\n"));
    EXPECT_TRUE(entry.contains("\nMimeType=application/x-vellinor-notebook;\n"));
    EXPECT_EQ(m_tools, QStringList({"update-mime-database " + dataHome() + "/mime",
                                    "update-desktop-database " + dataHome() + "/applications"}));
    // Nothing changed, nothing to refresh.
    m_tools.clear();
    ASSERT_TRUE(m_desktop.setAssociated(true));
    EXPECT_TRUE(m_tools.isEmpty());

    // One file gone by hand: the association no longer holds.
    QFile::remove(m_desktop.desktopEntryFile());
    EXPECT_FALSE(m_desktop.associated());
    ASSERT_TRUE(m_desktop.setAssociated(false));
    EXPECT_FALSE(QFile::exists(m_desktop.mimePackageFile()));
    EXPECT_EQ(m_tools.size(), 2);
}

TEST_F(DesktopIntegrationTest, ExecArgumentQuoting) {
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/vellinor", R"("/usr/bin/vellinor")"},
        {"/opt/a b/v", R"("/opt/a b/v")"},
        {"/x/$HOME`\"/v", R"("/x/\\$HOME\\`\\"/v")"},
        {"/x\\y/v", R"("/x\\\\y/v")"},
        {"/100%/v", R"("/100%%/v")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TDesktopIntegration::execArgument(c.path), c.exec) << c.path;
}

TEST_F(DesktopIntegrationTest, OptionsWriteAndReadTheFlags) {
    TSettingsFile file(m_dir.filePath("vellinor.ini"));
    TVLROptions o;
    o.AutoRunWithWindows = true;
    o.AssociateWithVLR = true;
    writeOptions(file, o, m_desktop);
    TVLROptions back;
    readOptions(file, back, m_desktop);
    EXPECT_TRUE(back.AutoRunWithWindows);
    EXPECT_TRUE(back.AssociateWithVLR);
    o.AutoRunWithWindows = false;
    o.AssociateWithVLR = false;
    writeOptions(file, o, m_desktop);
    readOptions(file, back, m_desktop);
    EXPECT_FALSE(back.AutoRunWithWindows);
    EXPECT_FALSE(back.AssociateWithVLR);
    EXPECT_FALSE(QFile::exists(m_desktop.autostartFile()));
}

TEST_F(DesktopIntegrationTest, DefaultsFollowTheXdgVariables) {
    ScopedXdg xdg(configHome(), dataHome());
    const TDesktopIntegration desktop;
    EXPECT_EQ(desktop.autostartFile(), configHome() + "/autostart/vellinor.desktop");
    EXPECT_EQ(desktop.mimePackageFile(), dataHome() + "/mime/packages/vellinor.xml");
    EXPECT_EQ(TVellinorRegistry::defaultPath(), configHome() + "/Orvanta/Vellinor/registry.ini");
    // A relative value is ignored, as the base directory rules say.
    qputenv("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_TRUE(TVellinorRegistry::defaultPath().endsWith("/.config/Orvanta/Vellinor/registry.ini"));
}

// With the real helper installed, the desktop's MIME database learns *.vlr.
TEST_F(DesktopIntegrationTest, RealMimeDatabaseKnowsTheType) {
    if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    TDesktopIntegration real("/opt/vellinor/vellinor", configHome(), dataHome());
    ASSERT_TRUE(real.setAssociated(true));
    EXPECT_TRUE(contentOf(dataHome() + "/mime/globs2").contains("application/x-vellinor-notebook:*.vlr"));
    ASSERT_TRUE(real.setAssociated(false));
    EXPECT_FALSE(contentOf(dataHome() + "/mime/globs2").contains("vellinor"));
}
