#pragma once
// "Восстановить удалённые записи": the notebook's deleted notes as a list of
// check boxes; the ticked ones are brought back by the caller.
#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vlr {

class TNodeData;
class TNotebookBinding;

class TfrmRecoverNotes final : public QDialog {
    Q_OBJECT
public:
    // target: the notebook whose deleted notes are listed; once it is lost,
    // the dialog ends as cancelled.
    TfrmRecoverNotes(QWidget* parent, const TNotebookBinding& target);

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
// nothing when cancelled or the notebook was lost meanwhile.
QList<TNodeData*> ChooseNotesToRecoverDialog(QWidget* parent, const TNotebookBinding& target);

} // namespace vlr
