#pragma once
// A dialog opened for one notebook closes as cancelled once its notebook
// closes or locks or its note goes, together with the dialogs it has open
// above it; whoever showed it then tells the user through the binding.
class QDialog;

namespace vlr {

class TNotebookBinding;

void CancelWhenLost(QDialog& dialog, const TNotebookBinding& binding);

} // namespace vlr
