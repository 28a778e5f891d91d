#include "storage/notebook_salvage.h"

#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/body_codec.h"
#include "storage/body_signatures.h"
#include "storage/defaults.h"
#include "storage/notebook_file.h"
#include "storage/protection.h"
#include "storage/rollback_journal.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace vlr {

namespace {

// Records never describe more than this; a damaged count is cut to it.
constexpr qint64 kMaxRecords = qint64(1) << 22;
constexpr int kMaxLevel = 1 << 16;
// Offsets in a notebook are int32: nothing a record can point to lies further.
constexpr qint64 kMaxFile = qint64(INT32_MAX);

bool plausibleDate(double d) {
    return d == 0 || (std::isfinite(d) && d > -700000 && d < 3000000);
}

// Cheap first look at a position: the zero bytes every record has.
bool mayBeRecord(const unsigned char* b) {
    return b[20] <= 7 && b[21] == 0 && b[22] == 0 && b[23] == 0 && b[108] <= 1 && b[109] == 0 &&
           b[110] == 0 && b[111] == 0 && b[30] == 0 && b[31] == 0 && b[260] <= 100;
}

// A record as this program writes them: known flags, a level, sizes that fit
// together, strings within their capacity, real dates.
bool plausibleRecord(const NoteRecord& r) {
    const unsigned char* b = r.data();
    if (!mayBeRecord(b) || b[128] > 80 || b[361] > 80 || b[209] > 31)
        return false;
    if (r.Level() < 1 || r.Level() > kMaxLevel || (r.PlainText() != 0 && r.PlainText() != 1))
        return false;
    if (!plausibleDate(r.Created()) || !plausibleDate(r.Saved()))
        return false;
    if (r.Size() < 0 || r.SizeReserved() < 0 || r.RawSize() < 0 || r.RTFSize() < 0)
        return false;
    if (r.Offset() == 0)
        return r.Size() == 0;
    return r.Offset() >= NotebookHeader::Bytes && (r.SizeReserved() >= r.Size() || r.Size() == 0);
}

NoteRecord recordAt(const QByteArray& bytes, qint64 at) {
    NoteRecord r;
    std::memcpy(r.data(), bytes.constData() + at, NoteRecord::Bytes);
    return r;
}

// The record's body starts the way its encoding does (what cannot be told,
// ciphertext and plain text, counts as such).
bool pointsAtBody(const NoteRecord& r, const QByteArray& bytes) {
    if (r.Offset() == 0)
        return true;
    if (qint64(r.Offset()) + r.Size() > bytes.size())
        return false;
    const QByteArrayView body = QByteArrayView(bytes).sliced(r.Offset(), r.Size());
    const uint32_t flags = r.NoteFlags();
    if (flags & nfEncrypted)
        return r.Size() % 8 == 0;
    if (flags & nfCompressed)
        return body.startsWith("BZh") || body.startsWith("\x78");
    return r.PlainText() == 1 || body.startsWith("{\\rtf");
}

struct Span {
    qint64 start, end;
};

} // namespace

QString FoundNoteName(int number) {
    return QStringLiteral("Найдено %1").arg(number);
}

struct DamagedNotebook::Table {
    QList<NoteRecord> records; // in table order
    Span bytes{-1, -1};        // where the table lies
    qint64 missing = 0;        // records the header declares that could not be read
    bool searched = false;     // found by looking through the file
};

bool DamagedNotebook::read(const QString& path) {
    m_path = path;
    m_bytes.clear();
    m_headerValid = false;
    m_failure = Failure::CannotRead;
    if (!TVlrLib::instance().IsLoaded()) {
        m_error = QStringLiteral("the storage engine library cannot be loaded");
        return false;
    }
    NotebookFile file;
    if (!file.open(path, NotebookFile::Mode::Read) && !file.openForInspection(path)) {
        m_error = file.errorString();
        return false;
    }
    if (RollbackJournal::probe(path) == RollbackJournal::State::Hot) {
        m_failure = Failure::NeedsRecovery;
        m_error = QStringLiteral("a save was cut short; its journal must be played back first");
        return false;
    }
    const qint64 size = qMin(file.size(), kMaxFile);
    try {
        if (size > 0 && (!file.seek(0) || (m_bytes = file.read(size)).size() != size)) {
            m_error = file.errorString();
            return false;
        }
    } catch (const std::bad_alloc&) {
        m_error = QStringLiteral("the file is too large to be read into memory");
        return false;
    }
    if (m_bytes.size() >= NotebookHeader::Bytes) {
        std::memcpy(m_header.data(), m_bytes.constData(), NotebookHeader::Bytes);
        m_headerValid = m_header.isValid();
    }
    m_failure = Failure::None;
    m_error.clear();
    return true;
}

