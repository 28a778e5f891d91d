// BZC/BZD: one standard bzip2 stream, driven through libbz2's streaming
// interface so that neither side needs to know the other's size in advance.
#include "libs/engine/engine_abi.h"
#include "libs/stream_pump.h"

#include <bzlib.h>

#include <cstdint>

using vlr::companion::pumpStream;
using vlr::companion::Step;

namespace {

// The smallest block that holds the whole input: a larger one compresses no
// better and makes both sides allocate megabytes for a one-kilobyte note.
int blockSizeFor(size_t length) {
    const size_t blocks = (length + 99999) / 100000;
    return blocks < 1 ? 1 : (blocks > 9 ? 9 : int(blocks));
}

} // namespace

extern "C" int BZC(const void* src, size_t srcLen, VlrAppendBytes append, void* sink) {
    if (!append || (!src && srcLen != 0))
        return 0;
    bz_stream s{};
    if (BZ2_bzCompressInit(&s, blockSizeFor(srcLen), 0, 0) != BZ_OK)
        return 0;
    const bool ok = pumpStream(s, src, srcLen, append, sink, SIZE_MAX, [](bz_stream& z, bool lastInput) {
        switch (BZ2_bzCompress(&z, lastInput ? BZ_FINISH : BZ_RUN)) {
        case BZ_STREAM_END:
            return Step::End;
        case BZ_RUN_OK:
        case BZ_FINISH_OK:
            return Step::More;
        default:
            return Step::Fail;
        }
    });
    BZ2_bzCompressEnd(&s);
    return ok ? 1 : 0;
}

extern "C" int BZD(const void* src, size_t srcLen, VlrAppendBytes append, void* sink, size_t maxOut) {
    if (!append || !src || srcLen == 0)
        return 0;
    bz_stream s{};
    if (BZ2_bzDecompressInit(&s, 0, 0) != BZ_OK)
        return 0;
    const bool ok = pumpStream(s, src, srcLen, append, sink, maxOut, [](bz_stream& z, bool) {
        switch (BZ2_bzDecompress(&z)) {
        case BZ_STREAM_END:
            return Step::End;
        case BZ_OK:
            return Step::More;
        default: // corrupt data, bad magic, out of memory
            return Step::Fail;
        }
    });
    BZ2_bzDecompressEnd(&s);
    return ok ? 1 : 0;
}
