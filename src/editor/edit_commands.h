#pragma once
// The editor's undo, clipboard and zoom commands and its change tracking:
// a change of the bound note marks it and its notebook modified, and the
// undo and redo commands name the action they would take back.
#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

namespace vlr {

class TFormatHost;
class TMyRichEdit;

class TEditCommands : public QObject {
    Q_OBJECT
public:
    TEditCommands(TMyRichEdit& editor, TFormatHost& host, QObject* parent = nullptr);

    QAction* EditUndo;
    QAction* EditRedo;
    QAction* EditCut;
    QAction* EditCopy;
    QAction* EditPaste;
    QAction* EditPasteText;
    QAction* EditPasteSpecial;
    // The zoom presets and "Другой..." (its percentage is the last one asked).
    QMenu* ZoomMenu;
    QAction* ZoomOther;

    // EditorChange: marks the bound note modified and renames undo and redo.
    void EditorChange();
    void UpdateUndo();
    // Whether the shown note may take a paste at all (a note that may be
    // changed is selected); the paste commands then follow the clipboard.
    void SetPasteAllowed(bool allowed);
    void UpdatePaste();

    // Sets the editor's zoom, keeps it in the note, checks the preset.
    void ApplyZoom(int percent);
    // After binding a note: the preset matching the editor's zoom is checked.
    void ReflectZoom();

signals:
    void zoomChanged(int percent);
    // After undo and redo the caret's formatting is to be reflected.
    void reflectRequested();

private:
    void sendToFocused(const char* method);

    TMyRichEdit& m_editor;
    TFormatHost& m_host;
    QActionGroup* m_zoomGroup;
    bool m_pasteAllowed = true;
};

} // namespace vlr