bool DamagedNotebook::encrypted() const {
    return m_headerValid && (m_header.BookFlags() & bfEncrypted) != 0;
}

bool DamagedNotebook::unlock(const QString& password) {
    if (m_bytes.size() < NotebookHeader::Bytes)
        return false;
    // The key fields are tried even when the magic is damaged.
    m_keyHeld = UnlockKey(TVlrLib::instance(), m_header, password, m_key);
    return m_keyHeld;
}

void DamagedNotebook::useKey(const MasterKeyBytes& key) {
    m_key = key;
    m_keyHeld = true;
}

DamagedNotebook::Table DamagedNotebook::findRecords() const {
    Table table;
    const qint64 size = m_bytes.size();
    const qint64 declared =
        m_headerValid ? qBound<qint64>(0, qint64(m_header.LastRecord()) + 1, kMaxRecords) : 0;
    const qint64 treeOffset = m_header.TreeOffset();
    if (m_headerValid && treeOffset >= NotebookHeader::Bytes && treeOffset < size) {
        for (qint64 i = 0; i < declared; ++i) {
            const qint64 at = treeOffset + i * NoteRecord::Bytes;
            if (at + NoteRecord::Bytes > size) {
                table.missing += declared - i;
                break;
            }
            const NoteRecord r = recordAt(m_bytes, at);
            if (plausibleRecord(r))
                table.records.append(r);
            else
                ++table.missing;
        }
        table.bytes = {treeOffset, qMin(size, treeOffset + declared * NoteRecord::Bytes)};
        if (!table.records.isEmpty() || declared == 0)
            return table;
    }
    // The table is not where the header says: look for runs of records 520
    // bytes apart anywhere behind the header. Runs shifted into the middle of
    // the real one can pass for records too (margins read as a level and
    // sizes); the run whose records point at the starts of bodies wins, then
    // the longer, then the later (the table of the last save lies behind
    // every earlier one).
    table = Table{};
    table.searched = true;
    std::unordered_map<qint64, qint64> runLength; // record position -> records in its run up to it
    std::vector<qint64> positions;
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    for (qint64 at = NotebookHeader::Bytes; at + NoteRecord::Bytes <= size; ++at) {
        if (!mayBeRecord(data + at) || !plausibleRecord(recordAt(m_bytes, at)))
            continue;
        const auto before = runLength.find(at - NoteRecord::Bytes);
        runLength[at] = before == runLength.end() ? 1 : before->second + 1;
        positions.push_back(at);
    }
    struct Run {
        qint64 score = -1, length = 0, end = -1;
        auto key() const { return std::tuple(score, length, end); }
    } best;
    for (const qint64 end : positions) {
        if (runLength.count(end + NoteRecord::Bytes))
            continue; // not the end of its run
        Run run{0, runLength[end], end};
        for (qint64 i = 0; i < run.length; ++i)
            run.score += pointsAtBody(recordAt(m_bytes, end - i * NoteRecord::Bytes), m_bytes);
        if (run.key() > best.key())
            best = run;
    }
    if (best.end >= 0) {
        const qint64 start = best.end - (best.length - 1) * NoteRecord::Bytes;
        for (qint64 at = start; at <= best.end; at += NoteRecord::Bytes)
            table.records.append(recordAt(m_bytes, at));
        table.bytes = {start, best.end + NoteRecord::Bytes};
    }
    table.missing = qMax<qint64>(0, declared - table.records.size());
    return table;
}

