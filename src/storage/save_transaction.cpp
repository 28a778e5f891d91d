#include "storage/save_transaction.h"

#include "storage/notebook_file.h"

#include <limits>

namespace vlr {

namespace {

qint64 g_queueLimit = qint64(32) << 20;
// Compared and journaled in blocks of this size: a changed field costs a
// block, not its whole record.
constexpr qint64 kBlock = 64;
constexpr qint64 kChunk = qint64(1) << 20;
constexpr qint64 kMergeGap = 4096;

} // namespace

void SaveTransaction::setQueueLimit(qint64 bytes) {
    g_queueLimit = qMax<qint64>(1, bytes);
}

qint64 SaveTransaction::queueLimit() {
    return g_queueLimit;
}

SaveTransaction::SaveTransaction(NotebookFile& file)
    : m_file(file), m_journal(file.path()), m_fresh(file.isFresh()), m_oldSize(qMax<qint64>(0, file.size())) {
}

SaveTransaction::~SaveTransaction() {
    if (!m_finished)
        (void)rollback();
}

bool SaveTransaction::fail(const StorageError& why) {
    if (!m_error.failed())
        m_error = why;
    return false;
}

bool SaveTransaction::overlapsQueue(qint64 from, qint64 to) const {
    if (m_queuedCut < to)
        return true; // a queued cut reaches everything behind it
    // Queued writes never overlap each other: only the last one starting
    // before `to` can reach into [from, to).
    auto it = m_queuedRanges.lower_bound(to);
    return it != m_queuedRanges.begin() && std::prev(it)->second > from;
}

void SaveTransaction::clearQueue() {
    m_queue.clear();
    m_queuedRanges.clear();
    m_queuedCut = std::numeric_limits<qint64>::max();
    m_queued = 0;
}

bool SaveTransaction::write(qint64 pos, const QByteArray& data) {
    if (m_error.failed() || m_finished)
        return false;
    if (pos < 0)
        return fail(StorageError::of(StorageCause::WriteBeforeStart));
    if (data.isEmpty())
        return true;
    // Queued writes are applied in one go against the file as it is, so two
    // that touch the same bytes never share a flush.
    if (overlapsQueue(pos, pos + data.size()) && !flush())
        return false;
    m_queue.append({pos, data, -1});
    m_queuedRanges.emplace(pos, pos + data.size());
    m_queued += data.size();
    m_end = pos + data.size();
    return m_queued < g_queueLimit || flush();
}

bool SaveTransaction::truncate(qint64 size) {
    if (m_error.failed() || m_finished)
        return false;
    if (overlapsQueue(size, std::numeric_limits<qint64>::max()) && !flush())
        return false;
    m_queue.append({0, {}, qMax<qint64>(0, size)});
    m_queuedCut = qMin(m_queuedCut, qMax<qint64>(0, size));
    return true;
}

bool SaveTransaction::read(qint64 pos, char* data, qint64 n) {
    if (m_error.failed())
        return false;
    if (overlapsQueue(pos, pos + n) && !flush())
        return false;
    return m_file.readAt(pos, data, n) || fail(m_file.error());
}

bool SaveTransaction::ensureJournal() {
    if (m_fresh || m_journal.started())
        return true;
    return m_journal.start(m_oldSize, m_file.descriptor()) || fail(m_journal.error());
}

bool SaveTransaction::protect(qint64 pos, const char* old, qint64 size) {
    qint64 end = qMin(pos + size, m_oldSize);
    if (m_fresh || pos >= end)
        return true;
    // Walk the gaps between ranges journaled already.
    auto it = m_kept.upper_bound(pos);
    if (it != m_kept.begin() && std::prev(it)->second > pos)
        --it;
    qint64 at = pos;
    while (at < end) {
        qint64 gapEnd = end;
        if (it != m_kept.end() && it->first <= at) {
            at = qMax(at, it->second);
            ++it;
            continue;
        }
        if (it != m_kept.end())
            gapEnd = qMin(end, it->first);
        if (!ensureJournal() || !m_journal.keep(at, old + (at - pos), gapEnd - at))
            return fail(m_journal.error());
        at = gapEnd;
    }
    // Record [pos, end) as journaled, merging neighbours.
    qint64 start = pos;
    auto first = m_kept.upper_bound(pos);
    if (first != m_kept.begin() && std::prev(first)->second >= pos)
        --first;
    auto last = first;
    while (last != m_kept.end() && last->first <= end) {
        start = qMin(start, last->first);
        end = qMax(end, last->second);
        ++last;
    }
    m_kept.erase(first, last);
    m_kept.emplace(start, end);
    return true;
}

bool SaveTransaction::planWrite(const Pending& op, qint64 diskSize, QList<Action>& actions) {
    const qint64 stop = op.pos + op.data.size();
    const qint64 compared = qMin(stop, diskSize); // bytes beyond the file differ by definition
    QByteArray& chunk = m_scratch;                // reused: a pack plans thousands of writes
    // Differing blocks close together make one write: rewriting the equal
    // bytes between them changes nothing, so they need no journal either.
    qint64 runStart = -1;
    qint64 runEnd = -1;
    auto differs = [&](qint64 from, qint64 to) {
        if (runStart >= 0 && from - runEnd > kMergeGap) {
            actions.append({runStart, runEnd - runStart, op.data.constData() + (runStart - op.pos)});
            runStart = -1;
        }
        if (runStart < 0)
            runStart = from;
        runEnd = to;
    };
    for (qint64 at = op.pos; at < compared; at += kChunk) {
        const qint64 n = qMin(kChunk, compared - at);
        chunk.resize(qsizetype(n));
        if (!m_file.readAt(at, chunk.data(), n))
            return fail(m_file.error());
        const char* wanted = op.data.constData() + (at - op.pos);
        // Adjacent differing blocks are journaled as one range.
        qint64 keepFrom = -1;
        auto keepUpTo = [&](qint64 end) {
            const bool kept =
                keepFrom < 0 || protect(at + keepFrom, chunk.constData() + keepFrom, end - keepFrom);
            keepFrom = -1;
            return kept;
        };
        for (qint64 b = 0; b < n; b += kBlock) {
            const qint64 len = qMin(kBlock, n - b);
            if (std::memcmp(chunk.constData() + b, wanted + b, size_t(len)) == 0) {
                if (!keepUpTo(b))
                    return false;
                continue;
            }
            if (keepFrom < 0)
                keepFrom = b;
            differs(at + b, at + b + len);
        }
        if (!keepUpTo(n))
            return false;
    }
    if (stop > compared)
        differs(qMax(op.pos, compared), stop);
    if (runStart >= 0)
        actions.append({runStart, runEnd - runStart, op.data.constData() + (runStart - op.pos)});
    return true;
}

bool SaveTransaction::planCut(qint64 cutTo, qint64 diskSize, qint64 sizeThen, QList<Action>& actions) {
    if (cutTo == sizeThen)
        return true;
    QByteArray& chunk = m_scratch; // reused: a pack plans thousands of writes
    for (qint64 at = cutTo; at < qMin(diskSize, m_oldSize); at += kChunk) {
        const qint64 n = qMin(kChunk, qMin(diskSize, m_oldSize) - at);
        chunk.resize(qsizetype(n));
        if (!m_file.readAt(at, chunk.data(), n))
            return fail(m_file.error());
        if (!protect(at, chunk.constData(), n))
            return false;
    }
    actions.append({cutTo, -1, nullptr});
    return true;
}

bool SaveTransaction::flush() {
    if (m_error.failed())
        return false;
    if (m_queue.isEmpty())
        return true;
    // Plan against the file as it is: what differs, and its old bytes into
    // the journal.
    // Queued changes never overlap, so each is compared with the file as it
    // is on disk; only a cut must know the size the writes before it leave.
    QList<Action> actions;
    const qint64 diskSize = m_file.size();
    if (diskSize < 0)
        return fail(m_file.error());
    qint64 size = diskSize;
    for (const Pending& op : std::as_const(m_queue)) {
        const bool planned =
            op.cutTo >= 0 ? planCut(op.cutTo, diskSize, size, actions) : planWrite(op, diskSize, actions);
        if (!planned)
            return false;
        size = op.cutTo >= 0 ? op.cutTo : qMax(size, op.pos + op.data.size());
    }
    // The journal is durable before the first byte of the notebook changes.
    if (!actions.isEmpty() && (!ensureJournal() || (!m_fresh && !m_journal.makeDurable())))
        return fail(m_journal.error());
    for (const Action& a : std::as_const(actions)) {
        const bool done = a.size < 0 ? m_file.truncate(a.pos) : m_file.writeAt(a.pos, a.data, a.size);
        if (!done)
            return fail(m_file.error());
        m_changed = true;
    }
    clearQueue();
    return true;
}

bool SaveTransaction::commit() {
    if (m_finished)
        return !m_error.failed();
    if (!flush())
        return false;
    if (!m_changed && !m_fresh) {
        m_finished = true;
        return true; // nothing differed: the file was not touched
    }
    if (!m_file.sync())
        return fail(m_file.error());
    if (m_fresh) {
        const bool published = m_file.publish();
        m_reached = !m_file.isFresh();
        if (!published && !m_reached)
            return fail(m_file.error());
        m_finished = true;
        return published || fail(m_file.error());
    }
    bool removed = false;
    const bool ok = m_journal.remove(removed);
    m_reached = removed;
    if (!removed)
        return fail(m_journal.error());
    m_finished = true;
    return ok || fail(m_journal.error());
}

bool SaveTransaction::rollback() {
    clearQueue();
    if (m_reached)
        return false; // the journal is gone: nothing to go back to
    m_finished = true;
    if (m_fresh) {
        m_file.close(); // the unnamed file goes with it
        return true;
    }
    if (!m_journal.started())
        return true; // nothing reached the notebook
    m_journal.close();
    const RollbackJournal::Playback back = RollbackJournal::playBack(m_file);
    if (!back.ok) {
        if (!m_error.failed()) {
            m_error = back.error;
        } else {
            StorageError both = StorageError::because(StorageCause::NotPutBack, back.error);
            both.earlier = std::make_shared<const StorageError>(m_error);
            m_error = both;
        }
    }
    return back.ok;
}

} // namespace vlr
