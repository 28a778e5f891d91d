#include "fault_injector.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace vlr::test {

FaultInjector::FaultInjector(Mode mode, int at, int error) : m_mode(mode), m_at(at), m_error(error) {
    fileio::setHook(this);
}

FaultInjector::~FaultInjector() {
    fileio::setHook(nullptr);
}

fileio::Verdict FaultInjector::before(const fileio::Event& event) {
    ++m_count;
    m_log.append({event.op, event.path, event.target, event.offset, event.data.toByteArray()});
    using V = fileio::Verdict;
    const bool fails =
        (m_mode == Mode::Fail && m_count == m_at) || (m_mode == Mode::FailFrom && m_count >= m_at);
    if (fails) {
        m_struck = true;
        return {V::Fail, m_error, event.data.size() / 2}; // a write fails half-way
    }
    if (m_mode == Mode::Crash && m_count > m_at) {
        m_struck = true;
        return {V::Skip};
    }
    // Syncs change nothing a process can see: the log says where they were,
    // and the disk is spared.
    const bool sync = event.op == fileio::Op::Sync || event.op == fileio::Op::SyncFolder;
    return sync ? V{V::Skip} : V{};
}

namespace {

constexpr qint64 kPage = 4096;

struct Inode {
    QByteArray content;               // as made durable by its last sync
    QList<const LoggedCall*> pending; // data calls since
};

void apply(QByteArray& content, fileio::Op op, qint64 offset, QByteArrayView data) {
    if (op == fileio::Op::Truncate) {
        const qsizetype old = content.size();
        content.resize(qsizetype(offset));
        if (offset > old)
            std::memset(content.data() + old, 0, size_t(offset - old));
        return;
    }
    if (offset + data.size() > content.size()) {
        const qsizetype old = content.size();
        content.resize(qsizetype(offset + data.size()));
        std::memset(content.data() + old, 0, size_t(content.size() - old));
    }
    std::memcpy(content.data() + offset, data.data(), size_t(data.size()));
}

QString nameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

bool keep(QRandomGenerator* random) {
    return !random || random->bounded(2) == 1;
}

struct NameOp {
    fileio::Op op;
    QString name, target;
    int inode = -1;
};

struct Replay {
    QList<Inode> inodes;
    QHash<QString, int> names; // as the process saw them
    QList<NameOp> nameOps;
    int durableNameOps = 0;
};

Replay replay(const FolderImage& before, const QList<LoggedCall>& log, int cut) {
    Replay r;
    for (auto it = before.begin(); it != before.end(); ++it) {
        r.names.insert(it.key(), int(r.inodes.size()));
        r.inodes.append(Inode{it.value(), {}});
    }
    for (int i = 0; i < cut && i < log.size(); ++i) {
        const LoggedCall& c = log[i];
        const QString name = nameOf(c.path);
        switch (c.op) {
        case fileio::Op::Create:
            r.names.insert(name, int(r.inodes.size()));
            r.inodes.append(Inode{});
            r.nameOps.append({c.op, name, {}, r.names.value(name)});
            break;
        case fileio::Op::Remove:
            r.names.remove(name);
            r.nameOps.append({c.op, name, {}, -1});
            break;
        case fileio::Op::Rename: {
            const int inode = r.names.value(name, -1);
            r.names.remove(name);
            r.names.insert(nameOf(c.target), inode);
            r.nameOps.append({c.op, name, nameOf(c.target), inode});
            break;
        }
        case fileio::Op::SyncFolder:
            r.durableNameOps = int(r.nameOps.size());
            break;
        case fileio::Op::Write:
        case fileio::Op::Truncate:
            if (r.names.contains(name))
                r.inodes[r.names.value(name)].pending.append(&c);
            break;
        case fileio::Op::Sync:
            if (r.names.contains(name)) {
                Inode& inode = r.inodes[r.names.value(name)];
                for (const LoggedCall* p : std::as_const(inode.pending))
                    apply(inode.content, p->op, p->offset, p->data);
                inode.pending.clear();
            }
            break;
        }
    }
    return r;
}

} // namespace

int unsyncedCalls(const QList<LoggedCall>& log, int cut) {
    const Replay r = replay({}, log, cut);
    qsizetype n = r.nameOps.size() - r.durableNameOps;
    for (const Inode& inode : r.inodes)
        n += inode.pending.size();
    return int(n);
}

FolderImage afterPowerCut(const FolderImage& before, const QList<LoggedCall>& log, int cut,
                          QRandomGenerator* random) {
    Replay r = replay(before, log, cut);
    // Names: what the folder had, every change up to its last sync, then
    // the later ones in order up to some point.
    QHash<QString, int> names;
    int inode = 0;
    for (auto it = before.begin(); it != before.end(); ++it)
        names.insert(it.key(), inode++);
    const int pendingNames = int(r.nameOps.size()) - r.durableNameOps;
    const int applied = r.durableNameOps + (random ? int(random->bounded(pendingNames + 1)) : pendingNames);
    for (int i = 0; i < applied; ++i) {
        const NameOp& op = r.nameOps[i];
        if (op.op == fileio::Op::Create)
            names.insert(op.name, op.inode);
        else if (op.op == fileio::Op::Remove)
            names.remove(op.name);
        else if (names.contains(op.name))
            names.insert(op.target, names.take(op.name));
    }
    // Data: every synced call, then any pages of the later ones.
    for (Inode& node : r.inodes) {
        for (const LoggedCall* c : std::as_const(node.pending)) {
            if (c->op == fileio::Op::Truncate) {
                if (keep(random))
                    apply(node.content, c->op, c->offset, {});
                continue;
            }
            for (qint64 at = c->offset; at < c->offset + c->data.size();) {
                const qint64 end = qMin(c->offset + c->data.size(), (at / kPage + 1) * kPage);
                if (keep(random))
                    apply(node.content, c->op, at, QByteArrayView(c->data).sliced(at - c->offset, end - at));
                at = end;
            }
        }
    }
    FolderImage out;
    for (auto it = names.begin(); it != names.end(); ++it)
        if (it.value() >= 0)
            out.insert(it.key(), r.inodes[it.value()].content);
    return out;
}

FolderImage readFolder(const QString& folder) {
    FolderImage image;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            image.insert(name, f.readAll());
    }
    return image;
}

void writeFolder(const QString& folder, const FolderImage& image) {
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(name);
    for (auto it = image.begin(); it != image.end(); ++it) {
        QFile f(dir.filePath(it.key()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(it.value()), it.value().size());
    }
}

} // namespace vlr::test
