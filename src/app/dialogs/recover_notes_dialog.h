#pragma once
// "Восстановить удалённые записи": the notebook's deleted notes as a list of
// check boxes; the ticked ones are brought back by the caller.
#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vlr {

class TNodeRoot;
class TNodeData;

class TfrmRecoverNotes final : public QDialog {
    Q_OBJECT
public:
    TfrmRecoverNotes(QWidget* parent, const TNodeRoot& notebook);

    // The ticked notes, top to bottom.
    QList<TNodeData*> chosen() const;

    QListWidget* list() const { return m_list; }
    QLabel* emptyLabel() const { return m_empty; }
    QPushButton* recoverButton() const { return m_recover; }
    QPushButton* helpButton() const { return m_help; }

private:
    QList<TNodeData*> m_notes;
    QListWidget* m_list;
    QLabel* m_empty;
    QPushButton* m_recover;
    QPushButton* m_help;
};

// Shows the dialog over the notebook's deleted notes; the ticked ones, or
// nothing when cancelled.
QList<TNodeData*> ChooseNotesToRecoverDialog(QWidget* parent, const TNodeRoot& notebook);

} // namespace vlr
