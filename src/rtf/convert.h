#pragma once
// The extension library's text conversions of note bodies.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vlr::rtf {

// RTF (or a plain-text body) to plain text.
// mode 0 (search): one character per editor position, exactly rtfToPlainText:
//   paragraph ends, line breaks and table cell boundaries are '\n', each
//   picture or object is U+FFFC, so match positions select the right text.
// mode 1 (text export): paragraph ends and line breaks are CR LF, table cells
//   are separated by tabs with CR LF after each row, pictures and objects are
//   left out.
QString convertData2(QByteArrayView rtf, int mode);

struct ConvertDataOptions {
    QString folder, fileName, title, generator, fontName;
    int fontSize = 0;
    bool pictures = false, tabsAsNbsp = false, useBackground = false;
    quint32 backgroundColor = 0;
};

// RTF (or a plain-text body) to a complete HTML document in UTF-8. With
// `pictures` set, pictures are written as image files into `folder`, named
// after `fileName`, and referenced from the page.
QByteArray convertData(QByteArrayView rtfOrPlain, const ConvertDataOptions& options);

} // namespace vlr::rtf
