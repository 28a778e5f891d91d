#pragma once
// The main window's side of the editor's commands: the notes tree decides
// whether formatting goes to a node's title, and the selected note keeps
// what the editor changes.
#include "editor/format_host.h"

#include <functional>

namespace vlr {

class TMyTreeView;
class TNotebookService;
struct TVLROptions;

class TEditorHost final : public TFormatHost {
public:
    // stateChanged: the notebook's modified state changed (status panel 1).
    TEditorHost(TMyTreeView& tree, TNotebookService& service, TVLROptions& options,
                std::function<void()> stateChanged);

    bool TreeHasFocus() const override;
    bool NodeSelected() const override;
    bool NoteSelected() const override;
    int TitleStyle() const override;
    quint32 TitleColor() const override;
    quint32 TitleBackColor() const override;
    void ToggleTitleStyle(int bit) override;
    void SetTitleColor(quint32 color) override;
    void SetTitleBackColor(quint32 color) override;
    bool Loading() const override;
    void MarkModified(bool notebook, bool note) override;
    QByteArray StoredBody() const override;
    void StoreBoundNote(bool store) override;
    void StoreZoom(int percent) override;
    bool MayFollowMouse() const override;
    bool CatchUrls() const override;
    void SetCatchUrls(bool on) override;

private:
    TMyTreeView& m_tree;
    TNotebookService& m_service;
    TVLROptions& m_options;
    std::function<void()> m_stateChanged;
};

} // namespace vlr
