#include "storage/notebook_binding.h"

#include "core/messages.h"
#include "storage/node_data.h"
#include "storage/node_root.h"
#include "storage/notebook_service.h"

#include <QFileInfo>

namespace vlr {

namespace {
const QString kCancelled = QStringLiteral(", пока было открыто это окно. Действие отменено.");
} // namespace

QString NotebookClosedMessage(const QString& title) {
    return QStringLiteral("Книжка «%1» была закрыта").arg(title) + kCancelled;
}

QString NotebookLockedMessage(const QString& title) {
    return QStringLiteral("Книжка «%1» была заблокирована").arg(title) + kCancelled;
}

QString NoteDeletedMessage(const QString& note, const QString& title) {
    return QStringLiteral("Запись «%1» книжки «%2» была удалена").arg(note, title) + kCancelled;
}

QString NoteMovedMessage(const QString& note, const QString& title) {
    return QStringLiteral("Запись «%1» была перенесена из книжки «%2» в другую").arg(note, title) +
           kCancelled;
}

TNotebookBinding::TNotebookBinding(TNotebookService& service, TNodeRoot& notebook, QObject* parent)
    : QObject(parent), m_service(service), m_notebook(&notebook), m_node(notebook.RootNode) {
    watch();
}

TNotebookBinding::TNotebookBinding(TNotebookService& service, TTreeNode* node, QObject* parent)
    : QObject(parent), m_service(service), m_notebook(TNotebookService::NotebookOf(node)), m_node(node) {
    if (!m_notebook) {
        m_lost = true;
        m_reported = true; // nothing was ever held: nothing to tell
        return;
    }
    if (TNodeData* note = node->Note())
        m_noteName = note->Record.NoteName();
    watch();
}

void TNotebookBinding::watch() {
    m_title = m_notebook->RootNode ? m_notebook->RootNode->Text() : QString();
    if (m_title.isEmpty())
        m_title = QFileInfo(m_notebook->FileName).fileName();
    connect(&m_service, &TNotebookService::notebookAboutToClose, this, [this](TNodeRoot* nb) {
        if (nb == m_notebook)
            lose(NotebookClosedMessage(m_title));
    });
    connect(&m_service, &TNotebookService::notebookLocked, this, [this](TNodeRoot* nb) {
        if (nb == m_notebook)
            lose(NotebookLockedMessage(m_title));
    });
    if (m_node == m_notebook->RootNode)
        return;
    connect(&m_service, &TNotebookService::noteAboutToBeDeleted, this, [this](TNodeData* note) {
        if (holds(note->TreeNode))
            lose(NoteDeletedMessage(m_noteName, m_title));
    });
    connect(&m_service, &TNotebookService::noteMovedAcross, this,
            [this](TNodeData* note, TNodeRoot* from, TNodeRoot*) {
                if (from == m_notebook && holds(note->TreeNode))
                    lose(NoteMovedMessage(m_noteName, m_title));
            });
}

TNodeData* TNotebookBinding::Note() const {
    return m_lost || !m_node ? nullptr : m_node->Note();
}

bool TNotebookBinding::holds(const TTreeNode* top) const {
    return !m_lost && top && m_node && (m_node == top || m_node->HasAsParent(top));
}

void TNotebookBinding::lose(const QString& message) {
    if (m_lost)
        return;
    m_lost = true;
    m_message = message;
    emit lost();
}

bool TNotebookBinding::ReportIfLost() {
    if (!m_lost)
        return false;
    if (!m_reported) {
        m_reported = true;
        showMessage(m_message, QStringLiteral("Внимание!"), MsgIcon::Warning);
    }
    return true;
}

} // namespace vlr
