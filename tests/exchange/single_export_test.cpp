// One combined document saved as a text file for other programs, and as an
// HTML page: encodings and line ends, the page title, lists that end before
// what follows a note, title sizes and font fallbacks.
#include "config/options.h"
#include "core/codepage.h"
#include "exchange/export_document.h"
#include "exchange/safe_write.h"
#include "exchange/single_export.h"
#include "exchange_fixture.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QRegularExpression>

using namespace vlr;
using namespace vlr::test;

namespace {

class SingleExport : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        savedFont = QGuiApplication::font();
        locale.shortDateFormat = QStringLiteral("dd/mm/yyyy");
    }
    void TearDown() override {
        QGuiApplication::setFont(savedFont);
        ExchangeTest::TearDown();
    }
    QString save(const TCombinedDocument& doc, TDocumentTarget target, const QString& name,
                 const THtmlChoices& html = {}) {
        const QString file = dir.filePath(name);
        EXPECT_TRUE(SaveDocument(doc, target, file, html, TWriteGuard::ForNotebooks(book->service)));
        return file;
    }
    // The export with the program's default fonts and the wizard's default layout.
    TCombinedDocument generate(const TExportTree& tree, bool formatted, bool wrap = false) {
        TExportSettings settings;
        settings.formatText = wrap;
        settings.lineWidth = 12;
        return GenerateDocument(tree, DocumentOptionsFrom(TVLROptions{}, settings, formatted),
                                QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), locale);
    }

    QFont savedFont;
    DateFormatLocale locale;
};

// The paragraph of an HTML page holding the text.
QString paragraphWith(const QString& html, const QString& text) {
    const qsizetype at = html.indexOf(text);
    if (at < 0)
        return {};
    const qsizetype start = html.lastIndexOf(QStringLiteral("<P"), at);
    return html.mid(start, html.indexOf(QStringLiteral("</P>"), at) - start);
}

double pointSizeOf(const QString& html, const QString& text) {
    static const QRegularExpression size(QStringLiteral("font-size:([0-9.]+)pt"));
    const qsizetype at = html.indexOf(text);
    const qsizetype span = html.lastIndexOf(QStringLiteral("<SPAN"), at);
    return span < 0 ? 0 : size.match(html.mid(span, at - span)).captured(1).toDouble();
}

} // namespace

TEST_F(SingleExport, TextFilesAreUtf8WithLfOrOemWithCrLf) {
    // "✓" is in neither Windows-1251 nor code page 866.
    note(QStringLiteral("Заметка"), rtfBody("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\u10003? world\\par and more"))
        ->Record.setCreated(45000.5);
    const TExportTree tree = treeFrom(root());
    struct Case {
        TDocumentTarget target;
        bool wrap;
        QByteArray expected;
    } cases[] = {
        {TDocumentTarget::FilePlain, false,
         QStringLiteral("Заметка\nПривет ✓ world\nand more\nCreated in 15.03.2023 by Автор\n").toUtf8()},
        {TDocumentTarget::FilePlain, true,
         QStringLiteral("Заметка\nПривет ✓ \nworld\nand more\nCreated in 15.03.2023 by Автор\n").toUtf8()},
        {TDocumentTarget::FileOEM, false,
         toOem(
             QStringLiteral("Заметка\r\nПривет ? world\r\nand more\r\nCreated in 15.03.2023 by Автор\r\n"))},
        {TDocumentTarget::FileOEM, true,
         toOem(QStringLiteral(
             "Заметка\r\nПривет ? \r\nworld\r\nand more\r\nCreated in 15.03.2023 by Автор\r\n"))},
    };
    for (const Case& c : cases) {
        const QByteArray bytes =
            fileBytes(save(generate(tree, false, c.wrap), c.target, QStringLiteral("out.txt")));
        EXPECT_EQ(bytes, c.expected) << int(c.target) << " wrap " << c.wrap;
        if (c.target == TDocumentTarget::FilePlain) {
            EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
            EXPECT_FALSE(bytes.contains('\r'));
        }
    }
}

