#pragma once
// UTF-16 text in and out of the extension library's C entry points.
#include "libs/companion_abi.h"

#include <QString>
#include <QStringView>

namespace vlr::ext {

inline QString fromUtf16(const char16_t* text, size_t count) {
    if (!text || count == 0)
        return {};
    return QString(reinterpret_cast<const QChar*>(text), qsizetype(count));
}

// Hands text to the caller's sink; true when taken (or nothing to send).
inline bool sendText(VlrAppendText out, void* sink, QStringView text) {
    if (!out)
        return false;
    if (text.isEmpty())
        return true;
    return out(sink, text.utf16(), size_t(text.size())) != 0;
}

} // namespace vlr::ext
