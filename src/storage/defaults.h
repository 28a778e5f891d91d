#pragma once
// What a new notebook and a new note start with. The program fills these from
// its options; the values here are the options' own defaults.
#include <QString>
#include <cstdint>

namespace vlr {

struct NewNotebookDefaults {
    QString name = QStringLiteral("Новая книжка");
    int32_t reserveSize = 5000;
    int16_t rootImageIndex = 1;
    int32_t rootFontColor = int32_t(0x80000008);
    int32_t rootFontStyle = 1;
    int32_t rootBackColor = 0;
    QString author, company, comments;
    int32_t marginTop = 2000, marginLeft = 2500, marginRight = 2000, marginBottom = 2000;
    int32_t autoSaveMinutes = 10;
    bool autoSaveEnabled = true;
    int32_t defNodeImageIndex = 0;
    bool compress = false;
};

struct NewNoteDefaults {
    QString name = QStringLiteral("Новая запись");
    int32_t fontColor = int32_t(0x80000008);
    int32_t fontStyle = 0;
    int32_t editorColor = 0xE1FFFF;
    int32_t backColor = 0;
    QString headerFormat = QStringLiteral("$NB - $N");
    QString footerFormat = QStringLiteral("$P / $TP");
    QString fhFontName = QStringLiteral("Times New Roman");
    int32_t fhFontSize = 12, fhFontStyle = 0, fhFontCharset = 1, fhFontColor = 0;
    int marginLines = 3, headerAlign = 0, footerAlign = 2;
};

// The body of a new rich-text note: the empty document and one zero byte.
inline QByteArray emptyDocumentBody() {
    return QByteArray("{\\rtf1\\ansi\\deff0}", 18) + '\0';
}

// Print options packed as the note record keeps them.
inline uint32_t packPrintFlags(int marginLines, int headerAlign, int footerAlign) {
    uint32_t flags = uint32_t(marginLines) & 0x0F;
    if (headerAlign == 1)
        flags |= 0x10;
    else if (headerAlign == 2)
        flags |= 0x20;
    if (footerAlign == 1)
        flags |= 0x40;
    else if (footerAlign == 2)
        flags |= 0x80;
    return flags;
}

} // namespace vlr
