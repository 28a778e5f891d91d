#pragma once
// The search dialog's work without its widgets: the remembered texts, the
// question before a new search, building and checking the pattern, running
// the search in short steps on the interface thread (the window stays
// responsive and its cancel button is heard between steps), the result rows,
// and taking out the rows of notes that go away or notebooks that lock.
#include "search/search_options.h"
#include "search/search_results_model.h"
#include "search/search_run.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <chrono>

namespace vlr {

class TNoteTextCache;
class TNotebookService;
class TTreeNode;

// The question before a search when the list holds rows.
inline const QString kNewSearchQuestion =
    QStringLiteral("Начать новый поиск?\nНажмите 'Нет' для добавления к текущим результатам.");
inline const QString kNewSearchCaption = QStringLiteral("Подтверждение");

class TGlobalSearch : public QObject {
    Q_OBJECT
public:
    // The interface thread gets back control after this long at most.
    static constexpr std::chrono::milliseconds kStepTime{15};

    TGlobalSearch(TNotebookService& service, TNoteTextCache* cache, QObject* parent = nullptr);
    ~TGlobalSearch() override;

    TSearchResultsModel& Results() { return m_results; }
    // Remembered texts, newest first.
    const QStringList& RememberedTexts() const { return m_remembered; }
    void SetRememberedTexts(const QStringList& items);

    enum class Outcome {
        Nothing,    // empty text
        Declined,   // Cancel to the new-search question
        TargetLost, // the selected note or its notebook went while the question waited
        BadPattern, // the pattern does not compile: errorPosition
        Failed,     // an error was reported
        Started,
    };
    struct StartResult {
        Outcome outcome = Outcome::Nothing;
        int errorPosition = 0; // where the pattern went wrong, 0-based in the text
    };
    // Starts a search from the selected node; rows come into Results() and
    // finished() tells the end.
    [[nodiscard]] StartResult Start(const TSearchOptions& options, TTreeNode* selected);
    void Cancel();
    bool Running() const { return m_run != nullptr; }
    // How long one step may hold the interface thread (kStepTime).
    void SetStepTime(std::chrono::milliseconds time) { m_stepTime = time; }

    struct Progress {
        bool visible = false; // a notebook is searched whole
        int position = 0;
        int maximum = 0;
    };
    Progress CurrentProgress() const;
    // Figures of the last search.
    const TSearchRun::Stats& LastStats() const { return m_lastStats; }

signals:
    void rememberedTextsChanged();
    void started();
    void progressChanged();
    void finished(vlr::TSearchRun::State state);

private:
    void step();
    void finish(TSearchRun::State state);
    void dropRows(const std::function<bool(const TSearchRow&)>& pick);

    TNotebookService& m_service;
    TNoteTextCache* m_cache;
    TSearchResultsModel m_results;
    QStringList m_remembered;
    TSearchRun* m_run = nullptr;
    TSearchRun::Stats m_lastStats;
    QTimer m_stepTimer;
    std::chrono::milliseconds m_stepTime = kStepTime;
    bool m_stepping = false;
};

} // namespace vlr
