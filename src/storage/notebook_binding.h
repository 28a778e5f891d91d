#pragma once
// The notebook (and note) a dialog or command was opened for. While it waits
// for the user, another notebook may become current (a second start hands a
// file over, the user clicks another root) and timers may lock or close this
// one: the action works on what it holds here, never on "the current
// notebook", and gives up once its notebook is closed or locked, or its note
// is deleted or moved into another notebook.
#include <QObject>
#include <QString>

namespace vlr {

class TNodeData;
class TNodeRoot;
class TNotebookService;
class TTreeNode;

// Why an action gave up; the user is told with this text.
QString NotebookClosedMessage(const QString& title);
QString NotebookLockedMessage(const QString& title);
QString NoteDeletedMessage(const QString& note, const QString& title);
QString NoteMovedMessage(const QString& note, const QString& title);

class TNotebookBinding final : public QObject {
    Q_OBJECT
public:
    // The notebook as a whole.
    TNotebookBinding(TNotebookService& service, TNodeRoot& notebook, QObject* parent = nullptr);
    // A note or a root and the notebook it belongs to; a node of no notebook
    // is lost from the start.
    TNotebookBinding(TNotebookService& service, TTreeNode* node, QObject* parent = nullptr);

    TNotebookService& Service() const { return m_service; }
    // What is held; none once lost.
    TNodeRoot* Notebook() const { return m_lost ? nullptr : m_notebook; }
    TTreeNode* Node() const { return m_lost ? nullptr : m_node; }
    TNodeData* Note() const;
    bool IsLost() const { return m_lost; }
    // Why it was lost as the user reads it; empty while held.
    const QString& LostMessage() const { return m_message; }
    // Tells the user why, the first time only; true when lost.
    bool ReportIfLost();

signals:
    // Once, as the notebook closes or locks or the note goes.
    void lost();

private:
    void watch();
    // True for the held node and the nodes below it.
    bool holds(const TTreeNode* top) const;
    void lose(const QString& message);

    TNotebookService& m_service;
    TNodeRoot* m_notebook = nullptr;
    TTreeNode* m_node = nullptr;
    // Named as they were when bound: a lost notebook cannot be asked.
    QString m_title;
    QString m_noteName;
    bool m_lost = false;
    bool m_reported = false;
    QString m_message;
};

} // namespace vlr
