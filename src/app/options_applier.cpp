#include "app/options_applier.h"

#include "config/optionsnotifier.h"
#include "editor/richedit.h"
#include "tree/MyTreeView.h"
#include "tree/option_fonts.h"

namespace vlr {

TOptionsApplier::TOptionsApplier(TOptionsNotifier& notifier, TMyCustomTreeView& tree,
                                 OptionsApplierHost& host, QObject* parent)
    : QObject(parent), m_tree(tree), m_host(host) {
    connect(&notifier, &TOptionsNotifier::optionsApplied, this,
            [this](const TVLROptions& options, const TVLROptions* previous) { Apply(options, previous); });
}

void TOptionsApplier::Apply(const TVLROptions& o, const TVLROptions* previous) {
    // The tree keeps the record too: the fonts of rich and plain notes and
    // SaveCursor take effect with the next note shown.
    m_tree.ApplyOptions(o);
    if (TMyRichEdit* editor = m_tree.Editor()) {
        editor->SetWordWrap(o.EditorWordWrap);
        editor->SetWordSelection(o.EditorWordSel);
        editor->SetAutoURLDetect(o.EditorAutoURL);
    }
    m_host.SetTreeAsPanel(o.TreeAsPanel);
    m_host.SetNotesListLook(TreeFont(o), o.DefEditorBack);
    m_host.SetTrayIcon(o.MinimizeToTray);
    if (hotKeyNeedsSetup(o, previous))
        m_host.SetHotKey(o.EnableHotKey, o.ActivateHotKey, o.PlusWin);
}

} // namespace vlr
