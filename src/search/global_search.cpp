#include "search/global_search.h"

#include "core/error.h"
#include "core/error_report.h"
#include "core/messages.h"
#include "libs/extlib.h"
#include "search/search_pattern.h"
#include "search/search_scope.h"
#include "search/search_settings.h"
#include "storage/notebook_binding.h"
#include "storage/notebook_service.h"

#include <QSet>

#include <optional>

namespace vlr {

namespace {

const QString kPlace = QStringLiteral("TfrmGlobalSearch");

TNodeRoot* notebookOf(const TSearchRow& row) {
    return TNotebookService::NotebookOf(row.note->RootNode);
}

} // namespace

TGlobalSearch::TGlobalSearch(TNotebookService& service, TNoteTextCache* cache, QObject* parent)
    : QObject(parent), m_service(service), m_cache(cache), m_results(this) {
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setInterval(0);
    connect(&m_stepTimer, &QTimer::timeout, this, &TGlobalSearch::step);
    // Rows point at notes: they go with their notes. Rows of a notebook that
    // locks go too, since they show its titles and text.
    auto dropNotebook = [this](TNodeRoot* nb) {
        dropRows([nb](const TSearchRow& r) { return notebookOf(r) == nb; });
    };
    connect(&service, &TNotebookService::notebookAboutToClose, this, dropNotebook);
    connect(&service, &TNotebookService::notebookLocked, this, dropNotebook);
    connect(&service, &TNotebookService::noteAboutToBeDeleted, this, [this](TNodeData* note) {
        QSet<const TNodeData*> gone{note};
        if (note->TreeNode)
            ForEachDescendant(note->TreeNode, [&gone](TTreeNode* n) { gone.insert(n->Note()); });
        dropRows([&gone](const TSearchRow& r) { return gone.contains(r.note); });
    });
}

TGlobalSearch::~TGlobalSearch() {
    // Deleted with the dialog while searching: the run stops with it.
    delete m_run;
}

void TGlobalSearch::dropRows(const std::function<bool(const TSearchRow&)>& pick) {
    m_results.RemoveIf(pick);
}

void TGlobalSearch::SetRememberedTexts(const QStringList& items) {
    m_remembered = items.mid(0, kRememberedTexts);
    emit rememberedTextsChanged();
}

TGlobalSearch::StartResult TGlobalSearch::Start(const TSearchOptions& options, TTreeNode* selected) {
    if (options.text.isEmpty() || m_run)
        return {};
    if (RememberSearchText(m_remembered, options.text))
        emit rememberedTextsChanged();
    TExtLib& ext = TExtLib::instance();
    TSearchPattern pattern;
    try {
        pattern = BuildSearchPattern(ext, options);
        int errorPosition = 0;
        const bool compiled = ext.RE_Init(pattern.pattern, pattern.modifiers, &errorPosition);
        ext.RE_Done();
        if (!compiled) {
            // Only a typed expression can be faulty; its positions are the text's.
            return {Outcome::BadPattern, qBound(0, errorPosition, int(options.text.size()))};
        }
    } catch (const std::exception& e) {
        reportInternalError(e, kPlace);
        return {Outcome::Failed};
    }
    // Asked once the pattern is known to compile, so that a faulty one leaves
    // the results as they are.
    if (m_results.rowCount() > 0) {
        // The search goes where the selection was when it was asked for, even
        // when another note is selected while the question waits; it is
        // dropped when that note or its notebook goes meanwhile.
        std::optional<TNotebookBinding> from;
        if (options.scope != TSearchScope::AllNotebooks && selected)
            from.emplace(m_service, selected);
        const int answer =
            showMessage(kNewSearchQuestion, kNewSearchCaption, MsgIcon::Question, MbYes | MbNo | MbCancel);
        if (answer == MbCancel)
            return {Outcome::Declined};
        if (from && from->ReportIfLost())
            return {Outcome::TargetLost};
        if (answer == MbYes)
            m_results.Clear();
    }
    const bool isolate = options.scope == TSearchScope::AllNotebooks;
    m_run = new TSearchRun(m_service, ext, pattern, CollectSearchParts(m_service, options.scope, selected),
                           isolate, m_cache);
    connect(m_run, &TSearchRun::rowsFound, &m_results, &TSearchResultsModel::Append);
    connect(m_run, &TSearchRun::readyToStep, &m_stepTimer, qOverload<>(&QTimer::start));
    emit started();
    m_stepTimer.start();
    return {Outcome::Started};
}

void TGlobalSearch::Cancel() {
    if (!m_run)
        return;
    m_run->Cancel();
    m_stepTimer.start(); // heard at once, also while waiting for text
}

TGlobalSearch::Progress TGlobalSearch::CurrentProgress() const {
    if (!m_run)
        return {};
    const int part = m_run->PartIndex();
    if (part < 0 || !m_run->Parts().at(part).showProgress)
        return {};
    return {true, m_run->PositionInPart(), int(m_run->Parts().at(part).notes.size()) - 1};
}

void TGlobalSearch::step() {
    // A message shown inside a step processes input: a step asked for then
    // waits for the one running, which schedules the next itself.
    if (!m_run || m_stepping)
        return;
    m_stepping = true;
    const TSearchRun::State state = m_run->Step(m_stepTime);
    m_stepping = false;
    emit progressChanged();
    if (state == TSearchRun::State::Running)
        m_stepTimer.start();
    else if (state != TSearchRun::State::Waiting)
        finish(state);
}

void TGlobalSearch::finish(TSearchRun::State state) {
    m_lastStats = m_run->Statistics();
    const QString error = m_run->ErrorText();
    m_run->deleteLater();
    m_run = nullptr;
    m_stepTimer.stop();
    if (state == TSearchRun::State::Failed)
        reportInternalError(EVellinorError(error, kPlace), kPlace);
    emit finished(state);
}

} // namespace vlr
