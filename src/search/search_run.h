#pragma once
// One search over the chosen notes. Notes are matched one by one in the
// order of their parts and rows come out in that order, as a search that
// converts each note when it gets to it would give them. To be fast, bodies
// are read ahead on the interface thread and converted in batches on worker
// threads meanwhile, and texts kept from earlier searches are not converted
// again. The work goes in steps of bounded time, so a window driving it
// stays responsive, and it stops at the next note when cancelled.
//
// Notes that are deleted, and notebooks that close or lock, while the search
// runs are passed over from then on; a note whose body changes is read anew.
#include "search/note_matcher.h"
#include "search/search_pattern.h"
#include "search/search_scope.h"
#include "search/text_converter.h"

#include <QFutureWatcher>
#include <QHash>
#include <QObject>

#include <chrono>
#include <unordered_map>
#include <vector>

namespace vlr {

class TExtLib;
class TNoteTextCache;
class TNotebookService;

class TSearchRun : public QObject {
    Q_OBJECT
public:
    enum class State {
        Running,   // more to do: call Step again
        Waiting,   // text is being converted: Step again after readyToStep
        Finished,  // every note was searched
        Cancelled, // stopped by Cancel; the rows found so far stand
        Failed,    // stopped by an error: ErrorText
    };
    Q_ENUM(State)

    struct Stats {
        int notes = 0;     // notes matched
        int converted = 0; // bodies converted for this search
        int fromCache = 0; // texts taken from the cache
        qint64 chars = 0;  // characters of body text matched
        qint64 maxStepMs = 0;
    };

    // The pattern must have compiled once (the caller shows a faulty one).
    // With isolateNotebookErrors an error leaves the rest of that notebook
    // out and the search goes on with the next; without, it ends the search.
    TSearchRun(TNotebookService& service, TExtLib& ext, const TSearchPattern& pattern,
               QList<TSearchPart> parts, bool isolateNotebookErrors, TNoteTextCache* cache = nullptr,
               QObject* parent = nullptr);
    ~TSearchRun() override;

    // Works until the time is up, until it must wait for converted text, or
    // to the end. Rows found in the step come in one rowsFound.
    State Step(std::chrono::milliseconds budget);
    // Steps to the end, waiting for the conversions (for callers without an
    // event loop).
    State RunToEnd();
    // Stops before the next note.
    void Cancel() { m_cancelled = true; }
    State CurrentState() const { return m_state; }
    QString ErrorText() const { return m_error; }

    const QList<TSearchPart>& Parts() const { return m_parts; }
    // The part being searched and how many of its notes are done.
    int PartIndex() const;
    int PositionInPart() const;
    const Stats& Statistics() const { return m_stats; }

signals:
    void rowsFound(const QList<vlr::TSearchRow>& rows);
    // The text a waiting search needs has arrived.
    void readyToStep();

private:
    enum class SlotState : quint8 { Unread, Queued, Ready, Dead };
    struct Slot {
        TNodeData* note = nullptr;
        int part = 0;
        SlotState state = SlotState::Unread;
        bool failed = false; // reading or converting failed
        bool fresh = false;  // converted for this search, not yet kept
        int batch = -1;
        int item = -1;
        qsizetype rawSize = 0;
        QString text;
    };
    struct Batch {
        std::vector<QByteArray> bodies; // until submitted
        qsizetype bytes = 0;
        QFuture<TConvertedTexts> future;
        std::optional<TConvertedTexts> texts; // once finished
        int remaining = 0;                    // slots still to take their text
        bool submitted = false;
    };

    void fill(const QElapsedTimer& clock, qint64 budgetMs);
    void readAhead(size_t index);
    enum class Read { Body, NoBody, Failed };
    Read readBody(const Slot& slot, QByteArray& body);
    void readNow(Slot& slot);
    void submit(int batchId);
    // True when the slot's text is there; false when it must be waited for.
    bool take(Slot& slot);
    void leaveQueue(Slot& slot);
    void kill(size_t index);
    void killNotebook(const TNodeRoot* notebook);
    void killSubtree(const TNodeData& note);
    void bodyChanged(const TNodeData& note);
    void fail(size_t index, const QString& text);
    void finishStep();

    TExtLib& m_ext;
    TSearchPattern m_pattern;
    TNoteMatcher m_matcher;
    QList<TSearchPart> m_parts;
    std::vector<int> m_partStart;
    bool m_isolate;
    TNoteTextCache* m_cache;

    std::vector<Slot> m_slots;
    QHash<const TNodeData*, size_t> m_slotOf;
    size_t m_next = 0; // the slot matched next
    size_t m_fill = 0; // the slot read next
    std::unordered_map<int, Batch> m_batches;
    int m_openBatch = -1;
    int m_batchIds = 0;
    qint64 m_inFlight = 0; // bytes of bodies read and not yet matched

    QFutureWatcher<TConvertedTexts> m_watcher;
    State m_state = State::Running;
    bool m_cancelled = false;
    QString m_error;
    QList<TSearchRow> m_found;
    Stats m_stats;
};

} // namespace vlr
