// Speed of the RTF code on a large mixed document: plain-text conversion,
// building the editor's document, writing it back.
//   rtf_bench --write-sample FILE [SIZE]   writes the sample (for comparisons)
//   rtf_bench [benchmark flags]
#include "rtf/rtf.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

// About `size` bytes of what notes hold: Cyrillic in \'hh, other scripts in
// \uN, character and paragraph formatting, links, tabs, lists, a table, pictures.
QByteArray sample(qsizetype size) {
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}"
        "{\\f1\\fmodern\\fcharset204 Courier New;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    int n = 0;
    while (out.size() < size) {
        ++n;
        out +=
            "\\pard\\fi-360\\li720\\sa120\\tx1440 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\b \\'ec\\'e8\\'f0\\b0  "
            "plain text with some words in it \\i italic\\i0 , \\ul underlined\\ulnone , \\cf1 red\\cf0 "
            "\\tab \\u945?\\u946?\\u947? {\\field{\\*\\fldinst{HYPERLINK \"http://example.com/";
        out += QByteArray::number(n);
        out += "\"}}{\\fldrslt{\\cf2\\ul link}}}\\cf0\\ulnone  and more \\'f2\\'e5\\'ea\\'f1\\'f2\\'e0 "
               "here.\\par\r\n";
        if (n % 20 == 0)
            out += "{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-"
                   "360\\li720 item\\par\r\n";
        if (n % 50 == 0)
            out += "\\trowd\\cellx3000\\cellx6000\\intbl cell one\\cell cell two\\cell\\row\\pard\r\n";
        if (n % 200 == 0)
            out += "{\\pict\\pngblip\\picw16\\pich16\\picwgoal240\\pichgoal240 " + png.toHex() + "}\\par\r\n";
    }
    out += "}";
    return out;
}

const QByteArray& body() {
    static const QByteArray b = sample(1 << 20);
    return b;
}

void plainText(benchmark::State& state) {
    const QByteArray& rtf = body();
    for (auto _ : state)
        benchmark::DoNotOptimize(vlr::rtf::rtfToPlainText(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(plainText)->Unit(benchmark::kMillisecond);

void buildDocument(benchmark::State& state) {
    const QByteArray& rtf = body();
    for (auto _ : state) {
        QTextDocument doc;
        vlr::rtf::readRtf(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * body().size());
}
BENCHMARK(buildDocument)->Unit(benchmark::kMillisecond);

void writeDocument(benchmark::State& state) {
    QTextDocument doc;
    vlr::rtf::readRtf(body(), &doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(vlr::rtf::writeRtf(&doc));
    state.SetBytesProcessed(state.iterations() * body().size());
}
BENCHMARK(writeDocument)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--write-sample") == 0) {
        QFile f(QString::fromLocal8Bit(argv[2]));
        const qsizetype size = argc >= 4 ? QByteArray(argv[3]).toLongLong() : (1 << 20);
        if (!f.open(QIODevice::WriteOnly) || f.write(sample(size)) < 0)
            return 1;
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
