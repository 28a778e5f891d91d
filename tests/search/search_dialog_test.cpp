// The search dialog and its command: opening, the controls and their
// enabling, settings read on showing and written only by the close button,
// the search as the user runs it (question, faulty pattern, cancel), rows
// leaving with their notes, and a double click selecting the matched text
// in the editor, whatever precedes it in the note.
#include "config/settingsfile.h"
#include "rtf/convert.h"
#include "search/global_search_dialog.h"
#include "search/search_commands.h"
#include "search/search_results_view.h"
#include "search/search_settings.h"
#include "search_fixture.h"
#include "support/recorded_errors.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

using namespace vlr;
using namespace vlr::test;

namespace {

class SearchDialogTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        settings = std::make_unique<TSettingsFile>(dir.filePath(QStringLiteral("vellinor.ini")));
        makeTree();
        commands = std::make_unique<TSearchCommands>(service, *tree, *settings,
                                                     [this](const QString& topic) { topics << topic; });
    }
    void TearDown() override { commands.reset(); }

    TfrmGlobalSearch* openDialog(TTreeNode* select) {
        tree->SelectNode(select);
        commands->EditFindInNotebook->trigger();
        TfrmGlobalSearch* d = commands->Dialog();
        if (d) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(d));
        }
        return d;
    }
    // Runs a search from the dialog as the user does and waits for its end.
    void runSearch(TfrmGlobalSearch* d, const QString& text) {
        QSignalSpy finished(&d->Search(), &TGlobalSearch::finished);
        d->edText->setEditText(text);
        d->btnFind->click();
        if (d->Search().Running()) {
            ASSERT_TRUE(finished.wait(20000));
        }
    }
    QStringList rows(TfrmGlobalSearch* d) {
        QStringList lines;
        for (const TSearchRow& r : d->Search().Results().Rows())
            lines << rowLine(r);
        return lines;
    }

    std::unique_ptr<TSettingsFile> settings;
    std::unique_ptr<TSearchCommands> commands;
    QStringList topics;
};

// Grey pixels of the "no matches" text in the list's viewport.
int greyPixels(QWidget* viewport) {
    const QImage shot = viewport->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            n += (shot.pixel(x, y) & 0xFFFFFF) == 0x808080;
    return n;
}

QByteArray pictureRtf() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "{\\pict\\pngblip\\picw4\\pich3 " + png.toHex() + "}";
}

} // namespace

TEST_F(SearchDialogTest, OpensOnlyWithAnOpenUnlockedNotebookAndStoresTheEditedText) {
    commands->EditFindInNotebook->trigger();
    EXPECT_EQ(commands->Dialog(), nullptr) << "nothing open: nothing happens";
    EXPECT_EQ(commands->EditFindInNotebook->text(), QStringLiteral("Найти в книжках..."));
    EXPECT_TRUE(commands->EditFindInNotebook->shortcut().isEmpty());

    const QString locked =
        writeNotebook(QStringLiteral("L"), {{QStringLiteral("тайна"), rtfOf(QStringLiteral("тайна"))}},
                      bfEncrypted, QStringLiteral("pw"));
    TNodeRoot* nb = open(locked, QStringLiteral("pw"));
    ASSERT_TRUE(nb);
    tree->SelectNode(node(QStringLiteral("тайна")));
    service.Lock(*nb);
    bool asked = false;
    tree->OnAskPassword = [&](TMyCustomTreeView*, TNodeRoot*, bool& res) {
        asked = true;
        res = false;
    };
    commands->EditFindInNotebook->trigger();
    EXPECT_TRUE(asked);
    EXPECT_EQ(commands->Dialog(), nullptr) << "the password was refused";

    TNodeRoot* a = open(
        writeNotebook(QStringLiteral("A"), {{QStringLiteral("первая"), rtfOf(QStringLiteral("текст"))}}));
    tree->SelectNode(node(QStringLiteral("первая")));
    a->TreeDirty = false;
    TfrmGlobalSearch* d = openDialog(node(QStringLiteral("первая")));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Поиск в книжке(ах)"));
    EXPECT_FALSE(d->isModal());
    EXPECT_FALSE(a->TreeDirty) << "opening without edits changes nothing";

    // Typed text is stored into the note first, so the search sees it.
    d->close();
    editor->setFocus();
    editor->SetSelStart(0);
    QTest::keyClicks(editor, "zebra ");
    d = openDialog(node(QStringLiteral("первая")));
    d->rbNotebook->setChecked(true);
    runSearch(d, QStringLiteral("zebra"));
    EXPECT_EQ(linesOf(rows(d)), "A | первая / body / 1 / 5 / 1 / zebra текст");
}

