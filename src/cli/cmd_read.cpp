// The reading commands: info, ls, cat. They never write the notebook.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"
#include "core/datetime.h"
#include "core/guid.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>

namespace vlr::cli {

void outBytes(const QByteArray& bytes) {
    // Output that did not all arrive (a full disk behind a redirection) is a failure.
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) ||
        std::fflush(stdout) != 0)
        throw CliError{
            ExitFailed,
            QStringLiteral("the output could not be written: %1").arg(systemError(errno ? errno : EIO))};
}

void out(const QString& text) {
    outBytes(text.toUtf8());
}

namespace {

void printJson(const QJsonValue& value) {
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    outBytes(doc.toJson(QJsonDocument::Indented));
}

int deletedWithBody(const TNodeRoot& nb) {
    int n = 0;
    for (const TNodeData* note : nb.DeletedNotes)
        n += note->Record.Offset() > 0;
    return n;
}

} // namespace

int cmdInfo(const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--json")});
    args.expectPositionals(1, QStringLiteral("vlr info FILE [--json]"));
    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::Inspect);
    const TNodeRoot& nb = *session->root;
    const NotebookHeader& h = nb.Header;
    QJsonObject o;
    o[QStringLiteral("version")] = qint64(h.Version());
    o[QStringLiteral("title")] = h.BookName();
    o[QStringLiteral("created")] = isoText(h.Created());
    o[QStringLiteral("compressed")] = nb.HasBookFlag(bfCompressed);
    o[QStringLiteral("encrypted")] = nb.HasBookFlag(bfEncrypted);
    o[QStringLiteral("readOnly")] = nb.HasBookFlag(bfReadOnly);
    o[QStringLiteral("reserveSize")] = h.ReserveSize();
    o[QStringLiteral("treeOffset")] = h.TreeOffset();
    o[QStringLiteral("notes")] = nb.Notes.size();
    o[QStringLiteral("deletedNotes")] = nb.DeletedNotes.size();
    o[QStringLiteral("fileSize")] = nb.FileSize();
    o[QStringLiteral("wasted")] = nb.WastedSpace();
    o[QStringLiteral("author")] = h.Author();
    o[QStringLiteral("company")] = h.Company();
    o[QStringLiteral("comments")] = h.Comments();
    o[QStringLiteral("selectedNote")] = h.SelectedNote();
    if (args.flag(QStringLiteral("--json"))) {
        printJson(o);
        return ExitOk;
    }
    auto yes = [](bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); };
    QString text;
    text += QStringLiteral("File:          %1\n").arg(printable(nb.FileName));
    text += QStringLiteral("Title:         %1\n").arg(printable(h.BookName()));
    text += QStringLiteral("Version:       %1\n").arg(h.Version());
    text += QStringLiteral("Created:       %1\n").arg(isoText(h.Created()));
    text += QStringLiteral("Compressed:    %1\n").arg(yes(nb.HasBookFlag(bfCompressed)));
    text += QStringLiteral("Encrypted:     %1\n").arg(yes(nb.HasBookFlag(bfEncrypted)));
    text += QStringLiteral("Read-only:     %1\n").arg(yes(nb.HasBookFlag(bfReadOnly)));
    text += QStringLiteral("Notes:         %1 (%2 deleted, %3 of them recoverable)\n")
                .arg(nb.Notes.size())
                .arg(nb.DeletedNotes.size())
                .arg(deletedWithBody(nb));
    text += QStringLiteral("File size:     %1 bytes (%2 wasted)\n").arg(nb.FileSize()).arg(nb.WastedSpace());
    text += QStringLiteral("Reserve:       %1 bytes per note\n").arg(h.ReserveSize());
    text += QStringLiteral("Tree offset:   %1\n").arg(h.TreeOffset());
    if (!h.Author().isEmpty())
        text += QStringLiteral("Author:        %1\n").arg(printable(h.Author()));
    if (!h.Company().isEmpty())
        text += QStringLiteral("Company:       %1\n").arg(printable(h.Company()));
    if (!h.Comments().isEmpty())
        text += QStringLiteral("Comments:      %1\n").arg(printable(h.Comments()));
    out(text);
    return ExitOk;
}

