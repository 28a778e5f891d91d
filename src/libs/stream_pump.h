#pragma once
// Drives a zlib- or libbz2-style stream (next_in/avail_in, next_out/
// avail_out) over a caller's buffer: feeds input in slices the stream's
// 32-bit counters can hold, hands every produced chunk to the caller's
// append callback, bounds the output and stops when the stream makes no
// progress. Shared by both companion libraries.
#include "libs/companion_abi.h"

#include <algorithm>
#include <cstddef>

namespace vlr::companion {

enum class Step { More, End, Fail };

template <typename Stream, typename StepFn>
bool pumpStream(Stream& s, const void* src, size_t srcLen, VlrAppendBytes append, void* sink, size_t maxOut,
                StepFn step) {
    constexpr size_t kMaxSlice = size_t(1) << 30;
    unsigned char out[64 * 1024];
    auto* next = static_cast<const unsigned char*>(src);
    size_t left = srcLen;
    size_t total = 0;
    for (;;) {
        if (s.avail_in == 0 && left != 0) {
            const size_t slice = std::min(left, kMaxSlice);
            s.next_in = reinterpret_cast<decltype(s.next_in)>(const_cast<unsigned char*>(next));
            s.avail_in = static_cast<decltype(s.avail_in)>(slice);
            next += slice;
            left -= slice;
        }
        const size_t inBefore = s.avail_in;
        s.next_out = reinterpret_cast<decltype(s.next_out)>(out);
        s.avail_out = sizeof out;
        // The step is told when the last input has been handed over.
        const Step result = step(s, left == 0);
        const size_t produced = sizeof out - s.avail_out;
        if (produced > maxOut - total)
            return false;
        if (produced != 0 && !append(sink, out, produced))
            return false;
        total += produced;
        if (result != Step::More)
            return result == Step::End;
        // Nothing taken, nothing given and nothing more to give: the input
        // ends before the stream does.
        if (produced == 0 && s.avail_in == inBefore && left == 0)
            return false;
    }
}

} // namespace vlr::companion
