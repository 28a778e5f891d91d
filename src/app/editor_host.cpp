#include "app/editor_host.h"

#include "config/options.h"
#include "storage/notebook_service.h"
#include "tree/MyTreeView.h"
#include "tree/node_visual.h"

#include <QApplication>

namespace vlr {

TEditorHost::TEditorHost(TMyTreeView& tree, TNotebookService& service, TVLROptions& options,
                         std::function<void()> stateChanged)
    : m_tree(tree), m_service(service), m_options(options), m_stateChanged(std::move(stateChanged)) {}

bool TEditorHost::TreeHasFocus() const {
    return m_tree.hasFocus();
}

bool TEditorHost::NodeSelected() const {
    return TNotebookService::NotebookOf(m_tree.Selected()) != nullptr;
}

bool TEditorHost::NoteSelected() const {
    TTreeNode* node = m_tree.Selected();
    return node && node->Note();
}

int TEditorHost::TitleStyle() const {
    TTreeNode* node = m_tree.Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return 0;
    return vlr::TitleStyle(node->Note() ? node->Note()->Record.FontStyle() : nb->Header.RootFontStyle());
}

quint32 TEditorHost::TitleColor() const {
    TTreeNode* node = m_tree.Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return 0;
    return quint32(node->Note() ? node->Note()->Record.FontColor() : nb->Header.RootFontColor());
}

quint32 TEditorHost::TitleBackColor() const {
    TTreeNode* node = m_tree.Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return 0;
    return quint32(node->Note() ? node->Note()->Record.BackColor() : nb->Header.RootBackColor());
}

void TEditorHost::ToggleTitleStyle(int bit) {
    if (m_tree.ToggleTitleStyle(bit) && m_stateChanged)
        m_stateChanged();
}

void TEditorHost::SetTitleColor(quint32 color) {
    if (m_tree.SetTitleColor(color) && m_stateChanged)
        m_stateChanged();
}

void TEditorHost::SetTitleBackColor(quint32 color) {
    TTreeNode* node = m_tree.Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return;
    // Black is stored as its own code: 0 means "no colour of its own".
    const qint32 stored = color == 0 ? 0x1FFFFFFF : qint32(color);
    if (TNodeData* note = node->Note())
        note->Record.setBackColor(stored);
    else
        nb->Header.setRootBackColor(stored);
    nb->MarkChanged();
    m_service.Forest().Changed(node);
    if (m_stateChanged)
        m_stateChanged();
}

bool TEditorHost::Loading() const {
    return m_tree.Busy();
}

void TEditorHost::MarkModified(bool notebook, bool note) {
    TTreeNode* node = m_tree.Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb)
        return;
    nb->Modified = notebook;
    nb->TreeDirty = true;
    if (note && node->Note())
        node->Note()->Clean = false;
    if (m_stateChanged)
        m_stateChanged();
}

QByteArray TEditorHost::StoredBody() const {
    TTreeNode* node = m_tree.Selected();
    return node && node->Note() && node->Note()->Loaded ? node->Note()->Body : QByteArray();
}

void TEditorHost::StoreBoundNote(bool store) {
    TTreeNode* node = m_tree.Selected();
    if (node && node->Note())
        m_tree.SaveNodeRTF(node, store);
}

void TEditorHost::StoreZoom(int percent) {
    TTreeNode* node = m_tree.Selected();
    TNodeRoot* nb = TNotebookService::NotebookOf(node);
    if (!nb || !node->Note())
        return;
    if (node->Note()->Record.Zoom() == percent)
        return;
    node->Note()->Record.setZoom(percent);
    // How the note is looked at: kept with the notebook, but no change of it.
    nb->ViewDirty = true;
}

bool TEditorHost::MayFollowMouse() const {
    // A title being edited has its line edit inside the tree.
    const QWidget* focus = QApplication::focusWidget();
    const bool editingTitle = focus && focus != &m_tree && m_tree.isAncestorOf(focus);
    return m_options.EditorAutoFocus && !editingTitle;
}

bool TEditorHost::CatchUrls() const {
    return m_options.ColCatchUrl;
}

void TEditorHost::SetCatchUrls(bool on) {
    m_options.ColCatchUrl = on;
}

} // namespace vlr
