// One file per note and the structured export: names, folders, formats,
// the folder never left, open notebooks never written.
#include "core/codepage.h"
#include "exchange/converters.h"
#include "exchange/multi_export.h"
#include "exchange/safe_write.h"
#include "exchange/struct_export.h"
#include "exchange_fixture.h"

#include <QFile>

using namespace vlr;
using namespace vlr::test;

namespace {

class FilesExport : public ExchangeTest {
protected:
    QString out() const { return dir.filePath(QStringLiteral("out")); }
    TFilesExportResult run(const TExportTree& tree, TFilesExportOptions o) {
        o.folder = out();
        TConverterRun converters;
        return ExportFilesPerNote(tree, o, TWriteGuard::ForNotebooks(book->service), converters);
    }
};

} // namespace

TEST_F(FilesExport, NamesFollowTheTitlesInBothFolderModes) {
    TNodeData* a = note(QStringLiteral("a/b"), rtfBody("1"));
    note(QStringLiteral("a/b"), rtfBody("2"));
    TNodeData* parent = note(QStringLiteral("Parent"), rtfBody("p"));
    note(QStringLiteral("Child"), rtfBody("c"), parent);
    TNodeData* dots = note(QStringLiteral("Итоги..."), rtfBody("d"));
    note(QStringLiteral("Sub"), rtfBody("s"), dots);
    note(QStringLiteral("Deep"), rtfBody("x"), a);

    struct Case {
        bool oneFolder, replace, number;
        QStringList files;
    } cases[] = {
        {false,
         false,
         true,
         {"Parent.rtf", "Parent/Child.rtf", "ab 2.rtf", "ab.rtf", "ab/Deep.rtf", "Итоги....rtf",
          "Итоги/Sub.rtf"}},
        {true,
         true,
         true,
         {"Parent - Child.rtf", "Parent.rtf", "a_b - Deep.rtf", "a_b 2.rtf", "a_b.rtf", "Итоги - Sub.rtf",
          "Итоги....rtf"}},
        {false,
         false,
         false,
         {"Parent.rtf", "Parent/Child.rtf", "ab.rtf", "ab/Deep.rtf", "Итоги....rtf", "Итоги/Sub.rtf"}},
    };
    for (const Case& c : cases) {
        QDir(out()).removeRecursively();
        TFilesExportOptions o;
        o.oneFolder = c.oneFolder;
        o.replaceChars = c.replace;
        o.numberDuplicates = c.number;
        const TFilesExportResult r = run(treeFrom(root()), o);
        QStringList expected = c.files;
        expected.sort();
        EXPECT_EQ(filesBelow(out()), expected) << c.oneFolder << c.replace << c.number;
        EXPECT_EQ(r.failed, 0);
    }
    // Overwriting keeps the last of the same name.
    EXPECT_EQ(fileBytes(QDir(out()).filePath(QStringLiteral("ab.rtf"))), rtfBody("2"));
}

