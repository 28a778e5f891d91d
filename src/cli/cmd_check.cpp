// vlr check: verifies a whole notebook without writing it.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vlr::cli {

int cmdCheck(const QStringList& words) {
    const Args args(words, {}, {QStringLiteral("--json")});
    args.expectPositionals(1, QStringLiteral("vlr check FILE [--json]"));
    const QString path = args.positional(0, QStringLiteral("FILE"));
    QStringList problems;
    std::unique_ptr<Session> session;
    try {
        session = openNotebook(path, args, Access::InspectWithKey);
    } catch (const CliError& e) {
        if (e.code == ExitPassword)
            throw;
        problems << e.text;
    }
    if (session) {
        TNodeRoot& nb = *session->root;
        problems += describe(nb.Damage);
        const qint64 stripOffset =
            qint64(nb.Header.TreeOffset()) + (qint64(nb.Header.LastRecord()) + 1) * NoteRecord::Bytes;
        if (nb.Header.Version() > 3 && stripOffset >= nb.FileSize())
            problems << QStringLiteral("the picture strip is missing");
        auto verify = [&](const TNodeData* note) {
            const NoteRecord& r = note->Record;
            const QString who = QStringLiteral("note \"%1\"").arg(r.NoteName());
            if (r.Offset() == 0 && r.Size() == 0)
                return;
            if (r.Size() == 0) {
                problems << who + QStringLiteral(": stored body of zero bytes");
                return;
            }
            QByteArray body;
            bool digestOk = true;
            bool expandOk = true;
            if (!nb.DecodeNote(*note, body, &digestOk, &expandOk)) {
                problems << who + QStringLiteral(": body cannot be read");
                return;
            }
            if (!digestOk)
                problems << who + QStringLiteral(": digest does not match");
            if (!expandOk)
                problems << who + QStringLiteral(": body cannot be expanded");
            else if (note->HasNoteFlag(nfCompressed) && r.RawSize() != body.size())
                problems
                    << who +
                           QStringLiteral(": expands to %1 bytes, not %2").arg(body.size()).arg(r.RawSize());
        };
        if (nb.Damage.isEmpty()) {
            for (const TNodeData* note : std::as_const(nb.Notes))
                verify(note);
            for (const TNodeData* note : std::as_const(nb.DeletedNotes))
                verify(note);
        }
    }
    if (args.flag(QStringLiteral("--json"))) {
        QJsonObject o;
        o[QStringLiteral("file")] = path;
        o[QStringLiteral("ok")] = problems.isEmpty();
        o[QStringLiteral("problems")] = QJsonArray::fromStringList(problems);
        outBytes(QJsonDocument(o).toJson(QJsonDocument::Indented));
    } else {
        for (const QString& p : std::as_const(problems))
            out(printable(p) + QLatin1Char('\n'));
        if (problems.isEmpty())
            out(QStringLiteral("%1: no problems found\n").arg(path));
    }
    return problems.isEmpty() ? ExitOk : ExitFailed;
}

} // namespace vlr::cli
