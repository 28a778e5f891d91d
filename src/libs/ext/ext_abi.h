#pragma once
// Entry points of libVlrExt.so: regular expressions, picture loading,
// formulas, the packing of old notebooks and the text and HTML conversions.
//
// Text crosses as UTF-16 code units with an explicit count, so every
// character survives and positions are the editor's character positions.
// Text results go to a caller-supplied VlrAppendText sink.
#include "libs/companion_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

// Compiles the pattern that RE_Exec uses until RE_Done or the next RE_Init.
// Modifier letters: i case-insensitive, s dot matches line breaks, m ^ and $
// at every line, r Russian ranges (а-я and А-Я take ё and Ё); a leading "-"
// makes the search case-sensitive whatever follows. Returns non-zero when
// compiled. On failure *errorPos (if given) is the 0-based offset of the
// fault in the pattern and the reason goes to `error` (if given).
VLR_COMPANION_EXPORT int RE_Init(const char16_t* pattern, size_t patternLen, const char16_t* modifiers,
                                 size_t modifiersLen, int* errorPos, VlrAppendText error, void* errorSink);
// Searches text with the compiled pattern. Non-zero when found; then *pos is
// the 1-based position of the first match, *length its length (both UTF-16
// units) and *rank the relevance described in extlib.h.
VLR_COMPANION_EXPORT int RE_Exec(const char16_t* text, size_t textLen, int* pos, int* length, int* rank);
VLR_COMPANION_EXPORT void RE_Done(void);
// Text with the pattern metacharacters \ ^ $ . | ? * + ( ) [ ] { } escaped;
// spaces and commas stay as they are.
VLR_COMPANION_EXPORT int RE_Quote(const char16_t* text, size_t textLen, VlrAppendText out, void* sink);
// Text with every match of pattern (modifiers "irsm") replaced by the
// replacement taken literally. Zero when the pattern does not compile.
VLR_COMPANION_EXPORT int RE_Replace(const char16_t* pattern, size_t patternLen, const char16_t* text,
                                    size_t textLen, const char16_t* replacement, size_t replacementLen,
                                    VlrAppendText out, void* sink);
// Non-zero when text contains a match of pattern (modifiers "irsm").
VLR_COMPANION_EXPORT int RE_CheckText(const char16_t* pattern, size_t patternLen, const char16_t* text,
                                      size_t textLen);

// A decoded picture, owned by the library until FreeThis.
struct VlrBitmap {
    int width;
    int height;
    int format;       // QImage::Format, never one with a colour table
    int bytesPerLine; // bytes of one scan line in `bits`
    const unsigned char* bits;
};
// Decodes a picture file (UTF-16 name). Null on failure.
VLR_COMPANION_EXPORT const struct VlrBitmap* LoadPictureFromFile2(const char16_t* fileName,
                                                                  size_t fileNameLen);
// Frees the picture of the last LoadPictureFromFile2.
VLR_COMPANION_EXPORT void FreeThis(void);

// Evaluates an expression with the given decimal and argument separators.
// Non-zero with *value set on success; zero with the reason sent to `error`
// (if given) when the expression is bad or its value is not finite.
VLR_COMPANION_EXPORT int GetFormulaValue(const char16_t* expression, size_t expressionLen,
                                         char16_t decimalSeparator, char16_t argumentSeparator, double* value,
                                         VlrAppendText error, void* errorSink);

// mode 1 packs src into one zlib stream (result: 1 when done, 0 on failure);
// mode 0 unpacks the zlib stream at the start of src (result: 1 when done, 0
// when the data is not a complete valid stream or the output would pass
// maxOut bytes). Any other mode fails.
VLR_COMPANION_EXPORT int PackProc(const void* src, size_t srcLen, VlrAppendBytes append, void* sink, int mode,
                                  size_t maxOut);

// RTF (or a plain-text body) to plain text as UTF-16 into `out`. mode 0 (from
// search): one character per editor position; mode 1 (from text export):
// CR LF line ends, pictures left out. Non-zero when written.
VLR_COMPANION_EXPORT int ConvertData2(const void* rtf, size_t rtfLen, VlrAppendText out, void* sink,
                                      int mode);

// Flags of VlrConvertOptions.
enum { VlrConvertPictures = 1, VlrConvertTabsAsNbsp = 2, VlrConvertUseBackground = 4 };

// Texts are UTF-16 with their counts.
struct VlrConvertOptions {
    const char16_t* folder;
    size_t folderLen;
    const char16_t* fileName;
    size_t fileNameLen;
    const char16_t* title;
    size_t titleLen;
    const char16_t* generator;
    size_t generatorLen;
    const char16_t* fontName;
    size_t fontNameLen;
    int fontSize;
    int flags;
    unsigned int backgroundColor;
};

// RTF or plain text to a complete HTML document (UTF-8) into `out`; with
// VlrConvertPictures the pictures are written as files into the folder.
// Non-zero when written.
VLR_COMPANION_EXPORT int ConvertData(const void* data, size_t dataLen, VlrAppendBytes out, void* sink,
                                     const struct VlrConvertOptions* options);

#ifdef __cplusplus
}
#endif