TEST_F(FilesExport, FormatsOfTheFiles) {
    note(QStringLiteral("Текст"), rtfBody("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 world and more words here"));
    note(QStringLiteral("Простая"), QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"), nullptr, true);
    // A plain note Windows-1251 cannot hold is stored as marked UTF-8.
    note(QStringLiteral("Знаки"), QByteArray("\xEF\xBB\xBF") + QStringLiteral("Знак ✓\r\nи ещё").toUtf8(),
         nullptr, true);
    struct Case {
        TFileFormat format;
        bool wrap;
        const char* file;
        QByteArray content;
    } cases[] = {
        // Files are read by other programs: the letters also as \\uN.
        {TFileFormat::FormatRTF, false, "Текст.rtf",
         rtfBody(
             "\\u1055\\'cf\\u1088\\'f0\\u1080\\'e8\\u1074\\'e2\\u1077\\'e5\\u1090\\'f2 world and more words "
             "here")},
        {TFileFormat::FormatRTF, false, "Простая.rtf", QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2")},
        // Text for Linux programs: UTF-8 without a mark, LF line ends.
        {TFileFormat::FormatTXT, false, "Текст.txt", QByteArray("Привет world and more words here")},
        {TFileFormat::FormatTXT, false, "Знаки.txt", QByteArray("Знак ✓\nи ещё")},
        {TFileFormat::FormatOEM, false, "Знаки.txt", toOem(QStringLiteral("Знак ?\r\nи ещё"))},
        {TFileFormat::FormatOEM, false, "Текст.txt",
         toOem(QStringLiteral("Привет world and more words here"))},
        {TFileFormat::FormatOEM, false, "Простая.txt",
         toOem(QStringLiteral("Привет"))}, // no zero byte at the end
        {TFileFormat::FormatTXT, true, "Текст.txt", QByteArray("Привет \nworld and \nmore words \nhere\n")},
        {TFileFormat::FormatOEM, true, "Текст.txt",
         toOem(QStringLiteral("Привет \r\nworld and \r\nmore words \r\nhere\r\n"))},
        {TFileFormat::FormatTXT, true, "Простая.txt", QByteArray("Привет\n")},
    };
    for (const Case& c : cases) {
        QDir(out()).removeRecursively();
        TFilesExportOptions o;
        o.format = c.format;
        o.formatText = c.wrap;
        o.lineWidth = 12;
        run(treeFrom(root()), o);
        EXPECT_EQ(fileBytes(QDir(out()).filePath(QString::fromUtf8(c.file))), c.content) << c.file;
    }
    QDir(out()).removeRecursively();
    TFilesExportOptions o;
    o.format = TFileFormat::FormatHTM;
    run(treeFrom(root()), o);
    const QByteArray html = fileBytes(QDir(out()).filePath(QStringLiteral("Текст.htm")));
    EXPECT_TRUE(html.contains("<TITLE>Текст</TITLE>")) << html.constData();
}

TEST_F(FilesExport, NeverLeavesTheFolderNorWritesANotebook) {
    // A symbolic link in the folder named like a note's subfolder points elsewhere.
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(elsewhere);
    QDir().mkpath(out());
    ASSERT_TRUE(QFile::link(elsewhere, QDir(out()).filePath(QStringLiteral("Папка"))));
    // A link named like a note's file points at the open notebook.
    ASSERT_EQ(book->service.Save(*book->nb), srOk);
    const QByteArray notebookBefore = fileBytes(path());
    ASSERT_TRUE(QFile::link(path(), QDir(out()).filePath(QStringLiteral("Ссылка.rtf"))));

    TNodeData* folder = note(QStringLiteral("Папка"), rtfBody("f"));
    note(QStringLiteral("Внутри"), rtfBody("i"), folder);
    note(QStringLiteral("Ссылка"), rtfBody("l"));
    note(QStringLiteral(".."), rtfBody("up"));
    note(QStringLiteral("../../escape"), rtfBody("e"));
    TFilesExportOptions o;
    o.numberDuplicates = false; // overwrite: the link itself is replaced, not its target
    const TFilesExportResult r = run(treeFrom(root()), o);
    EXPECT_EQ(r.failed, 1) << "the note below the linked folder";
    EXPECT_TRUE(filesBelow(elsewhere).isEmpty());
    EXPECT_EQ(fileBytes(path()), notebookBefore);
    EXPECT_FALSE(QFileInfo(QDir(out()).filePath(QStringLiteral("Ссылка.rtf"))).isSymLink());
    EXPECT_TRUE(filesBelow(out()).contains(QStringLiteral("...rtf")));
    EXPECT_TRUE(filesBelow(out()).contains(QStringLiteral(".._.._escape.rtf")));
    for (const QString& f : r.written)
        EXPECT_TRUE(CanonicalPath(f).startsWith(CanonicalPath(out()) + u'/')) << f.toStdString();

    // The single-file writer refuses an open notebook, directly or through a link.
    const TWriteGuard guard = TWriteGuard::ForNotebooks(book->service);
    EXPECT_FALSE(WriteFileAtomically(path(), "x", guard));
    ASSERT_TRUE(QFile::link(path(), dir.filePath(QStringLiteral("alias.vlr"))));
    EXPECT_FALSE(WriteFileAtomically(dir.filePath(QStringLiteral("alias.vlr")), "x", guard));
    EXPECT_EQ(fileBytes(path()), notebookBefore);
}

TEST_F(FilesExport, StopEndsTheExport) {
    for (int i = 0; i < 5; ++i)
        note(QStringLiteral("n%1").arg(i), rtfBody("x"));
    progress.stopAtStep(2);
    const TFilesExportResult r = run(treeFrom(root()), {});
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.written.size(), 2);
    EXPECT_EQ(progress.calls().first(), QStringLiteral("start Обработка файлов, подождите... 6 stop"));
}

TEST_F(FilesExport, StructuredExportCopiesTheWholeTree) {
    TNodeData* a = note(QStringLiteral("A"), rtfBody("a body"));
    TNodeData* b = note(QStringLiteral("B"), QByteArray("plain"), a, true);
    b->Record.setFontColor(0x0000FF);
    b->Record.setImageIndex(5);
    note(QStringLiteral("C"), rtfBody("c body"), b);
    ASSERT_EQ(book->service.Save(*book->nb), srOk);
    const QByteArray before = fileBytes(path());
    TExportTree tree = treeFrom(root());
    tree.Toggle(tree.Root()->Child(0)); // marks do not matter here
    const QString target = dir.filePath(QStringLiteral("copy.vlr"));
    const TWriteGuard guard = TWriteGuard::ForNotebooks(book->service);

    EXPECT_FALSE(ExportToNotebookFile(tree, {path(), false, {}}, guard)) << "the open notebook itself";
    EXPECT_EQ(fileBytes(path()), before);
    ASSERT_TRUE(ExportToNotebookFile(tree, {target, true, QStringLiteral("secret")}, guard));
    EXPECT_EQ(filesBelow(dir.path()).filter(QStringLiteral(".part")), QStringList());

    int result = -1;
    auto copy = Book::open(target, &result, QStringLiteral("secret"));
    ASSERT_EQ(result, lrOk);
    ASSERT_EQ(copy->nb->Notes.size(), 3);
    EXPECT_TRUE(copy->nb->HasBookFlag(bfEncrypted | bfCompressed));
    EXPECT_EQ(copy->nb->RootNode->Text(), QStringLiteral("Книга"));
    const TNodeData* cb = copy->nb->Notes[1];
    EXPECT_EQ(cb->Record.NoteName(), QStringLiteral("B"));
    EXPECT_EQ(cb->Record.PlainText(), 1);
    EXPECT_EQ(cb->Record.FontColor(), 0x0000FF);
    EXPECT_EQ(cb->Record.ImageIndex(), 5);
    EXPECT_NE(QByteArray(reinterpret_cast<const char*>(cb->Record.ID()), 16),
              QByteArray(reinterpret_cast<const char*>(b->Record.ID()), 16));
    EXPECT_EQ(copy->body(0), rtfBody("a body"));
    EXPECT_EQ(copy->body(1), QByteArray("plain"));
    EXPECT_EQ(copy->body(2), rtfBody("c body"));
    EXPECT_EQ(copy->nb->Notes[2]->TreeNode->Parent()->Text(), QStringLiteral("B"));
}