int cmdLs(const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--json"), QStringLiteral("--deleted")});
    args.expectPositionals(1, QStringLiteral("vlr ls FILE [--json] [--deleted]"));
    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::Inspect);
    const TNodeRoot& nb = *session->root;
    QList<const TNodeData*> notes(nb.Notes.begin(), nb.Notes.end());
    if (args.flag(QStringLiteral("--deleted")))
        notes += QList<const TNodeData*>(nb.DeletedNotes.begin(), nb.DeletedNotes.end());
    const bool json = args.flag(QStringLiteral("--json"));
    QJsonArray array;
    QString text;
    for (const TNodeData* note : notes) {
        const NoteRecord& r = note->Record;
        const bool deleted = r.Deleted() != 0;
        const int level = note->TreeNode ? note->TreeNode->Level() : r.Level();
        GuidBytes id{};
        std::memcpy(id.data(), r.ID(), id.size());
        const int index = listIndex(*session, note);
        if (!json) {
            text += QStringLiteral("%1 %2%3%4\n")
                        .arg(index, 5)
                        .arg(QString(qMax(0, level - 1) * 2, QLatin1Char(' ')), printable(r.NoteName()),
                             deleted ? QStringLiteral("  [deleted]") : QString());
            continue;
        }
        QJsonObject o;
        o[QStringLiteral("index")] = index;
        o[QStringLiteral("level")] = level;
        o[QStringLiteral("name")] = r.NoteName();
        o[QStringLiteral("id")] = guidText(id);
        o[QStringLiteral("plainText")] = r.PlainText() == 1;
        o[QStringLiteral("compressed")] = note->HasNoteFlag(nfCompressed);
        o[QStringLiteral("encrypted")] = note->HasNoteFlag(nfEncrypted);
        o[QStringLiteral("readOnly")] = note->HasNoteFlag(nfReadOnly);
        o[QStringLiteral("favorite")] = r.Favorite() != 0;
        o[QStringLiteral("deleted")] = deleted;
        o[QStringLiteral("offset")] = r.Offset();
        o[QStringLiteral("size")] = r.Size();
        o[QStringLiteral("sizeReserved")] = r.SizeReserved();
        o[QStringLiteral("rawSize")] = r.RawSize();
        o[QStringLiteral("created")] = isoText(r.Created());
        o[QStringLiteral("saved")] = isoText(r.Saved());
        o[QStringLiteral("imageIndex")] = r.ImageIndex();
        array.append(o);
    }
    if (json)
        printJson(array);
    else
        out(text);
    // What a damaged file lists is not the whole notebook: the caller must know.
    return nb.IsDamaged() ? ExitFailed : ExitOk;
}

int cmdCat(const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--raw")});
    args.expectPositionals(2, QStringLiteral("vlr cat FILE NOTE [--raw]"));
    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::InspectWithKey);
    const TNodeData* note = resolveNote(*session, args.positional(1, QStringLiteral("NOTE")));
    TNodeRoot& nb = *session->root;
    const NoteRecord& r = note->Record;
    const QString name = printable(r.NoteName());
    if (r.Offset() == 0 && r.Size() == 0)
        return ExitOk; // never stored: empty
    if (r.Size() <= 0)
        throw CliError{ExitFailed, QStringLiteral("the body of \"%1\" is stored with no bytes").arg(name)};
    if (note->HasNoteFlag(nfEncrypted) && !nb.KeyHeld)
        throw CliError{ExitPassword, QStringLiteral("the notebook is locked")};
    QByteArray body;
    bool digestOk = true;
    bool expandOk = true;
    if (!nb.DecodeNote(*note, body, &digestOk, &expandOk))
        throw CliError{ExitFailed, QStringLiteral("the body of \"%1\" cannot be read").arg(name)};
    if (!expandOk)
        throw CliError{ExitFailed, QStringLiteral("the body of \"%1\" cannot be expanded").arg(name)};
    if (!digestOk)
        std::fprintf(stderr, "vlr: warning: the digest of \"%s\" does not match\n",
                     name.toUtf8().constData());
    if (r.PlainText() == 1 && !args.flag(QStringLiteral("--raw")))
        body = plainBodyToUtf8(body);
    outBytes(body);
    return ExitOk;
}

} // namespace vlr::cli
