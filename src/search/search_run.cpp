#include "search/search_run.h"

#include "core/error.h"
#include "libs/extlib.h"
#include "search/note_text_cache.h"
#include "storage/notebook_service.h"

#include <QElapsedTimer>

namespace vlr {

namespace {

// A batch goes to a worker once it holds this much; small enough that the
// first rows come quickly, large enough that handing over costs little.
constexpr qsizetype kBatchBytes = 256 * 1024;
constexpr int kBatchNotes = 512;
// Bodies read ahead of the note being matched.
constexpr qint64 kReadAheadBytes = qint64(64) << 20;
constexpr size_t kReadAheadNotes = 16384;

} // namespace

TSearchRun::TSearchRun(TNotebookService& service, TExtLib& ext, const TSearchPattern& pattern,
                       QList<TSearchPart> parts, bool isolateNotebookErrors, TNoteTextCache* cache,
                       QObject* parent)
    : QObject(parent), m_ext(ext), m_pattern(pattern), m_matcher(ext, pattern.wordCount),
      m_parts(std::move(parts)), m_isolate(isolateNotebookErrors), m_cache(cache) {
    qsizetype total = 0;
    for (const TSearchPart& part : std::as_const(m_parts))
        total += part.notes.size();
    m_slots.reserve(size_t(total));
    m_slotOf.reserve(total);
    for (int p = 0; p < m_parts.size(); ++p) {
        m_partStart.push_back(int(m_slots.size()));
        for (TNodeData* note : std::as_const(m_parts[p].notes)) {
            m_slotOf.insert(note, m_slots.size());
            Slot& s = m_slots.emplace_back();
            s.note = note;
            s.part = p;
        }
    }
    connect(&service, &TNotebookService::notebookAboutToClose, this,
            [this](TNodeRoot* nb) { killNotebook(nb); });
    connect(&service, &TNotebookService::notebookLocked, this, [this](TNodeRoot* nb) { killNotebook(nb); });
    connect(&service, &TNotebookService::noteAboutToBeDeleted, this,
            [this](TNodeData* note) { killSubtree(*note); });
    connect(&service, &TNotebookService::noteBodyChanged, this,
            [this](TNodeData* note) { bodyChanged(*note); });
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &TSearchRun::readyToStep);
}

TSearchRun::~TSearchRun() = default;

int TSearchRun::PartIndex() const {
    if (m_slots.empty())
        return -1;
    return m_slots[qMin(m_next, m_slots.size() - 1)].part;
}

int TSearchRun::PositionInPart() const {
    const int part = PartIndex();
    return part < 0 ? 0 : int(m_next) - m_partStart[size_t(part)];
}

// Reading may show the storage engine's message about a damaged body; input
// is processed meanwhile, so notes may go away before this returns.
TSearchRun::Read TSearchRun::readBody(const Slot& slot, QByteArray& body) {
    const TNodeData& note = *slot.note;
    // A body in memory is what the search sees, an empty new note included.
    if (note.Loaded) {
        body = note.Body;
        return Read::Body;
    }
    TNodeRoot& nb = *m_parts[slot.part].notebook;
    const int index = nb.IndexOfNote(&note);
    try {
        // A body that cannot be read has no text to search; it is not kept
        // either, so a later search tries again.
        return index >= 0 && nb.ReadNote(index, body) >= 0 ? Read::Body : Read::NoBody;
    } catch (const std::exception&) {
        return Read::Failed;
    }
}

