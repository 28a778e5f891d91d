// PackProc: bodies of notebooks before version 5, one zlib stream each.
#include "libs/ext/ext_abi.h"
#include "libs/stream_pump.h"

#include <zlib.h>

#include <cstdint>

using vlr::companion::pumpStream;
using vlr::companion::Step;

namespace {

int pack(const void* src, size_t srcLen, VlrAppendBytes append, void* sink) {
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
        return 0;
    const bool ok = pumpStream(z, src, srcLen, append, sink, SIZE_MAX, [](z_stream& s, bool lastInput) {
        switch (deflate(&s, lastInput ? Z_FINISH : Z_NO_FLUSH)) {
        case Z_STREAM_END:
            return Step::End;
        case Z_OK:
        case Z_BUF_ERROR: // no progress possible this time; the pump judges
            return Step::More;
        default:
            return Step::Fail;
        }
    });
    deflateEnd(&z);
    return ok ? 1 : 0;
}

int unpack(const void* src, size_t srcLen, VlrAppendBytes append, void* sink, size_t maxOut) {
    if (srcLen == 0)
        return 0;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return 0;
    const bool ok = pumpStream(z, src, srcLen, append, sink, maxOut, [](z_stream& s, bool) {
        switch (inflate(&s, Z_NO_FLUSH)) {
        case Z_STREAM_END:
            return Step::End;
        case Z_OK:
        case Z_BUF_ERROR: // input exhausted; the pump sees whether more comes
            return Step::More;
        default: // bad header, corrupt data, wrong check value
            return Step::Fail;
        }
    });
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