TEST_F(SearchDialogTest, ControlsTextsAndEnabling) {
    open(writeNotebook(QStringLiteral("A"), {{QStringLiteral("первая"), rtfOf(QStringLiteral("текст"))}}));
    TfrmGlobalSearch* d = openDialog(node(QStringLiteral("первая")));
    ASSERT_TRUE(d);
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {d->rbNote, "Тек. запись + подзаписи"},
        {d->rbNotebook, "Текущая книжка"},
        {d->cbRegExp, "Исп. регулярные выражения"},
        {d->cbCaseSen, "Регистро-зависимый"},
        {d->cbMatchWords, "Только целые слова"},
        {d->btnFind, "Искать!"},
        {d->btnCancelFind, "Отменить поиск"},
        {d->btnClear, "Очистить"},
        {d->btnClose, "&Закрыть"},
        {d->btnHelp, "&Справка"},
    };
    for (const auto& [button, text] : buttons)
        EXPECT_EQ(button->text(), QString::fromUtf8(text));
    EXPECT_EQ(d->lbMatchMode->text(), QStringLiteral("Режим совпадения:"));
    ASSERT_EQ(d->cbMatchMode->count(), 3);
    EXPECT_EQ(d->cbMatchMode->itemText(0), QStringLiteral("ТОЧНАЯ фраза"));
    EXPECT_EQ(d->cbMatchMode->itemText(1), QStringLiteral("ЛЮБОЕ из слов"));
    EXPECT_EQ(d->cbMatchMode->itemText(2), QStringLiteral("ВСЕ слова"));
    const QAbstractItemModel* m = d->LV->model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Запись"));
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Первый совпавший текст"));
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Ранг"));
    EXPECT_EQ(d->LV->header()->sectionSize(0), 270);
    EXPECT_EQ(d->LV->header()->sectionSize(2), 40);
    EXPECT_GT(greyPixels(d->LV->viewport()), 0) << "the empty list says so in grey";

    d->cbRegExp->setChecked(true);
    for (QWidget* w :
         std::initializer_list<QWidget*>{d->cbCaseSen, d->cbMatchWords, d->cbMatchMode, d->lbMatchMode})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    d->cbRegExp->setChecked(false);
    EXPECT_TRUE(d->cbCaseSen->isEnabled() && d->cbMatchWords->isEnabled() && d->cbMatchMode->isEnabled());

    EXPECT_TRUE(d->rbNote->isEnabled() && d->rbNote->isChecked());
    tree->SelectNode(root(0));
    EXPECT_FALSE(d->rbNote->isEnabled()) << "a root selected: no current note";
    EXPECT_TRUE(d->rbNotebook->isChecked());

    d->btnHelp->click();
    emit d->lbRegExpHelp->linkActivated(QStringLiteral("#"));
    EXPECT_EQ(topics, (QStringList{QStringLiteral("DialogFindInNotebook"), QStringLiteral("RegExp")}));

    runSearch(d, QStringLiteral("текст"));
    ASSERT_EQ(d->Search().Results().rowCount(), 1);
    EXPECT_EQ(greyPixels(d->LV->viewport()), 0);
    d->btnClear->click();
    EXPECT_EQ(d->Search().Results().rowCount(), 0);
}

