#pragma once
// What the benchmarks measure with: note bodies like real ones, and medians.
#include <QByteArray>

#include <algorithm>
#include <vector>

namespace vlr::bench {

// A note body of about `bytes` bytes: Russian and Latin text in paragraphs
// with bold, italic, coloured and differently sized runs, as notes are.
inline QByteArray sampleNoteRtf(int bytes) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}"
        "{\\f1\\fmodern\\fcharset204 Courier New;}}{\\colortbl ;\\red200\\green0\\blue0;"
        "\\red0\\green0\\blue160;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    // "Съешь же ещё этих мягких французских булок" in Windows-1251 escapes.
    const QByteArray russian =
        "\\'d1\\'fa\\'e5\\'f8\\'fc \\'e6\\'e5 \\'e5\\'f9\\'b8 \\'fd\\'f2\\'e8\\'f5 "
        "\\'ec\\'ff\\'e3\\'ea\\'e8\\'f5 \\'f4\\'f0\\'e0\\'ed\\'f6\\'f3\\'e7\\'f1\\'ea\\'e8\\'f5 "
        "\\'e1\\'f3\\'eb\\'ee\\'ea ";
    int n = 0;
    while (rtf.size() < bytes) {
        rtf += "The quick brown fox jumps over the lazy dog " + QByteArray::number(n) + ". ";
        rtf += russian;
        rtf += "\\b bold words\\b0  and \\i italic ones\\i0 , \\cf1 red\\cf0  and \\cf2\\fs28 large "
               "blue\\cf0\\fs20  "
               "text; see www.example.com/page";
        rtf += QByteArray::number(n) + " ";
        rtf += russian;
        rtf += (n % 5 == 4) ? "\\par\\par " : "\\par ";
        ++n;
    }
    rtf += "}";
    return rtf;
}

inline double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace vlr::bench
