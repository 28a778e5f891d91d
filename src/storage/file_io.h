#pragma once
// Every system call that changes a notebook, its journal or their folder goes
// through here, so that each result is checked in one way and a test can stop
// or fail any one of them. Functions return 0 or the errno of the failure.
#include <QByteArrayView>
#include <QString>

namespace vlr::fileio {

enum class Op {
    Create,     // path: a new, empty file
    Write,      // path, offset, data
    Truncate,   // path, offset = the new size
    Sync,       // path: its data made durable (fsync/fdatasync)
    Remove,     // path
    Rename,     // path becomes target; fails when target exists
    SyncFolder, // path: the folder, its entries made durable
};

struct Event {
    Op op;
    QString path;
    QString target;
    qint64 offset = 0;
    QByteArrayView data;
};

// What a hook decides for one operation.
struct Verdict {
    enum Kind {
        Proceed,
        Skip, // report success without doing anything (the process is gone);
              // a creation cannot be pretended and fails with EIO
        Fail, // report `error` without doing anything, after `partial` bytes of a write
    };
    Kind kind = Proceed;
    int error = 0;
    qint64 partial = 0;
};

// Seen before each operation; installed only by tests.
class Hook {
public:
    virtual ~Hook() = default;
    virtual Verdict before(const Event& event) = 0;
};

// Installs a hook for the whole process (not owned); nullptr removes it.
void setHook(Hook* hook);

// The text of an errno value.
QString errorText(int error);

// O_CREAT | O_EXCL, read and write; fd receives the descriptor.
int createFile(const QString& path, int mode, int& fd);
// Writes everything, resuming after short writes and interruptions.
int writeAt(int fd, const QString& path, const char* data, qint64 size, qint64 offset);
int truncateTo(int fd, const QString& path, qint64 size);
// fdatasync: the bytes and the size, not the times.
int syncData(int fd, const QString& path);
int removeFile(const QString& path);
// Gives `from` the name `to`; fails with EEXIST when `to` exists.
int renameNoReplace(const QString& from, const QString& to);
// Makes the entries of the folder holding `filePath` durable.
int syncFolderOf(const QString& filePath);

} // namespace vlr::fileio