TEST_F(SingleExport, PageTitleFromTheBoxElseTheNotebookOrTheNote) {
    TNodeData* first = note(QStringLiteral("Первая <&>"), rtfBody("1"));
    note(QStringLiteral("Вторая"), rtfBody("2"));
    using Command = TExportTree::Command;
    struct Case {
        const char* typed;
        const char* notebookTitle;
        TTreeNode* selection;
        Command command;
        const char* expected;
    } cases[] = {
        {"Мой сайт", "Книга", root(), Command::ExportNotes, "Мой сайт"},
        {"", "Книга", root(), Command::ExportNotes, "Книга"},
        {"   ", "Книга", first->TreeNode, Command::ExportNote, "Первая <&>"},
        {"", "Книга", first->TreeNode, Command::ExportNotes, "Книга"},
        {"", "", root(), Command::ExportNotes, "Первая <&>"}, // a notebook without a title
    };
    for (const Case& c : cases) {
        book->service.Forest().SetText(root(), QString::fromUtf8(c.notebookTitle));
        const TExportTree tree = treeFrom(c.selection, true, c.command);
        EXPECT_EQ(HtmlPageTitle(QString::fromUtf8(c.typed), tree, c.command), QString::fromUtf8(c.expected))
            << c.typed << "|" << c.notebookTitle;
    }
    // On the page it is escaped.
    const TExportTree tree = treeFrom(first->TreeNode, true, Command::ExportNote);
    THtmlChoices html;
    html.title = HtmlPageTitle({}, tree, Command::ExportNote);
    const QString page = QString::fromUtf8(
        fileBytes(save(generate(tree, true), TDocumentTarget::FileHTML, QStringLiteral("one.htm"), html)));
    EXPECT_TRUE(page.contains(QStringLiteral("<TITLE>Первая &lt;&amp;&gt;</TITLE>"))) << page.toStdString();
}

TEST_F(SingleExport, HtmlPageEndsListsAndSizesTitlesAfterTheInterfaceFont) {
    // A note that ends in a bulleted list, then the footer, the separator and the next note.
    // In the size new notes get, 9 points.
    note(QStringLiteral("Список"),
         "{\\rtf1\\ansi{\\fonttbl{\\f0 Verdana;}}\\f0\\fs18 Intro\\par{\\pntext\\'b7\\tab}"
         "{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\'b7}}\\fi-360\\li360 Item one\\par"
         "{\\pntext\\'b7\\tab}Item two\\par}");
    note(QStringLiteral("Следом"), rtfBody("After"));
    const TExportTree tree = treeFrom(root());
    for (const int interfaceSize : {9, 11}) {
        QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), interfaceSize));
        THtmlChoices html;
        html.fontName = QStringLiteral("Verdana");
        html.fontSize = 9;
        const QString page = QString::fromUtf8(fileBytes(
            save(generate(tree, true), TDocumentTarget::FileHTML, QStringLiteral("page.htm"), html)));
        SCOPED_TRACE(page.toStdString());
        const QString bullet = QStringLiteral("\u2022");
        ASSERT_TRUE(paragraphWith(page, QStringLiteral("Item two")).contains(bullet));
        for (const QString& after :
             {QStringLiteral("Created in"), QString(44, u'='), QStringLiteral("Следом")}) {
            const QString paragraph = paragraphWith(page, after);
            EXPECT_FALSE(paragraph.contains(bullet)) << after.toStdString();
            EXPECT_FALSE(paragraph.contains(QStringLiteral("margin-left"))) << after.toStdString();
        }
        // The default title font, the dialog font at 8 points, is the interface font at its own size.
        EXPECT_DOUBLE_EQ(pointSizeOf(page, QStringLiteral("Список")), double(interfaceSize));
        EXPECT_GE(pointSizeOf(page, QStringLiteral("Список")), pointSizeOf(page, QStringLiteral("Item one")));
        // Every family named has its generic fallback.
        static const QRegularExpression family(QStringLiteral("font-family:([^;]*);"));
        for (const QRegularExpressionMatch& m :
             family.globalMatch(QString(page).replace(QStringLiteral("&quot;"), QStringLiteral("\""))))
            EXPECT_TRUE(m.captured(1).endsWith(QStringLiteral("sans-serif")) ||
                        m.captured(1).endsWith(QStringLiteral("serif")) ||
                        m.captured(1).endsWith(QStringLiteral("monospace")))
                << m.captured(1).toStdString();
        EXPECT_FALSE(page.contains(QStringLiteral("Sans Serif")));
    }
}
