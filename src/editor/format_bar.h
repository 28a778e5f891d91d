#pragma once
// The note editor's commands put together: the formatting, edit and zoom
// controllers, the colour menus and the font boxes, the format toolbar and
// the format menu, all following the editor's change and selection signals.
// The window adds the toolbar and menus and connects the signals below to
// its status bar and command lists.
#include <QObject>

class QMenu;
class QToolBar;
class QWidget;

namespace vlr {

class TColorMenus;
class TEditCommands;
class TFontBoxes;
class TFormatCommands;
class TFormatHost;
class TMyRichEdit;
struct TVLROptions;

class TFormatBar : public QObject {
    Q_OBJECT
public:
    TFormatBar(TMyRichEdit& editor, TFormatHost& host, const TVLROptions& options, QWidget* window);

    TFormatCommands& Format() { return *m_format; }
    TEditCommands& Edit() { return *m_edit; }
    TColorMenus& Colors() { return *m_colors; }
    TFontBoxes& Fonts() { return *m_fonts; }
    QToolBar* tbFormat;
    QMenu* FormatMenu; // "Формат"

    // EditorSelectionChange: checks, boxes, caret.
    void EditorSelectionChange();
    // At start-up and after the options dialog.
    void ApplyOptions();
    // The tree took the focus: Bold, Italic and Underline show its title style.
    void TreeFocused();
    // A note was bound (or none): undo, paste and zoom follow it.
    void NoteBound(bool noteSelected);

signals:
    // Status panel 0: one-based line and column of the selection's end.
    void caretMoved(int line, int column);
    // Status panel 3.
    void zoomChanged(int percent);
    // The selection-dependent command list: enabled when text is selected.
    void selectionGroupChanged(bool hasSelection);

private:
    TMyRichEdit& m_editor;
    TFormatHost& m_host;
    const TVLROptions& m_options;
    TFormatCommands* m_format;
    TEditCommands* m_edit;
    TColorMenus* m_colors;
    TFontBoxes* m_fonts;
};

} // namespace vlr
