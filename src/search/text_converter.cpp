#include "search/text_converter.h"

#include "rtf/convert.h"

#include <QtConcurrent/QtConcurrentRun>

namespace vlr {

// The extension library's ConvertData2 is this same reader behind the C
// boundary. Worker threads call it in-process: the library's loader may be
// unloaded by the interface thread (low memory, minimising) at any moment.
std::optional<QString> ConvertNoteBody(QByteArrayView body) {
    try {
        QString text = rtf::convertData2(body, 0);
        // Texts may be kept for later searches: no spare capacity.
        text.squeeze();
        return text;
    } catch (...) {
        return std::nullopt;
    }
}

QFuture<TConvertedTexts> ConvertNoteBodiesAsync(std::vector<QByteArray> bodies) {
    return QtConcurrent::run([bodies = std::move(bodies)] {
        TConvertedTexts texts;
        texts.reserve(bodies.size());
        for (const QByteArray& body : bodies)
            texts.push_back(ConvertNoteBody(body));
        return texts;
    });
}

} // namespace vlr
