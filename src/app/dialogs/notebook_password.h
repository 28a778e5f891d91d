#pragma once
// The password question for a protected notebook when it is opened or used:
// three tries, through the password prompt and the message service.
#include <QString>

#include <functional>

namespace vlr {

class TNodeRoot;

// Tries one password on the notebook; true when it unlocked it.
using NotebookUnlock = std::function<bool(TNodeRoot& notebook, const QString& password)>;

// Unlock with the password and, on success, keep its digest for the later
// check of the old password.
bool UnlockWithPassword(TNodeRoot& notebook, const QString& password);

// True without asking while the main window is disabled (the notebook stays
// locked until it is used) or when the key is already held. Otherwise asks up
// to three times; false when the user cancels or all three passwords are
// wrong. A wrong password leaves the notebook locked with its master key
// zeroed and its key block untouched.
[[nodiscard]] bool AskNotebookPassword(TNodeRoot& notebook, bool windowEnabled,
                                       const NotebookUnlock& unlock = UnlockWithPassword);

} // namespace vlr
