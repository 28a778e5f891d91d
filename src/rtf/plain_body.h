#pragma once
// Plain-text note bodies: Windows-1251, or UTF-8 after a byte-order mark.
#include <QByteArrayView>
#include <QString>

namespace vlr::rtf {

// The body's text with line ends as '\n' (CR LF and lone CR included).
QString plainBodyText(QByteArrayView body);

} // namespace vlr::rtf
