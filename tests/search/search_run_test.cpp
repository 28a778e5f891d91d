// Searching notebooks: rows for titles and bodies in the notes' order, the
// match modes over Russian text, the three scopes, locked notebooks, notes
// that go away while a search runs, and the text cache.
#include "rtf/convert.h"
#include "search/global_search.h"
#include "search_fixture.h"
#include "storage/notebook_binding.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace vlr;
using namespace vlr::test;

namespace {

struct RunCase {
    const char* what;
    TSearchOptions options;
    const char* from; // the selected note ("" for notebook A's root)
    QStringList rows;
};

TSearchOptions with(QString text, TMatchMode mode = TMatchMode::ExactPhrase, bool words = false,
                    bool caseSensitive = false, bool regExp = false,
                    TSearchScope scope = TSearchScope::AllNotebooks) {
    TSearchOptions o = searchFor(text, scope);
    o.matchMode = mode;
    o.matchWords = words;
    o.caseSensitive = caseSensitive;
    o.regExp = regExp;
    return o;
}

class SearchRunTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        openBoth();
    }
    void openBoth() {
        a = open(writeNotebook(
            QStringLiteral("A"),
            {{QStringLiteral("Рецепты"), rtfOf(QStringLiteral("Пирог с яблоками и сахаром."))},
             {QStringLiteral("Пирог"), rtfOf(QStringLiteral("Этот пирог: тесто, яблоки, сахар.")), 2},
             {QStringLiteral("Кот"), rtfOf(QStringLiteral("Котёнок спит. кот ест."))},
             {QStringLiteral("Ёжик"), rtfOf(QStringLiteral("colourless"))},
             {QStringLiteral("Хвост"), "0123456789ABCDEFGHIJ", 1, true}}));
        b = open(writeNotebook(QStringLiteral("B"),
                               {{QStringLiteral("Ещё пирог"), rtfOf(QStringLiteral("нет"))}}));
        ASSERT_TRUE(a && b);
    }
    TTreeNode* from(const char* name) { return *name ? node(QString::fromUtf8(name)) : a->RootNode; }

    TNodeRoot* a = nullptr;
    TNodeRoot* b = nullptr;
};

} // namespace

TEST_F(SearchRunTest, RowsFollowTheOptionsAndTheNotesOrder) {
    using M = TMatchMode;
    using S = TSearchScope;
    const RunCase cases[] = {
        {"title and body rows, the title row first, then the next notebook",
         with("пирог"),
         "",
         {"A | Рецепты / body / 1 / 5 / 1 / Пирог с яблоками и сахаром.",
          "A | Рецепты | Пирог / title / 1 / 5 / 1 / Пирог",
          "A | Рецепты | Пирог / body / 6 / 5 / 1 / пирог: тесто, яблоки, сахар.",
          "B | Ещё пирог / title / 5 / 5 / 1 / пирог"}},
        {"all words: listed only when the rank reaches the number of words",
         with("яблоки сахар", M::AllWords),
         "",
         {"A | Рецепты | Пирог / body / 20 / 6 / 2 / яблоки, сахар."}},
        {"any word: the first of either",
         with("сахар, тесто", M::AnyWord),
         "",
         {"A | Рецепты / body / 20 / 5 / 1 / сахаром.",
          "A | Рецепты | Пирог / body / 13 / 5 / 2 / тесто, яблоки, сахар."}},
        {"a match 10 characters before the end shows 10 characters",
         with("abcde"),
         "",
         {"A | Хвост / body / 11 / 5 / 1 / ABCDEFGHIJ"}},
        {"Russian whole words: кот is not in Котёнок",
         with("кот", M::ExactPhrase, true),
         "",
         {"A | Кот / title / 1 / 3 / 1 / Кот", "A | Кот / body / 15 / 3 / 1 / кот ест."}},
        {"without whole words the first кот is in Котёнок; case is ignored",
         with("КОТ"),
         "",
         {"A | Кот / title / 1 / 3 / 1 / Кот", "A | Кот / body / 1 / 3 / 2 / Котёнок спит. кот ест."}},
        {"case-sensitive",
         with("Кот", M::ExactPhrase, false, true),
         "",
         {"A | Кот / title / 1 / 3 / 1 / Кот", "A | Кот / body / 1 / 3 / 1 / Котёнок спит. кот ест."}},
        {"regular expressions ignore case-sensitive",
         with("ПИРОГ:", M::ExactPhrase, false, true, true),
         "",
         {"A | Рецепты | Пирог / body / 6 / 6 / 1 / пирог: тесто, яблоки, сахар."}},
        {"а-я takes ё and Ё in regular expressions",
         with("^[а-я]жик$", M::ExactPhrase, false, false, true),
         "",
         {"A | Ёжик / title / 1 / 4 / 1 / Ёжик"}},
        {"note and descendants",
         with("пирог", M::ExactPhrase, false, false, false, S::NoteAndDescendants),
         "Пирог",
         {"A | Рецепты | Пирог / title / 1 / 5 / 1 / Пирог",
          "A | Рецепты | Пирог / body / 6 / 5 / 1 / пирог: тесто, яблоки, сахар."}},
        {"note and descendants of a note without any",
         with("пирог", M::ExactPhrase, false, false, false, S::NoteAndDescendants),
         "Кот",
         {}},
        {"note and descendants with a root selected: nothing",
         with("пирог", M::ExactPhrase, false, false, false, S::NoteAndDescendants),
         "",
         {}},
        {"current notebook",
         with("пирог", M::ExactPhrase, false, false, false, S::CurrentNotebook),
         "Кот",
         {"A | Рецепты / body / 1 / 5 / 1 / Пирог с яблоками и сахаром.",
          "A | Рецепты | Пирог / title / 1 / 5 / 1 / Пирог",
          "A | Рецепты | Пирог / body / 6 / 5 / 1 / пирог: тесто, яблоки, сахар."}},
    };
    for (const RunCase& c : cases) {
        const QStringList got = search(c.options, from(c.from));
        EXPECT_EQ(linesOf(got), linesOf(c.rows)) << c.what;
    }
}