SalvageResult DamagedNotebook::salvage() const {
    SalvageResult result;
    SalvageCounts& counts = result.counts;
    const Table table = findRecords();
    const qint64 size = m_bytes.size();
    TVlrLib& engine = TVlrLib::instance();
    TExtLib& ext = TExtLib::instance();
    BodyCipher cipher(engine);
    // Without a header the compression method is not known: both are tried.
    const uint32_t version = m_headerValid ? m_header.Version() : 5;
    const BodyCodec codec{engine, ext, version, m_key, cipher};
    const BodyCodec older{engine, ext, 4, m_key, cipher};

    std::vector<Span> claimed;
    if (table.bytes.start >= 0)
        claimed.push_back(table.bytes);
    auto claim = [&](const NoteRecord& r) {
        if (r.Offset() >= NotebookHeader::Bytes)
            claimed.push_back({r.Offset(), qint64(r.Offset()) + qMax(r.Size(), r.SizeReserved())});
    };
    // The body of a record, checked as far as its encoding allows.
    auto readBody = [&](const NoteRecord& r, QByteArray& body, bool& locked) {
        const bool plain = r.PlainText() == 1;
        if (r.Offset() == 0 && r.Size() == 0) {
            body = plain ? QByteArray() : emptyDocumentBody();
            return true;
        }
        if (r.Size() <= 0 || r.Offset() < NotebookHeader::Bytes || qint64(r.Offset()) + r.Size() > size)
            return false;
        QByteArray stored = m_bytes.mid(r.Offset(), r.Size());
        const uint32_t flags = r.NoteFlags() & (nfCompressed | nfEncrypted);
        if (flags == 0) {
            body = std::move(stored);
            return plain || LooksLikeRtfBody(body);
        }
        if ((flags & nfEncrypted) && !m_keyHeld) {
            locked = true; // never guessed
            return false;
        }
        auto decodes = [&](const BodyCodec& c) {
            const BodyCodec::Decoded d = c.decode(stored, r);
            const bool ok = d.digestOk && d.expandOk &&
                            (!(flags & nfCompressed) || r.RawSize() == 0 || d.body.size() == r.RawSize());
            if (ok)
                body = d.body;
            return ok;
        };
        return decodes(codec) || (!m_headerValid && (flags & nfCompressed) && decodes(older));
    };

    struct Entry {
        SalvagedNote note;
        int level;
        bool keep;
    };
    std::vector<Entry> live;
    bool anyLost = false;
    for (const NoteRecord& r : table.records) {
        if (r.Deleted() != 0) {
            claim(r); // a deleted note's body is no orphan
            continue;
        }
        Entry e{SalvagedNote{}, r.Level(), false};
        e.note.record = r;
        e.note.named = true;
        e.note.plainText = r.PlainText() == 1;
        bool locked = false;
        try {
            e.keep = readBody(r, e.note.body, locked);
        } catch (const std::bad_alloc&) {
            e.keep = false;
        }
        if (e.keep) {
            ++counts.whole;
            claim(r);
        } else {
            e.note.bodyLost = true;
            e.note.body.clear();
            ++counts.lost;
            counts.locked += locked;
            anyLost = true;
        }
        live.push_back(std::move(e));
    }
    // A lost note stays, empty, while a note below it came back: the tree keeps its shape.
    std::vector<size_t> ancestors;
    for (size_t j = 0; j < live.size(); ++j) {
        while (!ancestors.empty() && live[ancestors.back()].level >= live[j].level)
            ancestors.pop_back();
        if (live[j].keep) {
            for (auto k = ancestors.rbegin(); k != ancestors.rend() && !live[*k].keep; ++k) {
                live[*k].keep = true;
                live[*k].note.body = live[*k].note.plainText ? QByteArray() : emptyDocumentBody();
            }
        }
        ancestors.push_back(j);
    }
    for (Entry& e : live)
        if (e.keep)
            result.notes.append(std::move(e.note));

    // Bodies whose records are gone lie in the space no surviving record claims.
    if (table.missing > 0 || anyLost || table.searched) {
        const bool tableInPlace = !table.searched && table.bytes.start >= 0;
        const qint64 end = tableInPlace ? table.bytes.start : size;
        std::sort(claimed.begin(), claimed.end(),
                  [](const Span& a, const Span& b) { return a.start < b.start; });
        const BodyFinder finder(engine, ext, m_headerValid && version < 5);
        qint64 from = NotebookHeader::Bytes;
        auto scan = [&](qint64 to) {
            if (to <= from)
                return;
            const QByteArrayView gap = QByteArrayView(m_bytes).sliced(from, to - from);
            for (FoundBody& found : finder.findAll(gap)) {
                SalvagedNote n;
                n.body = std::move(found.body);
                n.plainText = found.plainText;
                result.notes.append(std::move(n));
                ++counts.nameless;
            }
        };
        for (const Span& s : claimed) {
            scan(qMin(s.start, end));
            from = qMax(from, s.end);
        }
        scan(end);
    }
    counts.lost += int(qMax<qint64>(0, table.missing - counts.nameless));
    return result;
}

} // namespace vlr
