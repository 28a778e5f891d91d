// vlr search: the program's global search without a display. Exit 0 when
// something matched, 1 when nothing did, 2 when the input cannot be used, so
// that 1 always means "no match" to a script.
#include "cli/cli_notebook.h"
#include "cli/cli_text.h"
#include "cli/commands.h"
#include "core/error.h"
#include "libs/extlib.h"
#include "search/search_pattern.h"
#include "search/search_run.h"
#include "search/search_scope.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vlr::cli {

namespace {

const QString kUsage = QStringLiteral(
    "vlr search FILE PATTERN [--regex] [--case] [--words] [--any|--all] [--under NOTE] [--json]");

TSearchOptions optionsFrom(const Args& args) {
    TSearchOptions o;
    o.text = args.positional(1, QStringLiteral("PATTERN"));
    if (o.text.isEmpty())
        throw UsageError{QStringLiteral("the pattern is empty")};
    o.regExp = args.flag(QStringLiteral("--regex"));
    o.caseSensitive = args.flag(QStringLiteral("--case"));
    o.matchWords = args.flag(QStringLiteral("--words"));
    const bool any = args.flag(QStringLiteral("--any"));
    const bool all = args.flag(QStringLiteral("--all"));
    if (any && all)
        throw UsageError{QStringLiteral("--any and --all exclude each other")};
    o.matchMode = any ? TMatchMode::AnyWord : all ? TMatchMode::AllWords : TMatchMode::ExactPhrase;
    return o;
}

// The pattern as the library compiles it; UsageError with the place of a fault.
TSearchPattern checkedPattern(TExtLib& ext, const TSearchOptions& options) {
    const TSearchPattern pattern = BuildSearchPattern(ext, options);
    int at = 0;
    const bool compiled = ext.RE_Init(pattern.pattern, pattern.modifiers, &at);
    const QString reason = ext.errorString();
    ext.RE_Done();
    if (!compiled)
        throw UsageError{
            QStringLiteral("invalid regular expression at character %1: %2").arg(at + 1).arg(reason)};
    return pattern;
}

int search(const QStringList& words) {
    const Args args(words, {QStringLiteral("--under")},
                    {QStringLiteral("--regex"), QStringLiteral("--case"), QStringLiteral("--words"),
                     QStringLiteral("--any"), QStringLiteral("--all"), QStringLiteral("--json")});
    args.expectPositionals(2, kUsage);
    TSearchOptions options = optionsFrom(args);
    TExtLib& ext = TExtLib::instance();
    if (!ext.IsAvailable())
        throw CliError{ExitUsage,
                       QStringLiteral("the extension library cannot be loaded: %1").arg(ext.errorString())};
    const TSearchPattern pattern = checkedPattern(ext, options);

    auto session = openNotebook(args.positional(0, QStringLiteral("FILE")), args, Access::InspectWithKey);
    TTreeNode* from = session->root->RootNode;
    if (args.has(QStringLiteral("--under"))) {
        from = resolveNote(*session, args.value(QStringLiteral("--under")))->TreeNode;
        if (!from)
            throw UsageError{QStringLiteral("a deleted note cannot be searched under")};
        options.scope = TSearchScope::NoteAndDescendants;
    } else {
        options.scope = TSearchScope::CurrentNotebook;
    }
    TSearchRun run(session->service, ext, pattern, CollectSearchParts(session->service, options.scope, from),
                   false);
    QList<TSearchRow> rows;
    QObject::connect(&run, &TSearchRun::rowsFound,
                     [&rows](const QList<TSearchRow>& found) { rows += found; });
    if (run.RunToEnd() == TSearchRun::State::Failed)
        throw CliError{ExitUsage, run.ErrorText()};

    const auto where = [](const TSearchRow& r) {
        return r.title ? QStringLiteral("title") : QStringLiteral("body");
    };
    if (args.flag(QStringLiteral("--json"))) {
        QJsonArray array;
        for (const TSearchRow& r : std::as_const(rows)) {
            QJsonObject o;
            o[QStringLiteral("note")] = listIndex(*session, r.note);
            o[QStringLiteral("caption")] = r.caption;
            o[QStringLiteral("in")] = where(r);
            o[QStringLiteral("position")] = r.position;
            o[QStringLiteral("length")] = r.length;
            o[QStringLiteral("rank")] = r.rank;
            o[QStringLiteral("text")] = r.firstMatch;
            array.append(o);
        }
        outBytes(QJsonDocument(array).toJson(QJsonDocument::Indented));
    } else {
        QString text;
        for (const TSearchRow& r : std::as_const(rows))
            text += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                        .arg(printable(r.caption), where(r))
                        .arg(r.position)
                        .arg(r.rank)
                        .arg(printable(r.firstMatch));
        out(text);
    }
    return rows.isEmpty() ? ExitFailed : ExitOk;
}

} // namespace

int cmdSearch(const QStringList& words) {
    // Every failure is unusable input here: 1 is kept for "nothing matched".
    try {
        return search(words);
    } catch (const CliError& e) {
        throw CliError{ExitUsage, e.text};
    } catch (const EVellinorError& e) {
        throw CliError{ExitUsage, e.text()};
    }
}

} // namespace vlr::cli
