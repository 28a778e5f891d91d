// Developer tool: the note editor with its format bar over a small formatted
// note, optionally with the text-colour menu open (--color-menu), for
// looking at the bar and taking pictures of it.
#include "config/options.h"
#include "editor/color_menus.h"
#include "editor/format_bar.h"
#include "editor/format_host.h"
#include "editor/richedit.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>

using namespace vlr;

namespace {

// A note alone: no tree, nothing to mark.
class ToolHost final : public TFormatHost {
public:
    QByteArray body;
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
    QByteArray StoredBody() const override { return body; }
    void StoreBoundNote(bool) override {}
    void StoreZoom(int) override {}
};

const char kNote[] =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 DejaVu Sans;}}"
    "{\\colortbl "
    ";\\red192\\green0\\blue0;\\red0\\green96\\blue192;\\red255\\green255\\blue0;\\red0\\green128\\blue0;}"
    "\\pard\\qc\\f0\\fs32\\b Vellinor\\b0\\par\\pard\\fs20 "
    "\\b Bold\\b0 , \\i italic\\i0 , \\ul underlined\\ulnone , \\cf1 red\\cf0 , \\cf2 blue\\cf0 , "
    "\\highlight3 marked\\highlight0 , x\\super 2\\nosupersub  and H\\sub 2\\nosupersub O.\\par"
    "\\pard\\fi-200\\li400{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf0{\\pntxtb\\'b7}}\\cf4 Green "
    "item\\cf0\\par"
    "{\\pntext\\'b7\\tab}Second item\\par}";

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(900, 500);
    auto* editor = new TMyRichEdit(&window);
    window.setCentralWidget(editor);
    ToolHost host;
    host.body = kNote;
    TVLROptions options;
    TFormatBar bar(*editor, host, options, &window);
    window.addToolBar(bar.tbFormat);
    window.menuBar()->addMenu(bar.FormatMenu);
    editor->SetColor(options.DefEditorBack);
    editor->LoadFromBytes(host.body);
    editor->SetSelection(0, 8);
    window.show();
    bar.EditorSelectionChange();
    if (app.arguments().contains(QStringLiteral("--color-menu")))
        QTimer::singleShot(300, [&bar] { bar.Colors().tbFormatColor->showMenu(); });
    return app.exec();
}
