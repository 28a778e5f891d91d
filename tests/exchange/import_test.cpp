// Import: files read into RTF, the three ways of building notes, the error
// texts, and the notebook left alone when it may not change.
#include "core/codepage.h"
#include "exchange/converters.h"
#include "exchange/import_run.h"
#include "exchange_fixture.h"
#include "rtf/rtf.h"

#include <QFile>

using namespace vlr;
using namespace vlr::test;

namespace {

class Import : public ExchangeTest {
protected:
    QString put(const QString& relative, const QByteArray& bytes) {
        const QString file = dir.filePath(QStringLiteral("docs/") + relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return file;
    }
    QList<TImportRow> rows(const QStringList& files) {
        QList<TImportRow> list;
        for (const QString& f : files) {
            const std::optional<TImportRow> row = MakeImportRow(f, AcceptedExtensions({}), {});
            EXPECT_TRUE(row.has_value()) << f.toStdString();
            if (row)
                list.append(*row);
        }
        return list;
    }
    TImportOutcome import(const QList<TImportRow>& list, TImportMode mode, TTreeNode* under = nullptr) {
        TImportSettings s;
        s.mode = mode;
        TConverterRun run;
        return ImportFiles(book->service, under ? under : root(), list, s, {}, run);
    }
    static QString textOf(const TNodeData* n) { return rtf::rtfToPlainText(n->Body); }
    // The titles below a node, nested in brackets.
    static QString shape(const TTreeNode* node) {
        QStringList parts;
        for (int i = 0; i < node->Count(); ++i) {
            const TTreeNode* c = node->Child(i);
            parts << (c->HasChildren() ? c->Text() + u'[' + shape(c) + u']' : c->Text());
        }
        return parts.join(u' ');
    }
};

} // namespace

TEST_F(Import, PlainTextAndRtfFilesBecomeRtf) {
    TImportSettings s;
    TConverterRun run;
    TFileReader reader(s, {}, run);
    const auto rtfOf = [&](const QByteArray& bytes) {
        return reader.ReadAsRtf(rows({put(QStringLiteral("f.txt"), bytes)}).first());
    };
    EXPECT_EQ(rtf::rtfToPlainText(rtfOf("one\r\ntwo\r\nthree")), QStringLiteral("one\ntwo\nthree"));
    EXPECT_EQ(rtf::rtfToPlainText(rtfOf("lone\rcr")), QStringLiteral("lonecr"));
    EXPECT_TRUE(rtfOf(QByteArray("caf\xe9")).contains("caf\\'e9"));
    const QByteArray already = "{\\rtf1\\ansi {\\b bold}\\par }";
    EXPECT_EQ(rtfOf(already), already) << "a file beginning with {\\rtf is taken as it is";
    EXPECT_EQ(rtf::rtfToPlainText(rtfOf("{\\rtf")), QStringLiteral("{\\rtf")) << "five bytes are text";
    const QString russian = QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю");
    EXPECT_EQ(rtf::rtfToPlainText(rtfOf(russian.toUtf8())), russian);
    EXPECT_EQ(rtf::rtfToPlainText(rtfOf("\xEF\xBB\xBF" + russian.toUtf8())), russian);
    EXPECT_EQ(rtf::rtfToPlainText(rtfOf(QByteArray("\xd1\xfa\xe5\xf8\xfc"))), QStringLiteral("Съешь"));
    EXPECT_FALSE(MakeImportRow(put(QStringLiteral("noext"), "x"), AcceptedExtensions({}), {}).has_value());
    EXPECT_FALSE(
        MakeImportRow(dir.filePath(QStringLiteral("missing.txt")), AcceptedExtensions({}), {}).has_value());
}

TEST_F(Import, ThreeFilesIntoOneNote) {
    const QList<TImportRow> list =
        rows({put(QStringLiteral("1.txt"), "first"), put(QStringLiteral("2.rtf"), "{\\rtf1\\ansi second}"),
              put(QStringLiteral("3.txt"), "third")});
    const TImportOutcome r = import(list, TImportMode::OneNote);
    ASSERT_EQ(r.notes.size(), 1);
    EXPECT_EQ(r.notes.first()->Record.NoteName(), QStringLiteral("1.txt"));
    const QString line = QString(40, u'=');
    EXPECT_EQ(textOf(r.notes.first()), QStringLiteral("first\n") + line + QStringLiteral("\nsecond\n") +
                                           line + QStringLiteral("\nthird"));
    EXPECT_TRUE(book->nb->Modified);
    EXPECT_EQ(progress.calls().first(), QStringLiteral("start Импортируем ... 3 stop"));
}

TEST_F(Import, ListOfNotesWithAFileThatCannotBeRead) {
    const QString gone = put(QStringLiteral("gone.txt"), "x");
    QList<TImportRow> list = rows({put(QStringLiteral("a.txt"), "A"), gone});
    QFile::remove(gone);
    TNodeData* under = note(QStringLiteral("Сюда"), rtfBody(""));
    const TImportOutcome r = import(list, TImportMode::NoteList, under->TreeNode);
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(shape(under->TreeNode), QStringLiteral("a.txt gone.txt"));
    EXPECT_EQ(textOf(r.notes[0]), QStringLiteral("A"));
    EXPECT_EQ(textOf(r.notes[1]), QStringLiteral("Ошибка импорта ") + gone);
}

TEST_F(Import, TreeOfNotesFollowsTheFolders) {
    struct Case {
        QStringList files; // relative to docs/
        const char* shape;
    } cases[] = {
        {{"x.txt", "a/y.txt", "b/z.txt"}, "x.txt a[y.txt] b[z.txt]"},
        // Rows outside the first row's folder are imported all the same.
        {{"a/y.txt", "x.txt", "b/z.txt"}, "a[y.txt] x.txt b[z.txt]"},
        {{"a/c/deep.txt", "a/y.txt", "b/z.txt"}, "a[c[deep.txt] y.txt] b[z.txt]"},
        // A folder reached again after other rows gets a second note.
        {{"a/1.txt", "b/2.txt", "a/3.txt"}, "a[1.txt] b[2.txt] a[3.txt]"},
        {{"one.txt"}, "one.txt"},
    };
    for (const Case& c : cases) {
        QStringList files;
        for (const QString& f : c.files)
            files << put(f, f.toUtf8());
        TNodeData* under = note(QStringLiteral("Цель"), rtfBody(""));
        const TImportOutcome r = import(rows(files), TImportMode::NoteTree, under->TreeNode);
        EXPECT_EQ(shape(under->TreeNode), QString::fromUtf8(c.shape));
        EXPECT_EQ(r.failed, 0);
        QDir(dir.filePath(QStringLiteral("docs"))).removeRecursively();
    }
    // Every note has its file's text.
    const QList<TImportRow> list = rows({put(QStringLiteral("q/w.txt"), "ww")});
    const TImportOutcome r = import(list, TImportMode::NoteTree);
    EXPECT_EQ(textOf(r.notes.last()), QStringLiteral("ww"));
}

TEST_F(Import, ANotebookThatMayNotChangeTakesNothing) {
    const QList<TImportRow> list = rows({put(QStringLiteral("a.txt"), "A")});
    book->nb->SetBookFlag(bfReadOnly, true);
    EXPECT_TRUE(import(list, TImportMode::NoteList).notes.isEmpty());
    EXPECT_EQ(book->nb->Notes.size(), 0);
}

TEST_F(Import, TheNamesAnImportMakesAreKnownBeforehandForEachMode) {
    const QList<TImportRow> list =
        rows({put(QStringLiteral("Straße/a.txt"), "a"), put(QStringLiteral("Straße/Ελ/b.txt"), "b"),
              put(QStringLiteral("c.txt"), "c")});
    struct Case {
        TImportMode mode;
        QStringList names;
    };
    const Case cases[] = {
        {TImportMode::OneNote, {QStringLiteral("a.txt")}},
        {TImportMode::NoteList, {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")}},
        {TImportMode::NoteTree,
         {QStringLiteral("Straße"), QStringLiteral("a.txt"), QStringLiteral("Ελ"), QStringLiteral("b.txt"),
          QStringLiteral("c.txt")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        const QStringList names = ImportedNames(list, c.mode);
        EXPECT_EQ(names, c.names);
        // The names the import really makes are those.
        const TImportOutcome r = import(list, c.mode);
        QStringList made;
        for (const TNodeData* note : r.notes)
            made << note->TreeNode->Text();
        QStringList expected;
        for (const QString& name : names)
            expected << fromAnsi(toAnsi(name));
        made.removeDuplicates();
        EXPECT_EQ(made, expected);
    }
    EXPECT_TRUE(ImportedNames({}, TImportMode::OneNote).isEmpty());
}

TEST(ImportTypeName, TheTypeColumnSpeaksRussian) {
    struct Case {
        const char* extension;
        const char* name;
    };
    const Case cases[] = {
        {"txt", "Текстовый документ"}, {"RTF", "Документ RTF"}, {"docx", "Документ Word"},
        {"htm", "Веб-страница"},       {"xyz", "Файл «XYZ»"},   {"", "???"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImportTypeName(QString::fromUtf8(c.extension)), QString::fromUtf8(c.name)) << c.extension;
}
