#include "search/search_scope.h"

#include "storage/notebook_service.h"

namespace vlr {

namespace {

TSearchPart wholeNotebook(TNodeRoot* nb) {
    return {nb, nb->Notes, true};
}

} // namespace

QList<TSearchPart> CollectSearchParts(const TNotebookService& service, TSearchScope scope,
                                      TTreeNode* selected) {
    QList<TSearchPart> parts;
    if (scope == TSearchScope::AllNotebooks) {
        for (TNodeRoot* nb : service.Notebooks())
            if (!nb->IsLocked())
                parts << wholeNotebook(nb);
        return parts;
    }
    TNodeRoot* nb = TNotebookService::NotebookOf(selected);
    if (!nb || nb->IsLocked())
        return parts;
    if (scope == TSearchScope::CurrentNotebook) {
        parts << wholeNotebook(nb);
        return parts;
    }
    if (!selected->Note())
        return parts;
    TSearchPart part{nb, {selected->Note()}, false};
    ForEachDescendant(selected, [&](TTreeNode* n) {
        if (n->Note())
            part.notes << n->Note();
    });
    parts << part;
    return parts;
}

} // namespace vlr
