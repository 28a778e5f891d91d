// Timings of the rich-text control on a large note, printed as medians over
// several runs:
//   load     stream a 1 MB RTF body into a shown control, lay it out and
//            paint the first screen;
//   type     one typed character in the middle of that text, with the
//            status bar's caret query and the repaint it causes;
//   save     stream the text back out as RTF.
#include "editor/richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vlr;

namespace {

// A note body of about `bytes` bytes: Russian and Latin text in paragraphs
// with bold, italic, coloured and differently sized runs, as notes are.
QByteArray makeBody(int bytes) {
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs = 7;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--runs") == 0)
            runs = qMax(1, atoi(argv[i + 1]));
    }
    const QByteArray body = makeBody(1024 * 1024);
    std::printf("body: %lld bytes of RTF\n", static_cast<long long>(body.size()));

    std::vector<double> load, type, typeWorst, save;
    for (int run = 0; run < runs; ++run) {
        TMyRichEdit edit;
        edit.SetAutoURLDetect(true);
        edit.SetSelectionBar(true);
        edit.SetUndoLimit(100);
        edit.resize(900, 700);
        edit.show();
        QApplication::processEvents();

        QElapsedTimer t;
        t.start();
        edit.LoadFromBytes(body);
        edit.viewport()->repaint(); // lays out what is visible and paints it
        load.push_back(t.nsecsElapsed() / 1e6);
        const int length = edit.TextLength();

        // The main window's status bar asks for the caret's line and column
        // on every selection change.
        int lastLine = 0;
        edit.OnSelectionChange = [&](TMyCustomRichEdit* e) { lastLine = e->CaretPos().y(); };
        QApplication::processEvents();
        edit.SetSelection(length / 2, length / 2, true);
        QApplication::processEvents();
        std::vector<double> keys;
        for (int i = 0; i < 40; ++i) {
            t.restart();
            QTest::keyClick(&edit, Qt::Key(Qt::Key_A + i % 26), Qt::NoModifier);
            edit.viewport()->repaint();
            keys.push_back(t.nsecsElapsed() / 1e6);
        }
        type.push_back(median(keys));
        typeWorst.push_back(*std::max_element(keys.begin(), keys.end()));

        t.restart();
        const QByteArray out = edit.SaveToBytes();
        save.push_back(t.nsecsElapsed() / 1e6);
        if (run == 0)
            std::printf("text: %d characters, %d lines, saved %lld bytes (caret line %d)\n", length,
                        edit.LineCount(), static_cast<long long>(out.size()), lastLine);
    }
    std::printf("load + layout + first paint: median %.1f ms (runs: %d)\n", median(load), runs);
    std::printf("typing in the middle: median %.2f ms per key, worst key %.2f ms\n", median(type),
                median(typeWorst));
    std::printf("save as RTF: median %.1f ms\n", median(save));
    return 0;
}
