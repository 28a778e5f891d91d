#pragma once
// What the editor's commands ask of the window around them: which node the
// tree has selected and whether it has the focus (the title-style and
// title-colour rule), marking notebooks modified, the bound note's stored
// body, and the dialogs they open. The dialogs have Qt defaults; tests
// answer them instead.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace vlr {

class TFormatHost {
public:
    virtual ~TFormatHost() = default;

    // ---- The tree
    virtual bool TreeHasFocus() const = 0;
    virtual bool NodeSelected() const = 0; // a note or a notebook root
    virtual bool NoteSelected() const = 0; // a note, not a root
    virtual bool RootSelected() const { return NodeSelected() && !NoteSelected(); }
    // The selected node's title style bits, title colour and tree background.
    virtual int TitleStyle() const = 0;
    virtual quint32 TitleColor() const = 0;
    virtual quint32 TitleBackColor() const = 0;
    // Each repaints the tree and marks only the notebook modified.
    virtual void ToggleTitleStyle(int bit) = 0;
    virtual void SetTitleColor(quint32 color) = 0;
    virtual void SetTitleBackColor(quint32 color) = 0;

    // ---- The bound note
    // A note is being put into the editor: its changes mark nothing.
    virtual bool Loading() const = 0;
    // "Изменена" in the status bar, the notebook's Modified := notebook and
    // its TreeDirty; with note set and a note selected, the note is to be stored.
    virtual void MarkModified(bool notebook, bool note) = 0;
    // The selected note's stored body (empty when none).
    virtual QByteArray StoredBody() const = 0;
    // Takes the editor's state into the bound note; with store, its body too.
    virtual void StoreBoundNote(bool store) = 0;
    // The selected note keeps the zoom; its notebook's tree is to be saved.
    virtual void StoreZoom(int percent) = 0;
    // No title is being edited in the tree, no find or spelling dialog is open
    // and the text collector does not have the focus.
    virtual bool MayFollowMouse() const { return true; }
    // The text collector's URL catching, off while a cut or copy of another
    // control runs.
    virtual bool CatchUrls() const { return false; }
    virtual void SetCatchUrls(bool) {}

    // ---- Dialogs (Qt's by default)
    virtual std::optional<QFont> ChooseFont(const QFont& initial, QWidget* parent);
    // Full dialog; text colours may take any colour.
    virtual std::optional<QColor> ChooseColor(const QColor& initial, bool text, QWidget* parent);
    // A number-input dialog: title, prompt, spin field with initial value and range.
    virtual std::optional<int> AskNumber(const QString& title, const QString& prompt, int value, int min,
                                         int max, QWidget* parent);
};

} // namespace vlr
