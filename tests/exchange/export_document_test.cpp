// The combined document: the order of separations, headers, bodies and
// footers in both forms, page breaks, macros, wrapping and Stop.
#include "exchange/export_document.h"
#include "exchange_fixture.h"
#include "libs/extlib.h"

#include <QTextBlock>
#include <QTextDocument>

using namespace vlr;
using namespace vlr::test;

namespace {

class ExportDocument : public ExchangeTest {
protected:
    void SetUp() override {
        ExchangeTest::SetUp();
        first = note(QStringLiteral("Первая"), rtfBody("First body"));
        child = note(QStringLiteral("Дочь"), rtfBody("Child body"), first);
        second = note(QStringLiteral("Вторая"), rtfBody("Second body"));
        book->nb->Header.setAuthor(QStringLiteral("Автор"));
        for (TNodeData* n : {first, child, second})
            n->Record.setCreated(45000.5);
        locale.shortDateFormat = QStringLiteral("dd/mm/yyyy");
    }
    TDocumentOptions options(bool formatted) const {
        TDocumentOptions o;
        o.formatted = formatted;
        return o;
    }
    TCombinedDocument generate(const TExportTree& tree, const TDocumentOptions& o) {
        return GenerateDocument(tree, o, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), locale);
    }

    TNodeData *first = nullptr, *child = nullptr, *second = nullptr;
    DateFormatLocale locale;
    const QString footer = QStringLiteral("Created in 15.03.2023 by Автор");
    const QString separator = QString(44, u'=');
};

} // namespace

TEST_F(ExportDocument, DefaultHeaderAndFooterFrameEachNoteInBothForms) {
    TExportTree tree = treeFrom(root());
    tree.Toggle(tree.Root()->Child(0)->Child(0)); // the child stays out
    const QString expected =
        QStringLiteral("Первая\r\nFirst body\r\n") + footer + QStringLiteral("\r\n\r\n") + separator +
        QStringLiteral("\r\nВторая\r\nSecond body\r\n") + footer + QStringLiteral("\r\n");
    for (bool formatted : {true, false}) {
        const TCombinedDocument doc = generate(tree, options(formatted));
        EXPECT_EQ(doc.PlainText(), expected) << "formatted " << formatted;
        EXPECT_EQ(doc.NoteCount(), 2);
        EXPECT_FALSE(doc.Stopped());
    }
    EXPECT_EQ(progress.calls().first(), QStringLiteral("start Генерирую текст, подождите... 4 stop"));
}

TEST_F(ExportDocument, SeparationKindsAndAnUnmarkedFirstNode) {
    struct Case {
        TSeparation separation;
        bool header;
        bool unmarkFirst;
        const char* plainStart; // the plain text up to the first body
    } cases[] = {
        {TSeparation::Text, true, false, "Первая\r\nFirst body"},
        {TSeparation::PageBreak, true, false, "Первая\r\nFirst body"},  // no break before the first note
        {TSeparation::Text, false, true, "\r\n====\r\n\r\nChild body"}, // separation and an empty line
        {TSeparation::Nothing, false, true, "\r\n\r\nChild body"},
        {TSeparation::PageBreak, false, true, "\f\r\nChild body"},
        {TSeparation::PageBreak, true, true, "\fДочь\r\nChild body"},
    };
    for (const Case& c : cases) {
        TExportTree tree = treeFrom(root());
        if (c.unmarkFirst)
            tree.Toggle(tree.Root()->Child(0));
        TDocumentOptions o = options(false);
        o.layout.separation = c.separation;
        o.layout.separator = QStringLiteral("====");
        o.layout.insertHeader = c.header;
        const QString plain = generate(tree, o).PlainText();
        EXPECT_TRUE(plain.startsWith(QString::fromUtf8(c.plainStart)))
            << c.plainStart << " / " << plain.toStdString();
        EXPECT_EQ(plain.count(u'\f'), c.separation == TSeparation::PageBreak ? 2 : 0);

        o.formatted = true;
        const TCombinedDocument rich = generate(tree, o);
        int breaks = 0;
        for (QTextBlock b = rich.Document()->begin(); b.isValid(); b = b.next())
            breaks += (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) ? 1 : 0;
        EXPECT_EQ(breaks, c.separation == TSeparation::PageBreak ? 2 : 0) << c.plainStart;
        if (!c.unmarkFirst) {
            EXPECT_FALSE(rich.Document()->begin().blockFormat().pageBreakPolicy() &
                         QTextFormat::PageBreak_AlwaysBefore);
        }
        EXPECT_EQ(rich.Rtf().count("\\pagebb"), breaks);
    }
}

