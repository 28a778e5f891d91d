#pragma once
// Note bodies (RTF or plain text) to the plain text a search matches, one
// character per editor position. Conversion is the slow part of a search, so
// bodies are converted in batches on worker threads while the interface
// thread reads and matches.
#include <QByteArray>
#include <QFuture>
#include <QString>

#include <optional>
#include <vector>

namespace vlr {

// The text of one body; none when it could not be converted.
std::optional<QString> ConvertNoteBody(QByteArrayView body);

// Results in the order of the bodies.
using TConvertedTexts = std::vector<std::optional<QString>>;

// Converts the bodies on the global thread pool. The task owns its copies
// of the bodies and touches nothing else, so the caller may go away.
QFuture<TConvertedTexts> ConvertNoteBodiesAsync(std::vector<QByteArray> bodies);

} // namespace vlr