TEST_F(SearchDialogTest, SettingsAreReadOnShowingAndWrittenOnlyByTheCloseButton) {
    open(writeNotebook(QStringLiteral("A"), {{QStringLiteral("первая"), rtfOf(QStringLiteral("текст"))}}));
    TGlobalFindSettings s;
    s.dialogSize = QSize(720, 530);
    s.items = {QStringLiteral("один"), QStringLiteral("два")};
    s.whereToFind = TSearchScope::AllNotebooks;
    s.matchWords = true;
    s.matchMode = TMatchMode::AnyWord;
    ASSERT_TRUE(WriteGlobalFindSettings(*settings, s));

    TfrmGlobalSearch* d = openDialog(node(QStringLiteral("первая")));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->size(), QSize(720, 530));
    EXPECT_EQ(d->edText->count(), 2);
    EXPECT_EQ(d->edText->itemText(0), QStringLiteral("один"));
    EXPECT_TRUE(d->rbAllNB->isChecked());
    EXPECT_TRUE(d->cbMatchWords->isChecked());
    EXPECT_EQ(d->cbMatchMode->currentIndex(), 1);

    // Esc closes (and destroys) the dialog without writing.
    const QByteArray before = fileBytes(settings->fileName());
    runSearch(d, QStringLiteral("три"));
    QTest::keyClick(d, Qt::Key_Escape);
    QTRY_VERIFY(!commands->Dialog());
    EXPECT_EQ(fileBytes(settings->fileName()), before);

    d = openDialog(node(QStringLiteral("первая")));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->edText->count(), 2) << "what was not written is gone";
    runSearch(d, QStringLiteral("три"));
    d->rbNotebook->setChecked(true);
    d->cbCaseSen->setChecked(true);
    d->btnClose->click();
    QTRY_VERIFY(!commands->Dialog());
    const TGlobalFindSettings back = ReadGlobalFindSettings(*settings, {});
    EXPECT_EQ(back.items,
              (QStringList{QStringLiteral("три"), QStringLiteral("один"), QStringLiteral("два")}));
    EXPECT_EQ(back.whereToFind, TSearchScope::CurrentNotebook);
    EXPECT_TRUE(back.caseSensitive);
}

TEST_F(SearchDialogTest, SearchingAsksBeforeANewListMarksAFaultyPatternAndCancels) {
    QList<NoteShape> many;
    for (int i = 0; i < 3000; ++i)
        many << NoteShape{QStringLiteral("n%1").arg(i), rtfOf(QStringLiteral("пирог номер %1").arg(i))};
    open(writeNotebook(QStringLiteral("A"), many.mid(0, 2)));
    open(writeNotebook(QStringLiteral("Big"), many));
    TfrmGlobalSearch* d = openDialog(node(QStringLiteral("n0")));
    ASSERT_TRUE(d);
    d->rbNotebook->setChecked(true);
    runSearch(d, QStringLiteral("номер 1"));
    ASSERT_EQ(d->Search().Results().rowCount(), 1);

    // A faulty expression: no question, the rows stay, the fault is marked.
    ScriptedMessages messages;
    d->cbRegExp->setChecked(true);
    runSearch(d, QStringLiteral("ab(c"));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(d->Search().Results().rowCount(), 1);
    EXPECT_EQ(d->edText->lineEdit()->cursorPosition(), 4) << "the fault is at the end of the text";
    runSearch(d, QStringLiteral("a)b"));
    EXPECT_EQ(d->edText->lineEdit()->selectionStart(), 1);
    EXPECT_EQ(d->edText->lineEdit()->selectedText(), QStringLiteral(")"));
    d->cbRegExp->setChecked(false);

    // No adds to the list, Cancel keeps it and searches nothing, Yes starts anew.
    messages.answer(MbNo);
    runSearch(d, QStringLiteral("номер 0"));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, kNewSearchQuestion);
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(messages.shown()[0].buttons, MbYes | MbNo | MbCancel);
    EXPECT_EQ(d->Search().Results().rowCount(), 2);
    messages.answer(MbCancel);
    runSearch(d, QStringLiteral("номер"));
    EXPECT_EQ(d->Search().Results().rowCount(), 2);
    messages.answer(MbYes);

    // All notebooks, cancelled once rows come: the buttons swap while it
    // runs, and the rows found so far stay. Steps of one note each, so that
    // rows come while notes are left.
    d->Search().SetStepTime(std::chrono::milliseconds(0));
    d->rbAllNB->setChecked(true);
    QSignalSpy finished(&d->Search(), &TGlobalSearch::finished);
    // Pressed as soon as the second notebook gives rows.
    const auto press = QObject::connect(&d->Search().Results(), &QAbstractItemModel::rowsInserted, d, [d] {
        if (d->Search().Results().rowCount() > 2 && d->btnCancelFind->isVisible())
            d->btnCancelFind->click();
    });
    d->edText->setEditText(QStringLiteral("пирог"));
    d->btnFind->click();
    ASSERT_TRUE(d->Search().Running());
    EXPECT_TRUE(d->btnCancelFind->isVisible());
    EXPECT_FALSE(d->btnFind->isVisible());
    EXPECT_FALSE(d->btnClear->isEnabled() || d->btnClose->isEnabled());
    ASSERT_TRUE(finished.wait(10000));
    QObject::disconnect(press);
    EXPECT_EQ(finished[0][0].value<TSearchRun::State>(), TSearchRun::State::Cancelled);
    const int kept = d->Search().Results().rowCount();
    EXPECT_LT(kept, 3002);
    EXPECT_EQ(d->Search().Results().Row(kept - 1).firstMatch, QStringLiteral("пирог номер %1").arg(kept - 3))
        << "the rows are the first ones, in order";
    EXPECT_TRUE(d->btnFind->isVisible() && d->btnClear->isEnabled() && d->btnClose->isEnabled());
    EXPECT_FALSE(d->pbProgress->isVisible());
}