void TSearchRun::readAhead(size_t index) {
    Slot& s = m_slots[index];
    if (s.state != SlotState::Unread)
        return;
    if (m_cache) {
        if (std::optional<QString> text = m_cache->Find(*s.note)) {
            s.text = std::move(*text);
            s.state = SlotState::Ready;
            ++m_stats.fromCache;
            return;
        }
    }
    QByteArray body;
    const Read read = readBody(s, body);
    if (s.state == SlotState::Dead)
        return; // went away while a message about its body was shown
    if (read != Read::Body) {
        s.failed = read == Read::Failed;
        s.state = SlotState::Ready;
        return;
    }
    if (m_openBatch < 0) {
        m_openBatch = m_batchIds++;
        m_batches[m_openBatch];
    }
    Batch& b = m_batches[m_openBatch];
    s.state = SlotState::Queued;
    s.batch = m_openBatch;
    s.item = int(b.bodies.size());
    s.rawSize = body.size();
    m_inFlight += s.rawSize;
    b.bytes += body.size();
    b.bodies.push_back(std::move(body));
    ++b.remaining;
    if (b.bytes >= kBatchBytes || int(b.bodies.size()) >= kBatchNotes)
        submit(m_openBatch);
}

void TSearchRun::submit(int batchId) {
    auto it = m_batches.find(batchId);
    if (batchId == m_openBatch)
        m_openBatch = -1;
    if (it == m_batches.end() || it->second.submitted)
        return;
    Batch& b = it->second;
    if (b.remaining == 0) { // every note of it went away meanwhile
        m_batches.erase(it);
        return;
    }
    b.submitted = true;
    m_stats.converted += int(b.bodies.size());
    b.future = ConvertNoteBodiesAsync(std::move(b.bodies));
    b.bodies.clear();
}

void TSearchRun::fill(const QElapsedTimer& clock, qint64 budgetMs) {
    int sinceCheck = 0;
    while (m_fill < m_slots.size() && m_fill - m_next < kReadAheadNotes && m_inFlight < kReadAheadBytes) {
        readAhead(m_fill++);
        if (++sinceCheck == 64) {
            sinceCheck = 0;
            if (clock.elapsed() >= budgetMs)
                break;
        }
    }
    // Everything is read: the last batch need not wait to fill up.
    if (m_fill == m_slots.size() && m_openBatch >= 0)
        submit(m_openBatch);
}

void TSearchRun::readNow(Slot& slot) {
    QByteArray body;
    const Read read = readBody(slot, body);
    if (slot.state == SlotState::Dead)
        return;
    if (read == Read::Failed) {
        slot.failed = true;
    } else if (read == Read::NoBody) {
        slot.text.clear();
    } else if (std::optional<QString> text = ConvertNoteBody(body)) {
        slot.text = std::move(*text);
        slot.fresh = true;
        ++m_stats.converted;
    } else {
        slot.failed = true;
    }
    slot.state = SlotState::Ready;
}

void TSearchRun::leaveQueue(Slot& slot) {
    if (slot.state != SlotState::Queued)
        return;
    m_inFlight -= slot.rawSize;
    auto it = m_batches.find(slot.batch);
    if (it != m_batches.end() && --it->second.remaining == 0 && it->second.submitted)
        m_batches.erase(it);
    slot.batch = slot.item = -1;
}

bool TSearchRun::take(Slot& slot) {
    Batch& b = m_batches[slot.batch];
    if (!b.submitted)
        submit(slot.batch);
    if (!b.texts) {
        if (!b.future.isFinished()) {
            m_watcher.setFuture(b.future);
            return false;
        }
        b.texts = b.future.takeResult();
    }
    std::optional<QString> text = std::move((*b.texts)[size_t(slot.item)]);
    if (text)
        slot.text = std::move(*text);
    else
        slot.failed = true;
    slot.fresh = !slot.failed;
    leaveQueue(slot);
    slot.state = SlotState::Ready;
    return true;
}

void TSearchRun::kill(size_t index) {
    if (index < m_next)
        return;
    Slot& s = m_slots[index];
    // Text already converted for it goes at once (a notebook that locks
    // keeps nothing readable here).
    if (s.state == SlotState::Queued) {
        Batch& b = m_batches[s.batch];
        if (b.texts)
            (*b.texts)[size_t(s.item)].reset();
    }
    leaveQueue(s);
    s.state = SlotState::Dead;
    s.text.clear();
}

void TSearchRun::killNotebook(const TNodeRoot* notebook) {
    for (size_t i = m_next; i < m_slots.size(); ++i)
        if (m_parts[m_slots[i].part].notebook == notebook)
            kill(i);
}

