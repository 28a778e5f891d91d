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

// How long a writer waits for another process to let go of a notebook.
constexpr double kDefaultWaitSeconds = 10;
// Sets the wait of --wait for this process.
void applyLockWait(const Args& args);
// A notebook file that exists; UsageError naming why not (missing, a loop
// of symbolic links, not a file).
void requireNotebookFile(const QString& path);

// Writers hold the notebook from before they read it until they end.
std::unique_ptr<Session> openNotebook(const QString& path, const Args& args, Access access);
// A session for a notebook that does not exist yet.
std::unique_ptr<Session> newSession(const QString& path, const NewNotebookDefaults& defaults);

// A note by its index as `ls` prints it (deleted notes follow the live ones),
// by its GUID in braces, or by a path of names joined by "/" (see
// splitNamePath; a leading "/" makes a number or a brace a name).
TNodeData* resolveNote(Session& session, const QString& reference);
// The index `ls` prints for a note.
int listIndex(const Session& session, const TNodeData* note);

// The password from --password-file, VLR_PASSWORD or a prompt on the terminal;
// empty when none can be had.
QString obtainPassword(const Args& args, bool confirm);
// How to get back what survives of a damaged notebook.
QString salvageHint(const QString& path);
// Saves and turns a failure into a CliError.
void saveOrFail(Session& session);

} // namespace vlr::cli
