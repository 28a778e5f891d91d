#pragma once
// What the program and its two companion libraries agree on at the C
// boundary: how results travel back and how entry points are exported.
// Only plain C types cross it, so either side can be rebuilt alone.
#include <stddef.h>

#if defined(__GNUC__)
#define VLR_COMPANION_EXPORT __attribute__((visibility("default")))
#else
#define VLR_COMPANION_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Appends `size` bytes to the caller's sink. Returns non-zero when they were
// taken, zero to make the library stop (out of memory, output bound reached);
// the library then fails the call. Must not throw.
typedef int (*VlrAppendBytes)(void* sink, const void* data, size_t size);

// Appends `count` UTF-16 code units to the caller's text sink; same contract.
typedef int (*VlrAppendText)(void* sink, const char16_t* text, size_t count);

#ifdef __cplusplus
}
#endif
