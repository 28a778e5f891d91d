#pragma once
// Opening notebooks for vlr commands, finding notes, reading bodies and passwords.
#include "cli/cli_args.h"
#include "storage/node_root.h"
#include "storage/notebook_service.h"

#include <memory>

namespace vlr::cli {

// A failure with its exit code; main prints the text as one line.
struct CliError {
    int code;
    QString text;
};

enum class Access {
    Inspect,        // read only; an encrypted notebook stays locked unless a password is given
    InspectWithKey, // read only; bodies are read, so an encrypted notebook needs its password
    Write,          // read and write; an encrypted notebook needs its password
};

struct Session {
    Session();
    TNotebookService service;
    TNodeRoot* root = nullptr; // owned by the service
};

std::unique_ptr<Session> openNotebook(const QString& path, const Args& args, Access access);
// A session for a notebook that does not exist yet.
std::unique_ptr<Session> newSession(const QString& path, const NewNotebookDefaults& defaults);

// A note by its index as `ls` prints it (deleted notes follow the live ones),
// by its GUID in braces, or by a path of names joined by "/".
TNodeData* resolveNote(Session& session, const QString& reference);
// The index `ls` prints for a note.
int listIndex(const Session& session, const TNodeData* note);

// The password from --password-file, VLR_PASSWORD or a prompt on the terminal;
// empty when none can be had.
QString obtainPassword(const Args& args, bool confirm);
// The bytes of --body: a file, or "-" for standard input.
QByteArray readBody(const QString& source);
// A plain-text body as stored: Windows-1251, or UTF-8 behind its byte-order mark
// when Windows-1251 cannot hold the text.
QByteArray plainBodyFromUtf8(const QByteArray& utf8);

// Saves and turns a failure into a CliError.
void saveOrFail(Session& session);

} // namespace vlr::cli
