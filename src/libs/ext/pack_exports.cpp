// PackProc: bodies of notebooks before version 5, one zlib stream each.
#include "libs/ext/ext_abi.h"

#include <zlib.h>

#include <algorithm>

namespace {

constexpr size_t kChunk = 64 * 1024;
// z_stream counts in uInt; larger inputs are fed in slices.
constexpr size_t kMaxSlice = size_t(1) << 30;

struct Input {
    const unsigned char* next;
    size_t left;

    void feed(z_stream& z) {
        if (z.avail_in != 0 || left == 0)
            return;
        const size_t slice = std::min(left, kMaxSlice);
        z.next_in = const_cast<unsigned char*>(next);
        z.avail_in = static_cast<uInt>(slice);
        next += slice;
        left -= slice;
    }
};

int pack(const void* src, size_t srcLen, VlrAppendBytes append, void* sink) {
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
        return 0;
    Input in{static_cast<const unsigned char*>(src), srcLen};
    unsigned char out[kChunk];
    bool ok = true;
    for (;;) {
        in.feed(z);
        z.next_out = out;
        z.avail_out = sizeof out;
        const int rc = deflate(&z, in.left == 0 ? Z_FINISH : Z_NO_FLUSH);
        const size_t produced = sizeof out - z.avail_out;
        if (produced != 0 && !append(sink, out, produced)) {
            ok = false;
            break;
        }
        if (rc == Z_STREAM_END)
            break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            ok = false;
            break;
        }
    }
    deflateEnd(&z);
    return ok ? 1 : 0;
}

int unpack(const void* src, size_t srcLen, VlrAppendBytes append, void* sink, size_t maxOut) {
    if (srcLen == 0)
        return 0;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return 0;
    Input in{static_cast<const unsigned char*>(src), srcLen};
    unsigned char out[kChunk];
    size_t total = 0;
    bool ok = false;
    for (;;) {
        in.feed(z);
        z.next_out = out;
        z.avail_out = sizeof out;
        const int rc = inflate(&z, Z_NO_FLUSH);
        const size_t produced = sizeof out - z.avail_out;
        if (produced > maxOut - total)
            break;
        if (produced != 0 && !append(sink, out, produced))
            break;
        total += produced;
        if (rc == Z_STREAM_END) {
            ok = true;
            break;
        }
        // Z_BUF_ERROR with nothing left to give: the stream is cut short.
        if (rc != Z_OK && !(rc == Z_BUF_ERROR && (z.avail_in != 0 || in.left != 0)))
            break;
        if (produced == 0 && z.avail_in == 0 && in.left == 0)
            break;
    }
    inflateEnd(&z);
    return ok ? 1 : 0;
}

} // namespace

extern "C" int PackProc(const void* src, size_t srcLen, VlrAppendBytes append, void* sink, int mode,
                        size_t maxOut) {
    if (!append || (!src && srcLen != 0))
        return 0;
    switch (mode) {
    case 1:
        return pack(src, srcLen, append, sink);
    case 0:
        return unpack(src, srcLen, append, sink, maxOut);
    default:
        return 0;
    }
}