TEST_F(ExportDocument, MacrosFollowTheNotebookAndTheExportTree) {
    TNodeData* grandchild = note(QStringLiteral("Внучка"), rtfBody("x"), child);
    grandchild->Record.setCreated(45000.5);
    TExportTree tree = treeFrom(child->TreeNode);
    TDocumentOptions o = options(false);
    o.layout.header = {QStringLiteral("$NR"), QStringLiteral("$NP|$NB|$L")};
    o.layout.insertFooter = false;
    const QString plain = generate(tree, o).PlainText();
    EXPECT_TRUE(
        plain.contains(QStringLiteral("Книга - Первая - Дочь - Внучка\r\nКнига - Дочь - Внучка|Книга|3\r\n")))
        << plain.toStdString();
}

TEST_F(ExportDocument, PlainExportWrapsAndRichExportKeepsFonts) {
    second->Body = rtfBody("word word word word word word");
    TExportTree tree = treeFrom(second->TreeNode);
    TDocumentOptions o = options(false);
    o.formatText = true;
    o.lineWidth = 10;
    o.layout.insertHeader = o.layout.insertFooter = false;
    EXPECT_EQ(generate(tree, o).PlainText(), QStringLiteral("word word \r\nword word \r\nword word\r\n\r\n"));

    o = options(true);
    o.layout.headerFont.style = 1;
    o.layout.headerFont.name = QStringLiteral("DejaVu Serif");
    o.layout.centerHeader = true;
    const TCombinedDocument rich = generate(tree, o);
    const QTextBlock header = rich.Document()->begin();
    EXPECT_EQ(header.text(), QStringLiteral("Вторая"));
    EXPECT_EQ(header.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(header.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(header.next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_TRUE(rich.Rtf().contains("DejaVu Serif"));
}

TEST_F(ExportDocument, PlainNotesAndStop) {
    TNodeData* plainNote =
        note(QStringLiteral("Простая"), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2\r\nline"), nullptr, true);
    TExportTree tree = treeFrom(plainNote->TreeNode);
    TDocumentOptions o = options(true);
    o.layout.insertHeader = o.layout.insertFooter = false;
    EXPECT_EQ(generate(tree, o).PlainText(), QStringLiteral("Привет\r\nline\r\n"));

    progress.stopAtStep(2); // the root, then the first note
    TExportTree all = treeFrom(root());
    const TCombinedDocument stopped = generate(all, options(false));
    EXPECT_TRUE(stopped.Stopped());
    EXPECT_EQ(stopped.NoteCount(), 1);
    EXPECT_TRUE(stopped.PlainText().contains(QStringLiteral("First body")));
    EXPECT_FALSE(stopped.PlainText().contains(QStringLiteral("Child body")));
}

TEST_F(ExportDocument, PlainExportWithoutTheExtensionLibraryKeepsOnlyTheFrame) {
    TExtLib::setLibraryFolder(dir.filePath(QStringLiteral("nowhere")));
    TExtLib::instance().Unload();
    TExportTree tree = treeFrom(root());
    const QString plain = generate(tree, options(false)).PlainText();
    TExtLib::setLibraryFolder(binDir());
    TExtLib::instance().Unload();
    EXPECT_FALSE(plain.contains(QStringLiteral("body")));
    EXPECT_EQ(plain, QStringLiteral("Первая\r\n") + footer + QStringLiteral("\r\n\r\n") + separator +
                         QStringLiteral("\r\nДочь\r\n") + footer + QStringLiteral("\r\n\r\n") + separator +
                         QStringLiteral("\r\nВторая\r\n") + footer + QStringLiteral("\r\n"));
}