TEST_F(SearchRunTest, LockedNotebooksArePassedOver) {
    const QString file =
        writeNotebook(QStringLiteral("C"), {{QStringLiteral("пирог"), rtfOf(QStringLiteral("пирог"))}},
                      bfEncrypted, QStringLiteral("pw"));
    TNodeRoot* c = open(file, QStringLiteral("pw"));
    ASSERT_TRUE(c);
    service.Lock(*c);
    ASSERT_TRUE(c->IsLocked());
    EXPECT_EQ(search(with(QStringLiteral("пирог"))).size(), 4) << "A and B only";
    EXPECT_TRUE(search(with(QStringLiteral("пирог"), TMatchMode::ExactPhrase, false, false, false,
                            TSearchScope::CurrentNotebook),
                       c->RootNode)
                    .isEmpty());
    ASSERT_TRUE(service.Unlock(*c, QStringLiteral("pw")));
    EXPECT_EQ(search(with(QStringLiteral("пирог"))).size(), 6) << "unlocked: its title and body too";
}

TEST_F(SearchRunTest, EditedAndNewBodiesAreSearchedAsTheyAreInMemory) {
    TNodeData* cat = node(QStringLiteral("Кот"))->Note();
    service.SetBody(*cat, rtfOf(QStringLiteral("новый текст")));
    TNodeData* fresh = service.AddNote(*a, a->RootNode, 0, QStringLiteral("Пустая"), NewNoteDefaults{}, true);
    ASSERT_TRUE(fresh->Loaded && fresh->Body.isEmpty());
    test::ScriptedMessages messages;
    EXPECT_EQ(linesOf(search(with(QStringLiteral("новый")))), "A | Кот / body / 1 / 5 / 1 / новый текст");
    EXPECT_EQ(linesOf(search(with(QStringLiteral("пуст")))), "A | Пустая / title / 1 / 4 / 1 / Пустая");
    EXPECT_TRUE(messages.shown().isEmpty()) << "an unsaved empty note is no damaged note";
}

TEST_F(SearchRunTest, NotesThatGoAwayWhileSearchingArePassedOver) {
    TExtLib& ext = TExtLib::instance();
    const TSearchOptions o = with(QStringLiteral("пирог"));
    TSearchRun run(service, ext, BuildSearchPattern(ext, o), CollectSearchParts(service, o.scope, nullptr),
                   true);
    QStringList lines;
    QObject::connect(&run, &TSearchRun::rowsFound, [&](const QList<TSearchRow>& rows) {
        for (const TSearchRow& r : rows)
            lines << rowLine(r);
    });
    // Before anything is matched: a note with its subtree is deleted, the
    // other notebook closes. Nothing of them is read after that.
    service.DeleteNote(*node(QStringLiteral("Рецепты"))->Note());
    service.Close(b);
    EXPECT_EQ(run.RunToEnd(), TSearchRun::State::Finished);
    EXPECT_TRUE(lines.isEmpty()) << lines.join(u'\n').toStdString();
}