void TSearchRun::killSubtree(const TNodeData& note) {
    if (const auto it = m_slotOf.constFind(&note); it != m_slotOf.constEnd())
        kill(*it);
    if (note.TreeNode)
        ForEachDescendant(note.TreeNode, [this](TTreeNode* n) {
            if (const auto it = m_slotOf.constFind(n->Note()); it != m_slotOf.constEnd())
                kill(*it);
        });
}

void TSearchRun::bodyChanged(const TNodeData& note) {
    const auto it = m_slotOf.constFind(&note);
    if (it == m_slotOf.constEnd() || *it < m_next)
        return;
    Slot& s = m_slots[*it];
    if (s.state == SlotState::Dead)
        return;
    // What was read ahead is out of date; the note is read again at its turn.
    leaveQueue(s);
    s.state = SlotState::Unread;
    s.failed = s.fresh = false;
    s.text.clear();
}

void TSearchRun::fail(size_t index, const QString& text) {
    if (!m_isolate) {
        m_error = text;
        m_state = State::Failed;
        return;
    }
    // The rest of that notebook is left out; the next one is searched.
    const int part = m_slots[index].part;
    for (size_t i = index; i < m_slots.size() && m_slots[i].part == part; ++i)
        kill(i);
}

void TSearchRun::finishStep() {
    m_ext.RE_Done();
    if (!m_found.isEmpty()) {
        const QList<TSearchRow> rows = std::exchange(m_found, {});
        emit rowsFound(rows);
    }
}

TSearchRun::State TSearchRun::Step(std::chrono::milliseconds budget) {
    if (m_state != State::Running && m_state != State::Waiting)
        return m_state;
    QElapsedTimer clock;
    clock.start();
    const qint64 budgetMs = budget.count();
    m_state = State::Running;
    // Compiled anew for every step: between steps other users of the library
    // (or its unloading) may have replaced the one compiled pattern.
    bool compiled = false;
    try {
        compiled = m_ext.RE_Init(m_pattern.pattern, m_pattern.modifiers);
    } catch (const std::exception&) {
    }
    if (!compiled) {
        m_error = kRegExpExecError;
        m_state = State::Failed;
        return m_state;
    }
    while (m_state == State::Running && m_next < m_slots.size()) {
        if (m_cancelled) {
            m_state = State::Cancelled;
            break;
        }
        // Reading ahead gets half of the step; matching the rest.
        fill(clock, budgetMs / 2);
        Slot& s = m_slots[m_next];
        if (s.state == SlotState::Dead) {
            ++m_next;
            continue;
        }
        if (s.state == SlotState::Unread)
            readNow(s);
        if (s.state == SlotState::Dead)
            continue; // m_next passes it on the next round
        if (s.state == SlotState::Queued && !take(s)) {
            m_state = State::Waiting;
            break;
        }
        const size_t index = m_next++;
        if (s.failed) {
            fail(index, kSearchError);
            continue;
        }
        if (s.fresh && m_cache)
            m_cache->Insert(*s.note, *m_parts[s.part].notebook, s.text);
        try {
            m_found += m_matcher.Match(*s.note, s.text);
            ++m_stats.notes;
            m_stats.chars += s.text.size();
        } catch (const EVellinorError& e) {
            fail(index, e.text());
        }
        s.text = QString();
        if (clock.elapsed() >= budgetMs)
            break;
    }
    if (m_state == State::Running && m_next >= m_slots.size())
        m_state = m_cancelled ? State::Cancelled : State::Finished;
    finishStep();
    m_stats.maxStepMs = qMax(m_stats.maxStepMs, clock.elapsed());
    return m_state;
}

TSearchRun::State TSearchRun::RunToEnd() {
    for (;;) {
        const State state = Step(std::chrono::milliseconds(50));
        if (state == State::Waiting)
            m_watcher.future().waitForFinished();
        else if (state != State::Running)
            return state;
    }
}

} // namespace vlr
