#pragma once
// The paste-special dialog: the clipboard's formats the control can paste,
// in their fixed order, with what each would produce.
#include "editor/clipboard_formats.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace vlr {

class TMyCustomRichEdit;

class TPasteSpecialDialog final : public QDialog {
public:
    TPasteSpecialDialog(QWidget* parent, const QList<TPasteSpecialEntry>& entries);
    // The chosen entry's index, -1 when none.
    int chosen() const;

    // Shows the dialog for the clipboard and pastes the chosen format into
    // the control; false when cancelled or nothing could be pasted.
    static bool run(TMyCustomRichEdit* editor);

private:
    QListWidget* m_list;
    QLabel* m_result;
    QList<TPasteSpecialEntry> m_entries;
};

} // namespace vlr