TEST_F(SearchRunTest, CancelStopsAtTheNextNoteKeepingTheRowsFound) {
    QList<NoteShape> many;
    for (int i = 0; i < 400; ++i)
        many << NoteShape{QStringLiteral("n%1").arg(i), rtfOf(QStringLiteral("пирог %1").arg(i))};
    open(writeNotebook(QStringLiteral("Big"), many));
    TExtLib& ext = TExtLib::instance();
    const TSearchOptions o = with(QStringLiteral("пирог"));
    TSearchRun run(service, ext, BuildSearchPattern(ext, o), CollectSearchParts(service, o.scope, nullptr),
                   true);
    int rows = 0;
    QObject::connect(&run, &TSearchRun::rowsFound, [&](const QList<TSearchRow>& r) {
        rows += int(r.size());
        run.Cancel();
    });
    TSearchRun::State state = TSearchRun::State::Running;
    while (state == TSearchRun::State::Running || state == TSearchRun::State::Waiting)
        state = run.Step(std::chrono::milliseconds(0));
    EXPECT_EQ(state, TSearchRun::State::Cancelled);
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, 404);
}

TEST_F(SearchRunTest, TextCacheSparesTheSecondConversionAndForgetsChangedNotes) {
    TNoteTextCache cache(service);
    TSearchRun::Stats first, second;
    const QStringList rows = search(with(QStringLiteral("пирог")), nullptr, &cache, &first);
    EXPECT_EQ(first.converted, 6);
    EXPECT_EQ(cache.Count(), 6);
    EXPECT_GT(cache.Bytes(), 0);
    EXPECT_EQ(search(with(QStringLiteral("пирог")), nullptr, &cache, &second), rows);
    EXPECT_EQ(second.converted, 0) << "every text came from the cache";
    EXPECT_EQ(second.fromCache, 6);

    TNodeData* cat = node(QStringLiteral("Кот"))->Note();
    ASSERT_TRUE(cache.Find(*cat));
    service.SetBody(*cat, rtfOf(QStringLiteral("пирог теперь здесь")));
    EXPECT_FALSE(cache.Find(*cat)) << "a changed body drops its text";
    EXPECT_EQ(linesOf(search(with(QStringLiteral("теперь")), nullptr, &cache, &second)),
              "A | Кот / body / 7 / 6 / 1 / теперь здесь");
    EXPECT_EQ(second.converted, 1);

    // A body changed behind the service's back is caught by its stamp.
    TNodeData* hedgehog = node(QStringLiteral("Ёжик"))->Note();
    ASSERT_TRUE(cache.Find(*hedgehog));
    hedgehog->Body = rtfOf(QStringLiteral("другое"));
    hedgehog->Loaded = true;
    hedgehog->Clean = false;
    EXPECT_FALSE(cache.Find(*hedgehog));

    const int before = cache.Count();
    service.DeleteNote(*node(QStringLiteral("Рецепты"))->Note());
    EXPECT_EQ(cache.Count(), before - 2) << "a deleted note goes with its subtree";
    service.Lock(*b);
    EXPECT_FALSE(cache.Find(*b->Notes.first())) << "a locked notebook keeps no text";
    service.Close(a);
    EXPECT_EQ(cache.Count(), 0);
}

TEST_F(SearchRunTest, TextCacheKeepsWithinItsBudgetLeastRecentlyUsedOut) {
    const QList<TNodeData*> notes = a->Notes;
    const QString text(1000, u'x'); // about 2 KB each
    TNoteTextCache cache(service, 5000);
    for (TNodeData* n : notes)
        cache.Insert(*n, *a, text);
    EXPECT_LE(cache.Bytes(), 5000);
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_TRUE(cache.Find(*notes[3]) && cache.Find(*notes[4]));
    ASSERT_TRUE(cache.Find(*notes[3])); // now the most recent
    cache.Insert(*notes[0], *a, text);
    EXPECT_TRUE(cache.Find(*notes[3]));
    EXPECT_FALSE(cache.Find(*notes[4])) << "the least recently used went";
    cache.Insert(*notes[1], *a, QString(5000, u'y'));
    EXPECT_FALSE(cache.Find(*notes[1])) << "a text beyond the budget is not kept";
}

