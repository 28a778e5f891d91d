#include "rtf/code_pages.h"

#include "core/codepage.h"

#include <QHash>
#include <QMutex>
#include <array>
#include <memory>

namespace vlr::rtf {

int codePageOfCharset(int charset, int ansiCodePage) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: their bytes shown as Latin-1 letters
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return ansiCodePage;
    }
}

namespace {

using Table = std::array<char16_t, 256>;

// nullptr for multi-byte pages. Tables live for the process.
const char16_t* tableFor(int codePage) {
    static QMutex mutex;
    static QHash<int, std::shared_ptr<Table>> tables;
    QMutexLocker lock(&mutex);
    auto it = tables.find(codePage);
    if (it != tables.end())
        return it.value() ? it.value()->data() : nullptr;
    std::shared_ptr<Table> table;
    if (codePage != 932 && codePage != 936 && codePage != 949 && codePage != 950 && codePage != 65001) {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString decoded = decodeCodePage(codePage, all);
        if (decoded.size() == 256) {
            table = std::make_shared<Table>();
            for (int i = 0; i < 256; ++i)
                (*table)[i] = safeTextChar(decoded.at(i).unicode());
        }
    }
    tables.insert(codePage, table);
    return table ? table->data() : nullptr;
}

} // namespace

// Unknown code page numbers read as Windows-1252, and share its table.
CodePageDecoder::CodePageDecoder(int codePage)
    : codePage_(codePageKnown(codePage) ? codePage : 1252), table_(tableFor(codePage_)) {}

bool endsWithLeadByte(QByteArrayView bytes, int codePage) {
    if (codePage != 932 && codePage != 936 && codePage != 949 && codePage != 950)
        return false;
    const auto lead = [codePage](uchar b) {
        if (codePage == 932)
            return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        return b >= 0x81 && b <= 0xFE;
    };
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n)
        i += lead(uchar(bytes[i])) ? 2 : 1;
    return i > n;
}

void CodePageDecoder::appendDecoded(QString& out, QByteArrayView bytes) const {
    if (bytes.isEmpty())
        return;
    if (table_) {
        const qsizetype base = out.size();
        out.resize(base + bytes.size());
        QChar* dst = out.data() + base;
        const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            dst[i] = QChar(table_[src[i]]);
        return;
    }
    out += decodeCodePage(codePage_, bytes.toByteArray());
}

} // namespace vlr::rtf
