// Timings of the rich-text control on a large note, printed as medians over
// several runs:
//   load     stream a 1 MB RTF body into a shown control, lay it out and
//            paint the first screen;
//   type     one typed character in the middle of that text, with the
//            status bar's caret query and the repaint it causes;
//   save     stream the text back out as RTF.
#include "common/sample_note.h"
#include "config/options.h"
#include "editor/format_bar.h"
#include "editor/format_commands.h"
#include "editor/format_host.h"
#include "editor/richedit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vlr;

namespace {

// A note is bound and the tree is not focused.
class BenchHost final : public TFormatHost {
public:
    bool TreeHasFocus() const override { return false; }
    bool NodeSelected() const override { return true; }
    bool NoteSelected() const override { return true; }
    int TitleStyle() const override { return 0; }
    quint32 TitleColor() const override { return 0; }
    quint32 TitleBackColor() const override { return 0; }
    void ToggleTitleStyle(int) override {}
    void SetTitleColor(quint32) override {}
    void SetTitleBackColor(quint32) override {}
    bool Loading() const override { return false; }
    void MarkModified(bool, bool) override {}
    QByteArray StoredBody() const override { return {}; }
    void StoreBoundNote(bool) override {}
    void StoreZoom(int) override {}
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs = 7;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--runs") == 0)
            runs = qMax(1, atoi(argv[i + 1]));
    }
    const QByteArray body = bench::sampleNoteRtf(1024 * 1024);
    std::printf("body: %lld bytes of RTF\n", static_cast<long long>(body.size()));

    std::vector<double> load, type, typeWorst, save, format, formatWorst;
    BenchHost host;
    TVLROptions options;
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
        type.push_back(bench::median(keys));
        typeWorst.push_back(*std::max_element(keys.begin(), keys.end()));

        // Ctrl+B on a selected word with the format bar following the
        // editor: the change, the reflection into the commands and boxes,
        // and the repaint.
        TFormatBar bar(edit, host, options, nullptr);
        std::vector<double> steps;
        for (int i = 0; i < 40; ++i) {
            const int at = length / 3 + i * 97;
            edit.SetSelection(at, at + 6, true);
            QApplication::processEvents();
            t.restart();
            bar.Format().FormatBold->trigger();
            edit.viewport()->repaint();
            steps.push_back(t.nsecsElapsed() / 1e6);
        }
        format.push_back(bench::median(steps));
        formatWorst.push_back(*std::max_element(steps.begin(), steps.end()));

        t.restart();
        const QByteArray out = edit.SaveToBytes();
        save.push_back(t.nsecsElapsed() / 1e6);
        if (run == 0)
            std::printf("text: %d characters, %d lines, saved %lld bytes (caret line %d)\n", length,
                        edit.LineCount(), static_cast<long long>(out.size()), lastLine);
    }
    std::printf("load + layout + first paint: median %.1f ms (runs: %d)\n", bench::median(load), runs);
    std::printf("typing in the middle: median %.2f ms per key, worst key %.2f ms\n", bench::median(type),
                bench::median(typeWorst));
    std::printf("bold on a selected word: median %.2f ms, worst %.2f ms\n", bench::median(format),
                bench::median(formatWorst));
    std::printf("save as RTF: median %.1f ms\n", bench::median(save));
    return 0;
}
