#pragma once
// Entry points of libVellinor.so: bzip2 streams, Blowfish in CBC mode over a
// caller-owned context, and the hex digits of a byte.
#include "libs/companion_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

// Size of the caller-owned cipher context, in bytes.
#define VLR_BF_CONTEXT_SIZE 4184

// Compresses src into one bzip2 stream, handed to `append` in pieces.
// Non-zero on success.
VLR_COMPANION_EXPORT int BZC(const void* src, size_t srcLen, VlrAppendBytes append, void* sink);

// Expands the one bzip2 stream at the start of src (bytes behind it are not
// read). Zero when the data is not a complete valid stream or when the output
// would pass maxOut bytes.
VLR_COMPANION_EXPORT int BZD(const void* src, size_t srcLen, VlrAppendBytes append, void* sink,
                             size_t maxOut);

// Prepares ctx (VLR_BF_CONTEXT_SIZE bytes, 8-byte aligned) for one run with
// a key of 8 to 56 bytes and an 8-byte initial vector. Zero on a key length
// out of range (ctx is zeroed then).
VLR_COMPANION_EXPORT int BFInit(void* ctx, const unsigned char* key, int keyLength, const unsigned char* iv);
// One 8-byte block in CBC order; in and out may be the same place.
VLR_COMPANION_EXPORT void BFEnc(void* ctx, const unsigned char* in, unsigned char* out);
VLR_COMPANION_EXPORT void BFDec(void* ctx, const unsigned char* in, unsigned char* out);
// Ends a run: the chaining vector returns to the initial vector.
VLR_COMPANION_EXPORT void BFReset(void* ctx);
// Wipes the whole context.
VLR_COMPANION_EXPORT void BFBurn(void* ctx);

// Writes b as two upper-case hexadecimal digits.
VLR_COMPANION_EXPORT void ByteToHex(unsigned char b, char* high, char* low);

#ifdef __cplusplus
}
#endif