TEST_F(SearchDialogTest, RowsLeaveWithTheirNotesAndLockedNotebooks) {
    TNodeRoot* a = open(
        writeNotebook(QStringLiteral("A"), {{QStringLiteral("папка"), rtfOf(QStringLiteral("слово"))},
                                            {QStringLiteral("дочь"), rtfOf(QStringLiteral("слово")), 2},
                                            {QStringLiteral("другая"), rtfOf(QStringLiteral("слово"))}}));
    TNodeRoot* b =
        open(writeNotebook(QStringLiteral("B"), {{QStringLiteral("б"), rtfOf(QStringLiteral("слово"))}},
                           bfEncrypted, QStringLiteral("pw")),
             QStringLiteral("pw"));
    ASSERT_TRUE(a && b);
    TfrmGlobalSearch* d = openDialog(node(QStringLiteral("другая")));
    d->rbAllNB->setChecked(true);
    runSearch(d, QStringLiteral("слово"));
    ASSERT_EQ(d->Search().Results().rowCount(), 4);
    service.DeleteNote(*node(QStringLiteral("папка"))->Note());
    EXPECT_EQ(linesOf(rows(d)), "A | другая / body / 1 / 5 / 1 / слово\nB | б / body / 1 / 5 / 1 / слово");
    service.Lock(*b);
    EXPECT_EQ(d->Search().Results().rowCount(), 1) << "a locked notebook shows nothing of itself";
    service.Close(a);
    EXPECT_EQ(d->Search().Results().rowCount(), 0);
}

