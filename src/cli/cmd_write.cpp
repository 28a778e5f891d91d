// The commands that change notebooks: new, add, put, rm. Each saves as the
// program saves, through the storage engine. The body is read before the
// notebook is opened, so a slow producer never keeps others out of it.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace vlr::cli {

namespace {

QByteArray readBodyOption(const Args& args) {
    return readInput(args.value(QStringLiteral("--body"), QStringLiteral("-")));
}

// The body as stored: RTF as it is (the empty document for nothing), plain
// text from UTF-8, or with --raw the bytes exactly.
QByteArray storedBody(const Args& args, QByteArray bytes, bool plain) {
    if (!plain)
        return bytes.isEmpty() ? emptyDocumentBody() : bytes;
    if (args.flag(QStringLiteral("--raw")))
        return bytes;
    if (!isValidUtf8(bytes))
        throw UsageError{QStringLiteral("the body is not UTF-8 text; --raw stores its bytes as they are")};
    return plainBodyFromUtf8(bytes);
}

void requireKey(Session& session) {
    if (session.root->IsLocked())
        throw CliError{ExitPassword, QStringLiteral("the notebook is locked")};
}

} // namespace

int cmdNew(const QStringList& words) {
    const Args args(words, {QStringLiteral("--title"), QStringLiteral("--reserve")},
                    {QStringLiteral("--compress"), QStringLiteral("--encrypt"), QStringLiteral("--lossy")});
    args.expectPositionals(
        1, QStringLiteral("vlr new FILE [--title T] [--lossy] [--compress] [--encrypt] [--reserve N]"));
    const QString path = args.positional(0, QStringLiteral("FILE"));
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
        throw UsageError{QStringLiteral("%1 already exists").arg(path)};
    NewNotebookDefaults defaults;
    defaults.name = args.value(QStringLiteral("--title"), QFileInfo(path).completeBaseName());
    checkStorableName(defaults.name, args.flag(QStringLiteral("--lossy")));
    defaults.reserveSize = args.intValue(QStringLiteral("--reserve"), defaults.reserveSize);
    if (defaults.reserveSize < 0)
        throw UsageError{QStringLiteral("the reserve cannot be negative")};
    defaults.compress = args.flag(QStringLiteral("--compress"));
    QString password;
    if (args.flag(QStringLiteral("--encrypt"))) {
        password = obtainPassword(args, true);
        if (password.isEmpty())
            throw CliError{ExitPassword,
                           QStringLiteral("--encrypt needs a password (--password-file or VLR_PASSWORD)")};
    }
    auto session = newSession(path, defaults);
    if (!password.isEmpty() && !session->service.Protect(*session->root, password))
        throw CliError{ExitFailed, QStringLiteral("the system's random source failed")};
    saveOrFail(*session);
    return ExitOk;
}

int cmdAdd(const QStringList& words) {
    const Args args(words,
                    {QStringLiteral("--name"), QStringLiteral("--under"), QStringLiteral("--after"),
                     QStringLiteral("--body")},
                    {QStringLiteral("--plain"), QStringLiteral("--raw"), QStringLiteral("--lossy")});
    args.expectPositionals(1,
                           QStringLiteral("vlr add FILE --name NAME [--lossy] [--under NOTE | --after NOTE] "
                                          "[--plain] [--body PATH|-] [--raw]"));
    if (!args.has(QStringLiteral("--name")))
        throw UsageError{QStringLiteral("vlr add needs --name")};
    checkStorableName(args.value(QStringLiteral("--name")), args.flag(QStringLiteral("--lossy")));
    if (args.has(QStringLiteral("--under")) && args.has(QStringLiteral("--after")))
        throw UsageError{QStringLiteral("--under and --after exclude each other")};
    const bool plain = args.flag(QStringLiteral("--plain"));
    const bool withBody = args.has(QStringLiteral("--body"));
    QByteArray body = withBody ? storedBody(args, readBodyOption(args), plain) : QByteArray();
    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::Write);
    requireKey(*session);
    TNodeRoot& nb = *session->root;
    TTreeNode* parent = nb.RootNode;
    int row = parent->Count();
    if (args.has(QStringLiteral("--under"))) {
        TNodeData* under = resolveNote(*session, args.value(QStringLiteral("--under")));
        if (!under->TreeNode)
            throw UsageError{QStringLiteral("a deleted note cannot take children")};
        parent = under->TreeNode;
        row = parent->Count();
    } else if (args.has(QStringLiteral("--after"))) {
        TNodeData* after = resolveNote(*session, args.value(QStringLiteral("--after")));
        if (!after->TreeNode)
            throw UsageError{QStringLiteral("a deleted note has no place in the tree")};
        parent = after->TreeNode->Parent();
        row = after->TreeNode->Index() + 1;
    }
    TNodeData* note = session->service.AddNote(nb, parent, row, args.value(QStringLiteral("--name")),
                                               NewNoteDefaults{}, plain);
    if (withBody)
        session->service.SetBody(*note, std::move(body));
    saveOrFail(*session);
    out(QStringLiteral("%1\n").arg(listIndex(*session, note)));
    return ExitOk;
}

int cmdPut(const QStringList& words) {
    const Args args(words, {QStringLiteral("--body")}, {QStringLiteral("--raw")});
    args.expectPositionals(2, QStringLiteral("vlr put FILE NOTE [--body PATH|-] [--raw]"));
    QByteArray input = readBodyOption(args);
    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::Write);
    requireKey(*session);
    TNodeData* note = resolveNote(*session, args.positional(1, QStringLiteral("NOTE")));
    if (!note->TreeNode)
        throw UsageError{QStringLiteral("a deleted note cannot be changed")};
    if (note->HasNoteFlag(nfReadOnly))
        throw CliError{ExitFailed,
                       QStringLiteral("the note \"%1\" is read-only").arg(note->Record.NoteName())};
    QByteArray body = storedBody(args, std::move(input), note->Record.PlainText() == 1);
    session->service.SetBody(*note, std::move(body));
    saveOrFail(*session);
    return ExitOk;
}

int cmdRm(const QStringList& words) {
    const Args args(words, {}, {});
    args.expectPositionals(2, QStringLiteral("vlr rm FILE NOTE"));
    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::Write);
    TNodeData* note = resolveNote(*session, args.positional(1, QStringLiteral("NOTE")));
    if (!note->TreeNode)
        throw UsageError{QStringLiteral("the note is deleted already")};
    session->service.DeleteNote(*note);
    saveOrFail(*session);
    return ExitOk;
}

} // namespace vlr::cli
