#pragma once
// The selection change waits for the selection to settle; whatever the user
// does meanwhile (a key, typing, a shortcut, a click outside the tree, a
// drop) completes it first, so it acts on the note the user sees selected
// and not on the one the editor still holds.
#include <QObject>

#include <functional>

class QWidget;

namespace vlr {

class TPendingChangeGuard : public QObject {
    Q_OBJECT
public:
    // tree: input inside it (moving the selection, searching by typing) is
    // the selection's own and completes nothing. complete: runs the waiting
    // change; pending: whether one waits.
    TPendingChangeGuard(QWidget& tree, std::function<bool()> pending, std::function<void()> complete,
                        QObject* parent = nullptr);

    // Watches the whole application's input.
    void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool insideTree(const QObject* watched) const;

    QWidget& m_tree;
    std::function<bool()> m_pending;
    std::function<void()> m_complete;
};

} // namespace vlr
