#pragma once
// A QTextDocument as an HTML page: every character of the text escaped,
// links only with harmless schemes.
#include "rtf/convert.h"

#include <QByteArray>

class QTextDocument;

namespace vlr::rtf {

QByteArray documentToHtml(const QTextDocument* doc, const ConvertDataOptions& options);

// Whether a link target may be written as a live link (no script schemes).
bool safeLinkTarget(const QString& target);

} // namespace vlr::rtf
