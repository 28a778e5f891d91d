#pragma once
// The per-user base folders of the XDG base directory rules, read from the
// environment on every call (so tests can point them at temporary folders).
#include <QString>

namespace vlr {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; no trailing "/".
QString xdgConfigHome();
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
QString xdgDataHome();

} // namespace vlr
