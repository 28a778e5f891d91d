#include "config/optionsfile.h"
#include "config/optionsnotifier.h"
#include "config/settingsvalue.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vlr;

namespace {

TSystemFacts fixedFacts() {
    TSystemFacts f;
    f.userName = QStringLiteral("Иван Петров");
    f.documentsFolder = "/home/ivan/Documents/";
    f.dates = DateFormatLocale::fromLocale(QLocale("ru_RU"));
    return f;
}

TVLROptions defaults() {
    TVLROptions o;
    setDefaultOptions(o, fixedFacts());
    return o;
}

// Every field away from its default, with values the file form finds hard.
TVLROptions awkward() {
    TVLROptions o = defaults();
    const QString longText = QString(2100, u'ж');
    o.DefFontName = QStringLiteral("\"Шрифт\", с запятой");
    o.DefFontSize = -12;
    o.DefFontColor = 0x80000005;
    o.DefFontStyle = 15;
    o.DefFontCharset = 204;
    o.DefEditorBack = 0x00FFFFFF;
    o.DefParaAlign = 3;
    o.DefFirstIndent = 10;
    o.DefLeftIndent = -5;
    o.DefRightIndent = 7;
    o.DefSpaceBefore = 6;
    o.DefSpaceAfter = 4;
    o.DefLineSpacing = 5;
    o.DefLineSpacingValue = 1.25;
    o.DefNodeImageIndex = 33;
    o.DefNodeFontStyle = 2;
    o.DefNodeFontColor = 0xFF;
    o.DefNodeFontBack = 0x1FFFFFFF;
    o.PlainFontName = "  Courier  ";
    o.PlainFontSize = 11;
    o.PlainFontColor = 0x123456;
    o.PlainFontStyle = 8;
    o.PlainFontCharset = 0;
    o.DefResSize = 0;
    o.DefCompress = true;
    o.DefEncrypt = true;
    o.DefAwayMinutes = 1;
    o.DefRootImageIndex = 0;
    o.DefRootFontStyle = 0;
    o.DefRootFontColor = 0x80000012;
    o.DefRootFontBack = 0xABCDEF;
    o.DefAuthorName = QString(100, u'А');
    o.DefCompany = QStringLiteral("ООО \"Рога, копыта\"");
    o.DefComments = QStringLiteral("Первая строка\r\nвторая #41 строка\tс табом");
    o.TreeFontName = "\"Verdana\"";
    o.TreeFontCharset = 2;
    o.TreeFontSize = 14;
    o.TreeBackColor = 0;
    o.TreeShowLines = false;
    o.TreeHotTrack = true;
    o.TreeAutoCollapse = true;
    o.TreeAutoExpand = true;
    o.TreeAsPanel = true;
    o.TreeDrawChildCount = true;
    o.ShowTipOfTheDay = false;
    o.DefMarginTop = 1;
    o.DefMarginLeft = 2;
    o.DefMarginRight = 3;
    o.DefMarginBottom = 4;
    o.EditorWordWrap = false;
    o.EditorWordSel = false;
    o.EditorAutoURL = false;
    o.EditorApplyWord = true;
    o.EditorAutoFocus = false;
    o.EditorTabJump = true;
    o.EditorPaintFonts = true;
    o.DisableNonTrueType = true;
    o.EditorURLDblClick = 0;
    o.EditorURLModifier = 3;
    o.EditorURLSingleClick = 1;
    o.EditorURLRightMenu = false;
    o.EditorFormatDate = "'day' dd/mm/yyyy";
    o.EditorFormatTime = "\"h\"h:nn";
    o.EditorFormatDateTime = "";
    o.EditorUseDefault = true;
    o.MinimizeOnClose = true;
    o.MinimizeToTray = true;
    o.MinimizeOnStart = true;
    o.StealthOnMinimize = true;
    o.AutoLoadPrevious = false;
    o.MinimizeByESC = false;
    o.EnableHotKey = true;
    o.ActivateHotKey = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N);
    o.PlusWin = true;
    o.FreeUnusedRes = true;
    o.AwayOnStealth = true;
    o.SaveOnMinimize = false;
    o.PackOnExit = true;
    o.AutoSaveOnExit = true;
    o.BackupOnPack = false;
    o.AutoSaveMinutes = 99;
    o.EnableAutoSave = false;
    o.BackupPath = QStringLiteral("/mnt/резерв, копии/");
    o.PackOn30Percent = false;
    o.DefaultPath = longText;
    o.SaveCursor = false;
    o.SeparatorFormat = "=== \"c\" ===";
    o.SeparatorUseCurrentFont = true;
    o.SeparatorFontName = "Arial Black";
    o.SeparatorCharset = 0;
    o.SeparatorFontStyle = 0;
    o.SeparatorFontSize = 72;
    o.SeparatorFontColor = 0x80000008;
    o.SeparatorFontBack = 0;
    o.AskSaveChanges = false;
    o.AskDelNote = false;
    o.AskCompress = false;
    o.AskProtect = false;
    o.AskHide = false;
    o.AskNoPrinter = false;
    o.AskNoRichEdit = false;
    o.InsertSymbolFont = "Wingdings";
    o.HeaderFormat = "$N, $NB";
    o.FooterFormat = "\"$P\"";
    o.FHFontName = "Arial";
    o.FHFontSize = 8;
    o.FHFontStyle = 4;
    o.FHFontCharset = 238;
    o.FHFontColor = 0xFF0000;
    o.MarginLines = 0;
    o.HeaderAlign = 2;
    o.FooterAlign = 1;
    o.ClipMaxSize = 2048;
    o.ColReverseDND = false;
    o.ColCatchUrl = true;
    o.ColCatchTop = true;
    o.ColLayered = 50;
    o.ColBackColor = 0x80000008;
    return o;
}

class OptionsTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_dir.filePath("vellinor.ini"); }
    QByteArray iniBytes() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void putIni(const QByteArray& bytes) {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    TVLROptions readBack() const {
        TVLROptions o = defaults();
        readOptions(TSettingsFile(iniPath()), o, m_desktop);
        return o;
    }

    QTemporaryDir m_dir;
    TDesktopIntegration m_desktop{"/opt/vellinor/vellinor", m_dir.filePath("config"), m_dir.filePath("data")};
};

} // namespace

TEST_F(OptionsTest, WithoutSectionOptionsEverythingIsDefault) {
    putIni("[WindowPos]\nState=2\n[Other]\nDefFontSize=30\n");
    EXPECT_EQ(readBack(), defaults());
    TVLROptions none = defaults();
    readOptions(TSettingsFile(m_dir.filePath("missing.ini")), none, m_desktop);
    EXPECT_EQ(none, defaults());
}

TEST_F(OptionsTest, DefaultsComeFromTheSystem) {
    const TVLROptions o = defaults();
    EXPECT_EQ(o.DefAuthorName, QStringLiteral("Иван Петров"));
    EXPECT_EQ(o.DefaultPath, "/home/ivan/Documents/");
    EXPECT_EQ(o.BackupPath, o.DefaultPath);
    EXPECT_EQ(o.EditorFormatDate, "dd.mm.yyyy");
    EXPECT_EQ(o.EditorFormatTime, "hh:nn");
    EXPECT_EQ(o.EditorFormatDateTime, "dd.mm.yyyy, hh:nn");
    EXPECT_EQ(o.DefEditorBack, 0xE1FFFFu);
    EXPECT_EQ(o.SeparatorFormat, "------------< hh:mm:ss, dd mmmm yyyy >------------");
    EXPECT_TRUE(o.ActivateHotKey.isEmpty());

    TSystemFacts longName = fixedFacts();
    longName.userName = QString(150, u'x');
    TVLROptions cut;
    setDefaultOptions(cut, longName);
    EXPECT_EQ(cut.DefAuthorName.size(), 100);

    const TSystemFacts here = TSystemFacts::current();
    EXPECT_FALSE(here.userName.isEmpty());
    EXPECT_TRUE(here.documentsFolder.isEmpty() || here.documentsFolder.endsWith('/'));
}

TEST_F(OptionsTest, EveryOptionSurvivesWriteAndRead) {
    const TVLROptions wanted = awkward();
    TSettingsFile file(iniPath());
    writeOptions(file, wanted, m_desktop);
    TVLROptions got = readBack();
    // The one field the file cannot hold whole: values are read up to 2047 characters.
    EXPECT_EQ(got.DefaultPath, wanted.DefaultPath.left(2047));
    got.DefaultPath = wanted.DefaultPath;
    EXPECT_EQ(got, wanted);
}

TEST_F(OptionsTest, FileFormOfTheValues) {
    TSettingsFile file(iniPath());
    TVLROptions o = defaults();
    o.DefComments = "a\r\nb";
    o.ActivateHotKey = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N);
    o.DefLineSpacingValue = 1.5;
    writeOptions(file, o, m_desktop);
    const TSettingsSection s = file.readSection("Options");
    EXPECT_EQ(s.readString("DefComments"), "a#0D#0Ab");
    EXPECT_EQ(s.readString("ActivateHotKey"), "Ctrl+Alt+N");
    EXPECT_EQ(s.readString("DefFontColor"), "-2147483640");
    EXPECT_EQ(s.readString("DefRootFontStyle"), "1");
    EXPECT_EQ(s.readString("TreeShowLines"), "1");
    EXPECT_EQ(s.readString("DefLineSpacingValue"), QString("1") + systemDecimalSeparator() + "5");
    EXPECT_FALSE(s.contains("AutoRunWithWindows"));
    EXPECT_FALSE(s.contains("AssociateWithVLR"));
    // Record order in the file.
    const QStringList keys = s.keys();
    EXPECT_EQ(keys.size(), 118);
    EXPECT_EQ(keys.first(), "DefFontName");
    EXPECT_EQ(keys.last(), "ColBackColor");
}

