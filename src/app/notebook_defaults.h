#pragma once
// What new notebooks and notes start with, taken from the program options.
#include "config/options.h"
#include "storage/defaults.h"

namespace vlr {

NewNotebookDefaults newNotebookDefaults(const TVLROptions& options);
NewNoteDefaults newNoteDefaults(const TVLROptions& options);

} // namespace vlr