TEST_F(SearchRunTest, BodyMatchesAgreeWithRipgrepOverTheSameTexts) {
    const QString rg = QStandardPaths::findExecutable(QStringLiteral("rg"));
    if (rg.isEmpty())
        GTEST_SKIP() << "rg is not installed";
    const QStringList words = {QStringLiteral("Ёж"),     QStringLiteral("ёлка"),  QStringLiteral("кот"),
                               QStringLiteral("котёл"),  QStringLiteral("Fox"),   QStringLiteral("foxes"),
                               QStringLiteral("страна"), QStringLiteral("Straße")};
    QList<NoteShape> notes;
    QDir texts(dir.filePath(QStringLiteral("texts")));
    ASSERT_TRUE(texts.mkpath(QStringLiteral(".")));
    for (int i = 0; i < 40; ++i) {
        QString text;
        for (int k = 0; k < 5; ++k)
            text += words[(i * 7 + k * k * 3) % words.size()] +
                    (k % 2 ? QStringLiteral(", ") : QStringLiteral(" "));
        notes << NoteShape{QStringLiteral("t%1").arg(i), rtfOf(text)};
        QFile f(texts.filePath(QStringLiteral("t%1.txt").arg(i)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(rtf::convertData2(rtfOf(text), 0).toUtf8());
    }
    TNodeRoot* nb = open(writeNotebook(QStringLiteral("R"), notes));
    for (const QString& pattern :
         {QStringLiteral("ёж"), QStringLiteral("\\bкот\\b"), QStringLiteral("fox(es)?,"),
          QStringLiteral("[а-я]+ка\\b"), QStringLiteral("STRASSE|straße")}) {
        QStringList ours;
        for (const QString& line :
             search(with(pattern, TMatchMode::ExactPhrase, false, false, true, TSearchScope::CurrentNotebook),
                    nb->RootNode))
            if (line.contains(QStringLiteral(" / body / ")))
                ours << line.section(QStringLiteral(" | "), 1, 1).section(QLatin1Char(' '), 0, 0);
        QProcess p;
        p.start(rg, {QStringLiteral("-i"), QStringLiteral("-l"), QStringLiteral("--sort=path"), pattern,
                     texts.path()});
        ASSERT_TRUE(p.waitForFinished(20000));
        QStringList theirs;
        for (const QString& file :
             QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
            theirs << QFileInfo(file).completeBaseName();
        auto byNumber = [](const QString& a, const QString& b) {
            return a.mid(1).toInt() < b.mid(1).toInt();
        };
        std::sort(ours.begin(), ours.end(), byNumber);
        std::sort(theirs.begin(), theirs.end(), byNumber);
        EXPECT_FALSE(theirs.isEmpty()) << pattern.toStdString();
        EXPECT_LT(theirs.size(), 40) << pattern.toStdString();
        EXPECT_EQ(linesOf(ours), linesOf(theirs)) << pattern.toStdString();
    }
}

namespace {

// Shows a message as a box does: input is processed while it is up, and
// something happens meanwhile.
class BusyMessages final : public MessageService {
public:
    explicit BusyMessages(std::function<void()> meanwhile)
        : m_previous(setMessageService(this)), m_meanwhile(std::move(meanwhile)) {}
    ~BusyMessages() override { setMessageService(m_previous); }
    int show(const MessageRequest& request) override {
        texts << request.text;
        if (m_meanwhile)
            std::exchange(m_meanwhile, {})();
        QTest::qWait(100);
        return defaultAnswer(request);
    }
    QStringList texts;

private:
    MessageService* m_previous;
    std::function<void()> m_meanwhile;
};

} // namespace

TEST_F(SearchRunTest, AMessageDuringASearchDoesNotLetANotebookThatLocksMeanwhileIn) {
    TNodeRoot* c =
        open(writeNotebook(QStringLiteral("C"), {{QStringLiteral("в"), rtfOf(QStringLiteral("пирог"))}},
                           bfEncrypted, QStringLiteral("pw")),
             QStringLiteral("pw"));
    ASSERT_TRUE(c);
    // A body recorded with no bytes: reading it shows the storage's message.
    TNodeData* broken = node(QStringLiteral("Рецепты"))->Note();
    ASSERT_FALSE(broken->Loaded);
    broken->Record.setSize(0);
    BusyMessages messages([&] { service.Lock(*c); });
    TNoteTextCache cache(service);
    TGlobalSearch search(service, &cache);
    QSignalSpy finished(&search, &TGlobalSearch::finished);
    ASSERT_EQ(search.Start(with(QStringLiteral("пирог")), nullptr).outcome, TGlobalSearch::Outcome::Started);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished[0][0].value<TSearchRun::State>(), TSearchRun::State::Finished);
    EXPECT_EQ(messages.texts.size(), 1);
    QStringList lines;
    for (const TSearchRow& r : search.Results().Rows())
        lines << rowLine(r);
    EXPECT_EQ(linesOf(lines), "A | Рецепты | Пирог / title / 1 / 5 / 1 / Пирог\n"
                              "A | Рецепты | Пирог / body / 6 / 5 / 1 / пирог: тесто, яблоки, сахар.\n"
                              "B | Ещё пирог / title / 5 / 5 / 1 / пирог")
        << "the broken note has no text; C locked while its message was up";
    EXPECT_FALSE(cache.Find(*c->Notes.first()));

    // Cancelled while the message is up: the step asked for by Cancel waits
    // for the one that shows the message, and the search ends once.
    search.Results().Clear();
    finished.clear();
    BusyMessages cancelling([&] { search.Cancel(); });
    ASSERT_EQ(search.Start(with(QStringLiteral("пирог")), nullptr).outcome, TGlobalSearch::Outcome::Started);
    ASSERT_TRUE(finished.wait(10000));
    QTest::qWait(50);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished[0][0].value<TSearchRun::State>(), TSearchRun::State::Cancelled);
    EXPECT_FALSE(search.Running());
}

TEST_F(SearchRunTest, ANewSearchGoesFromTheSelectionItWasAskedForOrNowhere) {
    enum Event { BClosed, BSelected, AClosed, NoteDeleted };
    const struct {
        const char* name;
        Event event;
        TSearchScope scope;
        bool started;
    } cases[] = {
        {"B closed", BClosed, TSearchScope::CurrentNotebook, true},
        {"B selected", BSelected, TSearchScope::NoteAndDescendants, true},
        {"A closed", AClosed, TSearchScope::CurrentNotebook, false},
        {"A closed, every notebook searched", AClosed, TSearchScope::AllNotebooks, true},
        {"the note deleted", NoteDeleted, TSearchScope::NoteAndDescendants, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        service.CloseAll();
        openBoth();
        TNoteTextCache cache(service);
        TGlobalSearch search(service, &cache);
        QSignalSpy finished(&search, &TGlobalSearch::finished);
        // Rows from an earlier search make the new one ask first.
        ASSERT_EQ(search.Start(with(QStringLiteral("пирог")), nullptr).outcome,
                  TGlobalSearch::Outcome::Started);
        ASSERT_TRUE(finished.wait(10000));
        ASSERT_GT(search.Results().rowCount(), 0);
        TTreeNode* selected = node(QStringLiteral("Рецепты"));
        const QString titleOfA = a->RootNode->Text();
        ScriptedMessages messages;
        messages.answerAfter(MbYes, [&] {
            switch (c.event) {
            case BClosed:
                service.Close(b);
                break;
            case BSelected:
                if (!tree)
                    makeTree();
                tree->SelectNode(b->Notes.first()->TreeNode);
                break;
            case AClosed:
                service.Close(a);
                break;
            case NoteDeleted:
                service.DeleteNote(*selected->Note());
                break;
            }
        });
        const TGlobalSearch::Outcome outcome =
            search
                .Start(with(QStringLiteral("сахар"), TMatchMode::ExactPhrase, false, false, false, c.scope),
                       selected)
                .outcome;
        if (!c.started) {
            EXPECT_EQ(outcome, TGlobalSearch::Outcome::TargetLost);
            EXPECT_EQ(messages.texts().last(), c.event == AClosed
                                                   ? NotebookClosedMessage(titleOfA)
                                                   : NoteDeletedMessage(QStringLiteral("Рецепты"), titleOfA));
            EXPECT_FALSE(search.Running());
            continue;
        }
        ASSERT_EQ(outcome, TGlobalSearch::Outcome::Started);
        finished.clear();
        ASSERT_TRUE(finished.wait(10000));
        QStringList lines;
        for (const TSearchRow& r : search.Results().Rows())
            lines << rowLine(r);
        // "сахар" is in A only: found there whenever A is still open.
        EXPECT_EQ(lines.size(), c.event == AClosed ? 0 : 2) << linesOf(lines);
    }
}