TEST_F(OptionsTest, ReadingIsLenientAboutCaseLengthAndBadValues) {
    putIni(QByteArray("[options]\n"
                      "deffontsize=12\n"
                      "DEFAUTHORNAME=") +
           QByteArray(130, 'n') + "\nDefCompany=" + QByteArray(120, 'c') +
           "\nDefComments=" + QByteArray(300, 'k') +
           "\nTreeFontSize=big\n"
           "TreeShowLines=5\n"
           "ActivateHotKey=Ctrl+Nonsense\n"
           "DefLineSpacingValue=2,5\n");
    const TVLROptions o = readBack();
    EXPECT_EQ(o.DefFontSize, 12);
    EXPECT_EQ(o.DefAuthorName, QString(100, u'n'));
    EXPECT_EQ(o.DefCompany, QString(100, u'c'));
    EXPECT_EQ(o.DefComments, QString(200, u'k'));
    EXPECT_EQ(o.TreeFontSize, 8);
    EXPECT_TRUE(o.TreeShowLines);
    EXPECT_TRUE(o.ActivateHotKey.isEmpty());
    EXPECT_DOUBLE_EQ(o.DefLineSpacingValue, 2.5);
}

TEST(OptionsFileForm, CommentsEscaping) {
    const struct {
        QString stored;
        QString text;
    } reads[] = {
        {"a#0D#0Ab", "a\r\nb"}, {"#41#42", "AB"},   {"x#ZZy", "x y"}, {"end#4", "end#4"},
        {"end#", "end#"},       {"plain", "plain"}, {"#0g", " "},
    };
    for (const auto& c : reads)
        EXPECT_EQ(unescapeComments(c.stored), c.text) << c.stored.toStdString();
    EXPECT_EQ(escapeComments("a\r\nb\x01"), "a#0D#0Ab#01");
    // A typed "#" is escaped too, so "#41" comes back as typed.
    EXPECT_EQ(escapeComments("#41"), "#2341");
    EXPECT_EQ(unescapeComments(escapeComments("#41 и #")), "#41 и #");
}

TEST(OptionsFileForm, HotKeyText) {
    const struct {
        const char* text;
        QKeySequence key;
    } cases[] = {
        {"Ctrl+Alt+N", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N)},
        {"Shift+Ctrl+Alt+F5", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_F5)},
        {"Ctrl+BkSp", QKeySequence(Qt::CTRL | Qt::Key_Backspace)},
        {"Alt+PgDn", QKeySequence(Qt::ALT | Qt::Key_PageDown)},
        {"", QKeySequence()},
        {"Ctrl+Nonsense", QKeySequence()},
        {"Ctrl+A, Ctrl+B", QKeySequence()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hotKeyFromText(c.text), c.key) << c.text;
    EXPECT_EQ(hotKeyText(QKeySequence()), "");
    EXPECT_EQ(hotKeyFromText(hotKeyText(QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_Space))),
              QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_Space));
}

TEST(OptionsNotifier, ReceiversRunInOrderUntilTheirContextGoes) {
    QStringList calls;
    auto context = std::make_unique<QObject>();
    QObject::connect(&TOptionsNotifier::instance(), &TOptionsNotifier::optionsApplied, context.get(),
                     [&](const TVLROptions& o, const TVLROptions* before) {
                         calls << QString("tree %1 %2").arg(o.TreeFontSize).arg(before ? "change" : "start");
                     });
    QObject second;
    QObject::connect(&TOptionsNotifier::instance(), &TOptionsNotifier::optionsApplied, &second,
                     [&](const TVLROptions& o, const TVLROptions* before) {
                         calls << QString("hotkey %1").arg(hotKeyNeedsSetup(o, before));
                     });
    TVLROptions first;
    TOptionsNotifier::instance().apply(first);
    TVLROptions next = first;
    next.TreeFontSize = 12;
    TOptionsNotifier::instance().apply(next, &first);
    context.reset();
    TVLROptions hot = next;
    hot.PlusWin = true;
    TOptionsNotifier::instance().apply(hot, &next);
    EXPECT_EQ(calls, QStringList({"tree 8 start", "hotkey 1", "tree 12 change", "hotkey 0", "hotkey 1"}));
}