TEST_F(SearchDialogTest, DoubleClickSelectsTheMatchInTheEditor) {
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    const QByteArray picture = pictureRtf();
    const QByteArray list =
        "{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf0{\\pntxtb\\'B7}}\\fi-200\\li200 one\\par "
        "{\\pntext\\'B7\\tab}two\\par\\pard ";
    const QByteArray table = "\\trowd\\cellx1000\\cellx2000 a1\\cell b1\\cell\\row"
                             "\\trowd\\cellx1000\\cellx2000 a2\\cell b2\\cell\\row\\pard ";
    const QList<NoteShape> notes = {
        {QStringLiteral("picture"),
         head + "before " + picture + " after \\u1094?\\u1077?\\u1083?\\u1100? end\\par}"},
        {QStringLiteral("list"), head + list + "then \\u1094?\\u1077?\\u1083?\\u1100?\\par}"},
        {QStringLiteral("table"), head + table + "below \\u1094?\\u1077?\\u1083?\\u1100?\\par}"},
        {QStringLiteral("all"),
         head + picture + list + table + picture + "x\\line \\u1094?\\u1077?\\u1083?\\u1100?}"},
        {QStringLiteral("plain"), QByteArray("line one\r\nline two \xF6\xE5\xEB\xFC"), 1, true},
        {QStringLiteral("цель в заголовке"), head + "nothing\\par}"},
    };
    open(writeNotebook(QStringLiteral("A"), notes));
    TfrmGlobalSearch* d = openDialog(node(QStringLiteral("plain")));
    d->rbNotebook->setChecked(true);
    runSearch(d, QStringLiteral("ЦЕЛЬ"));
    ASSERT_EQ(d->Search().Results().rowCount(), 6) << linesOf(rows(d));
    for (int i = 0; i < 5; ++i) {
        const TSearchRow row = d->Search().Results().Row(i);
        ASSERT_FALSE(row.title);
        d->GoToResult(i);
        QTRY_COMPARE(editor->SelText(), QStringLiteral("цель"));
        EXPECT_EQ(tree->CurrentNote(), row.note) << row.caption.toStdString();
        EXPECT_EQ(editor->SelStart(), row.position - 1) << row.caption.toStdString();
    }
    // A title row selects its note; the position in the title is no place in the body.
    const TSearchRow title = d->Search().Results().Row(5);
    ASSERT_TRUE(title.title);
    d->GoToResult(5);
    QTest::qWait(50);
    EXPECT_EQ(tree->CurrentNote(), title.note);
    EXPECT_EQ(editor->SelLength(), 0);
}

TEST_F(SearchDialogTest, DoubleClickPositionsAgreeInRealDocuments) {
    VLR_REQUIRE_TESTDATA();
    const char* files[] = {"word-pictures-jpeg-wmf.rtf",
                           "msftedit-picture-wmetafile8.rtf",
                           "richedit-simple-table.rtf",
                           "libreoffice3-listtable-bullets-numbering.rtf",
                           "word2003-russian-cp1251-lists-tabs.rtf",
                           "word2003-nested-tables.rtf",
                           "word-various-footnote-table-list-hyperlink.rtf",
                           "word2003-ole-equation-object-table.rtf",
                           "wordpad-win10-emoji-surrogate-pair.rtf"};
    QList<NoteShape> notes;
    QStringList words;
    for (const char* f : files) {
        const QByteArray body =
            fileBytes(QDir(testDataDir()).filePath(QStringLiteral("rtf/") + QLatin1String(f)));
        ASSERT_FALSE(body.isEmpty()) << f;
        // The last word of three letters or more, searched where it first occurs.
        const QString text = rtf::convertData2(body, 0);
        static const QRegularExpression word(QStringLiteral("\\p{L}{3,}"));
        QString last;
        for (auto it = word.globalMatch(text); it.hasNext();)
            last = it.next().captured();
        ASSERT_FALSE(last.isEmpty()) << f;
        notes << NoteShape{QString::fromLatin1(f), body};
        words << last;
    }
    open(writeNotebook(QStringLiteral("D"), notes));
    TfrmGlobalSearch* d = openDialog(node(QString::fromLatin1(files[0])));
    d->rbNote->setChecked(true);
    for (int i = 0; i < int(std::size(files)); ++i) {
        tree->SelectNode(node(QString::fromLatin1(files[i])));
        d->Search().Results().Clear();
        runSearch(d, words[i]);
        const QList<TSearchRow>& found = d->Search().Results().Rows();
        const auto body =
            std::find_if(found.begin(), found.end(), [](const TSearchRow& r) { return !r.title; });
        ASSERT_NE(body, found.end()) << files[i] << ": " << words[i].toStdString();
        d->GoToResult(int(body - found.begin()));
        QTRY_COMPARE(editor->SelText().toLower(), words[i].toLower());
        EXPECT_EQ(editor->SelStart(), body->position - 1) << files[i];
    }
}
