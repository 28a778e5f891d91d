#pragma once
// Reads RTF tokens, keeps the group state stack and hands events to a sink.
// Groups are kept on an explicit stack, never by recursion, so nesting depth
// costs memory in proportion to the input and never the call stack.
#include "rtf/sink.h"
#include "rtf/state.h"

#include <QByteArrayView>
#include <QString>

namespace vlr::rtf {

// True when the bytes start (after white space) with "{\rtf".
bool looksLikeRtf(QByteArrayView data);

// Runs the whole input through the sink. Returns false (with a reason) when
// the input is not RTF; damaged RTF is read as far as it goes.
bool interpret(QByteArrayView rtf, Sink& sink, QString* error = nullptr);

} // namespace vlr::rtf
