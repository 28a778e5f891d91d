// An extension library that lacks one export (chosen at build time), for the
// loader's availability rule. Its entry points only answer "failed".
#include "libs/ext/ext_abi.h"

extern "C" {

int RE_Init(const char16_t*, size_t, const char16_t*, size_t, int*, VlrAppendText, void*) {
    return 0;
}
int RE_Exec(const char16_t*, size_t, int*, int*, int*) {
    return 0;
}
void RE_Done(void) {}
int RE_Quote(const char16_t*, size_t, VlrAppendText, void*) {
    return 0;
}
int RE_Replace(const char16_t*, size_t, const char16_t*, size_t, const char16_t*, size_t, VlrAppendText,
               void*) {
    return 0;
}
#ifndef VLR_LEAVE_OUT_RE_CheckText
int RE_CheckText(const char16_t*, size_t, const char16_t*, size_t) {
    return 1;
}
#endif
const VlrBitmap* LoadPictureFromFile2(const char16_t*, size_t) {
    return nullptr;
}
void FreeThis(void) {}
int GetFormulaValue(const char16_t*, size_t, char16_t, char16_t, double*, VlrAppendText, void*) {
    return 0;
}
#ifndef VLR_LEAVE_OUT_PackProc
int PackProc(const void*, size_t, VlrAppendBytes, void*, int, size_t) {
    return 0;
}
#endif
int ConvertData2(const void*, size_t, VlrAppendText, void*, int) {
    return 0;
}
int ConvertData(const void*, size_t, VlrAppendBytes, void*, const VlrConvertOptions*) {
    return 0;
}
}
