#pragma once
// One instance per user: the first start becomes the running instance, every
// later start brings it to the front, hands it the notebooks named on its
// command line and ends.
#include "app/startup/command_line.h"
#include "app/startup/instance_server.h"

#include <memory>

namespace vlr {

enum class TInstanceRole {
    First,      // this process is the running instance; it holds the server
    Second,     // another instance took over; the process ends with 0
    Standalone, // no instance socket could be had; run without one
};

struct TInstanceStart {
    TInstanceRole role = TInstanceRole::Standalone;
    std::unique_ptr<TInstanceServer> server; // for First
};

// Needs the Qt application object. Tries to become the server; when another
// instance already answers under the name, sends it the activate request
// and, when there are arguments, forwards the names of the second-instance
// rule, then reports Second. A name held by a process that does not answer
// (one that is just starting or just ended) is tried again a few times.
[[nodiscard]] TInstanceStart startInstance(const TCommandLine& commandLine,
                                           const QString& name = instanceServerName());

} // namespace vlr
