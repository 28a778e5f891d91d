// Stream in with the fall-back, stream out of the whole text or the
// selection, and switching between rich and plain mode.
#include "editor_fixture.h"

#include "core/error.h"
#include "rtf/rtf.h"
#include "support/test_paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <QBuffer>

using namespace vlr;
using namespace vlr::test;

namespace {

class StreamTest : public EditorTest {};

} // namespace

TEST_F(StreamTest, FallBackReadsEachFormatInTheOtherMode) {
    struct Case {
        const char* name;
        bool plainMode;
        QByteArray data;
        QString text;
    };
    const QList<Case> cases = {
        {"rtf in rich mode", false, rtfDoc("Hello \\b world\\b0"), "Hello world"},
        {"text body in rich mode", false, QByteArray("plain\r\nsecond line"), "plain\nsecond line"},
        {"cp1251 text in rich mode", false, QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"),
         QString::fromUtf8("Привет")},
        {"utf-8 behind the mark", false, QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("日本 и ё").toUtf8(),
         QString::fromUtf8("日本 и ё")},
        {"text in plain mode", true, QByteArray("a\rb"), "a\nb"},
        {"empty stream", false, QByteArray(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edit.SetPlainText(c.plainMode);
        edit.LoadFromBytes(c.data);
        EXPECT_EQ(edit.Text(), c.text);
        EXPECT_EQ(edit.SelStart(), 0);
        EXPECT_EQ(edit.SelLength(), 0);
        EXPECT_FALSE(edit.Modified());
        EXPECT_FALSE(edit.CanUndo());
    }
}

TEST_F(StreamTest, TextBodyInRichNoteIsSavedBackAsRtf) {
    edit.LoadFromBytes(QByteArray("just text"));
    const QByteArray out = edit.SaveToBytes();
    EXPECT_TRUE(rtf::looksLikeRtf(out));
    EXPECT_EQ(rtf::rtfToPlainText(out), QStringLiteral("just text"));
}

TEST_F(StreamTest, ExplicitFormatForcesOneTransfer) {
    // sfPlainText in a rich control shows RTF source as text.
    edit.SetStreamFormat(TStreamFormat::sfPlainText);
    edit.LoadFromBytes(rtfDoc("x"));
    EXPECT_TRUE(edit.Text().startsWith(QStringLiteral("{\\rtf1")));
    edit.SetStreamFormat(TStreamFormat::sfDefault);
    edit.LoadFromBytes(rtfDoc("x"));
    EXPECT_EQ(edit.Text(), QStringLiteral("x"));
}

TEST_F(StreamTest, StreamErrorsRaiseTheirTexts) {
    QBuffer closed;
    try {
        edit.LoadFromStream(closed);
        FAIL() << "no error";
    } catch (const EVellinorError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Failed to Load Stream"));
    }
    load("kept");
    QByteArray target;
    QBuffer readOnly(&target);
    readOnly.open(QIODevice::ReadOnly);
    try {
        edit.SaveToStream(readOnly);
        FAIL() << "no error";
    } catch (const EVellinorError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Failed to Save Stream"));
    }
    EXPECT_EQ(edit.Text(), QStringLiteral("kept"));
}

TEST_F(StreamTest, SelectionModeStreamsOnlyTheSelection) {
    load("one \\b two\\b0  three");
    select(4, 7);
    edit.SetStreamMode(smSelection);
    const QByteArray rtfOut = edit.SaveToBytes();
    EXPECT_EQ(rtf::rtfToPlainText(rtfOut), QStringLiteral("two"));
    QTextDocument doc;
    ASSERT_TRUE(rtf::readRtf(rtfOut, &doc));
    QTextCursor c(&doc);
    c.setPosition(1);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);

    edit.SetStreamFormat(TStreamFormat::sfPlainText);
    EXPECT_EQ(edit.SaveToBytes(), QByteArray("two"));

    // Stream in replaces the selection, then the caret goes to 0.
    edit.SetStreamFormat(TStreamFormat::sfDefault);
    select(0, 3);
    edit.LoadFromBytes(rtfFragment("ONE"));
    edit.SetStreamMode({});
    EXPECT_EQ(edit.Text(), QStringLiteral("ONE two three"));
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_TRUE(edit.Modified());
}

TEST_F(StreamTest, PlainTextOutIsAnsiOrMarkedUtf8WithCrLf) {
    edit.SetPlainText(true);
    edit.LoadFromBytes(QByteArray("\xc0\xe1\r\nz"));
    EXPECT_EQ(edit.SaveToBytes(), QByteArray("\xc0\xe1\r\nz"));
    edit.LoadFromBytes(QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("日本").toUtf8());
    EXPECT_EQ(edit.SaveToBytes(), QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("日本").toUtf8());
    edit.SetStreamMode(smUnicode);
    EXPECT_EQ(edit.SaveToBytes(), QByteArray("\xE5\x65\x2C\x67", 4));
    edit.LoadFromBytes(QByteArray("a\0\r\0\n\0b\0", 8));
    EXPECT_EQ(edit.Text(), QStringLiteral("a\nb"));
}

TEST_F(StreamTest, SwitchingPlainModeKeepsTheText) {
    load("Bold \\b text\\b0\\par second");
    const QString before = edit.Text();
    edit.SetPlainText(true);
    EXPECT_TRUE(edit.PlainText());
    EXPECT_EQ(edit.Text(), before);
    EXPECT_FALSE(rtf::looksLikeRtf(edit.SaveToBytes()));
    edit.SetPlainText(false);
    EXPECT_EQ(edit.Text(), before);
    EXPECT_TRUE(rtf::looksLikeRtf(edit.SaveToBytes()));
}

TEST_F(StreamTest, ClearEmptiesAndForgets) {
    load("abc");
    type("x");
    ASSERT_TRUE(edit.Modified());
    edit.Clear();
    EXPECT_EQ(edit.TextLength(), 0);
    EXPECT_FALSE(edit.Modified());
    EXPECT_FALSE(edit.CanUndo());
}

TEST_F(StreamTest, CorpusFilesLoadAndSaveBack) {
    VLR_REQUIRE_TESTDATA();
    const QDir dir(testDataDir() + QStringLiteral("/rtf"));
    const QStringList files = dir.entryList({QStringLiteral("*.rtf")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        edit.LoadFromStream(f);
        const QString shown = edit.Text();
        const QByteArray saved = edit.SaveToBytes();
        TMyRichEdit again;
        again.LoadFromBytes(saved);
        EXPECT_EQ(again.Text(), shown);
    }
}

TEST_F(StreamTest, TextFilesFromOutsideMayBeUtf8WithoutTheMark) {
    // A file read through a stream takes the outside rule; the same bytes as
    // a stored note body keep the body's rule (no mark: Windows-1251).
    struct Case {
        const char* name;
        QByteArray bytes;
        QString fromFile;
        QString asBody;
    };
    const QString privet = QString::fromUtf8("Привет");
    const QList<Case> cases = {
        {"utf-8 without the mark", privet.toUtf8(), privet, QString::fromUtf8("РџСЂРёРІРµС‚")},
        {"windows-1251", QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"), privet, privet},
        {"utf-8 behind the mark", QByteArray("\xEF\xBB\xBF") + privet.toUtf8(), privet, privet},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        for (bool plainMode : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (plainMode ? " in plain mode" : " in rich mode"));
            QFile f(dir.filePath(QStringLiteral("note.txt")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.bytes);
            f.close();
            edit.SetStreamMode({});
            edit.SetPlainText(plainMode);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            edit.LoadFromStream(f);
            EXPECT_EQ(edit.Text(), c.fromFile);
            // Inserted at the caret, a file is outside text too.
            f.seek(0);
            edit.SetStreamMode(smSelection);
            edit.SetSelection(edit.TextLength(), edit.TextLength(), false);
            edit.LoadFromStream(f);
            EXPECT_EQ(edit.Text(), c.fromFile + c.fromFile);
            edit.SetStreamMode({});
            edit.LoadFromBytes(c.bytes);
            EXPECT_EQ(edit.Text(), c.asBody);
        }
    }
}
