// BZC/BZD: one standard bzip2 stream, driven through libbz2's streaming
// interface so that neither side needs to know the other's size in advance.
#include "libs/engine/engine_abi.h"

#include <bzlib.h>

#include <algorithm>
#include <climits>

namespace {

constexpr int kBlockSize100k = 9;
constexpr size_t kChunk = 64 * 1024;
// bz_stream counts in unsigned int; larger inputs are fed in slices.
constexpr size_t kMaxSlice = size_t(1) << 30;

struct Input {
    const char* next;
    size_t left;

    void feed(bz_stream& s) {
        if (s.avail_in != 0 || left == 0)
            return;
        const size_t slice = std::min(left, kMaxSlice);
        s.next_in = const_cast<char*>(next);
        s.avail_in = static_cast<unsigned>(slice);
        next += slice;
        left -= slice;
    }
};

} // namespace

extern "C" int BZC(const void* src, size_t srcLen, VlrAppendBytes append, void* sink) {
    if (!append || (!src && srcLen != 0))
        return 0;
    bz_stream s{};
    if (BZ2_bzCompressInit(&s, kBlockSize100k, 0, 0) != BZ_OK)
        return 0;
    Input in{static_cast<const char*>(src), srcLen};
    char out[kChunk];
    bool ok = true;
    for (;;) {
        in.feed(s);
        // Once the last slice is handed over, finishing consumes all of it.
        const int action = in.left == 0 ? BZ_FINISH : BZ_RUN;
        s.next_out = out;
        s.avail_out = sizeof out;
        const int rc = BZ2_bzCompress(&s, action);
        const size_t produced = sizeof out - s.avail_out;
        if (produced != 0 && !append(sink, out, produced)) {
            ok = false;
            break;
        }
        if (rc == BZ_STREAM_END)
            break;
        if (rc != BZ_RUN_OK && rc != BZ_FINISH_OK) {
            ok = false;
            break;
        }
    }
    BZ2_bzCompressEnd(&s);
    return ok ? 1 : 0;
}

extern "C" int BZD(const void* src, size_t srcLen, VlrAppendBytes append, void* sink, size_t maxOut) {
    if (!append || !src || srcLen == 0)
        return 0;
    bz_stream s{};
    if (BZ2_bzDecompressInit(&s, 0, 0) != BZ_OK)
        return 0;
    Input in{static_cast<const char*>(src), srcLen};
    char out[kChunk];
    size_t total = 0;
    bool ok = false;
    for (;;) {
        in.feed(s);
        s.next_out = out;
        s.avail_out = sizeof out;
        const int rc = BZ2_bzDecompress(&s);
        const size_t produced = sizeof out - s.avail_out;
        if (produced > maxOut - total)
            break;
        if (produced != 0 && !append(sink, out, produced))
            break;
        total += produced;
        if (rc == BZ_STREAM_END) {
            ok = true;
            break;
        }
        if (rc != BZ_OK)
            break; // corrupt data, bad magic, out of memory
        // All input used, nothing more coming out: the stream is cut short.
        if (produced == 0 && s.avail_in == 0 && in.left == 0)
            break;
    }
    BZ2_bzDecompressEnd(&s);
    return ok ? 1 : 0;
}
