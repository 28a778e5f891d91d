#pragma once
// Options take effect in the running program the moment they are applied
// (at start-up and from the options dialog): the tree's font, colours, lines
// and buttons, the editor's word wrap, word selection and link detection,
// the notes list, the tree panel, the tray icon and the hot key. The parts
// the main window assembles are reached through the host below.
#include "config/options.h"

#include <QFont>
#include <QKeySequence>
#include <QObject>

namespace vlr {

class TMyCustomTreeView;
class TOptionsNotifier;

class OptionsApplierHost {
public:
    virtual ~OptionsApplierHost() = default;
    // The tree panel may float and shows its caption, or is docked at the left without one.
    virtual void SetTreeAsPanel(bool asPanel) = 0;
    // The notes list of the notebook page: the tree font and its background.
    virtual void SetNotesListLook(const QFont& font, quint32 background) = 0;
    // The notification-area icon is shown or removed.
    virtual void SetTrayIcon(bool shown) = 0;
    // Drops the program's hot key, then registers key (with the Meta key when
    // plusWin) when enable is set.
    virtual void SetHotKey(bool enable, const QKeySequence& key, bool plusWin) = 0;
};

class TOptionsApplier : public QObject {
    Q_OBJECT
public:
    // Follows the notifier from now on.
    TOptionsApplier(TOptionsNotifier& notifier, TMyCustomTreeView& tree, OptionsApplierHost& host,
                    QObject* parent = nullptr);

    // previous: the record in force until now; none at start-up.
    void Apply(const TVLROptions& options, const TVLROptions* previous);

private:
    TMyCustomTreeView& m_tree;
    OptionsApplierHost& m_host;
};

} // namespace vlr
