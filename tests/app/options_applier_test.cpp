// Applying options changes the running window's objects at once: each row
// changes one option, applies it through the notifier and looks at the effect.
#include "app/options_applier.h"
#include "config/optionsnotifier.h"
#include "editor/richedit.h"
#include "notebook_fixture.h"
#include "tree/MyTreeView.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vlr;
using namespace vlr::test;

namespace {

struct ApplierHost : OptionsApplierHost {
    bool asPanel = false;
    QFont listFont;
    quint32 listBack = 0;
    bool tray = false;
    int hotKeySetups = 0;
    bool hotKeyOn = false;
    QKeySequence hotKey;
    bool plusWin = false;
    void SetTreeAsPanel(bool on) override { asPanel = on; }
    void SetNotesListLook(const QFont& font, quint32 back) override {
        listFont = font;
        listBack = back;
    }
    void SetTrayIcon(bool shown) override { tray = shown; }
    void SetHotKey(bool enable, const QKeySequence& key, bool win) override {
        ++hotKeySetups;
        hotKeyOn = enable;
        hotKey = key;
        plusWin = win;
    }
};

struct Window {
    TNotebookService service{defaultImages()};
    TMyTreeView tree{service};
    TMyRichEdit editor;
    ApplierHost host;
    TOptionsNotifier notifier;
    TOptionsApplier applier{notifier, tree, host};
    Window() { tree.SetEditor(&editor); }
};

} // namespace

TEST(OptionsApplier, EachOptionTakesEffectWhenApplied) {
    struct Case {
        const char* what;
        std::function<void(TVLROptions&)> change;
        std::function<bool(const Window&)> seen;
    };
    const Case cases[] = {
        {"tree lines off", [](TVLROptions& o) { o.TreeShowLines = false; },
         [](const Window& w) { return !w.tree.ShowLines(); }},
        {"hot tracking on", [](TVLROptions& o) { o.TreeHotTrack = true; },
         [](const Window& w) { return w.tree.HotTrack(); }},
        {"child counts on", [](TVLROptions& o) { o.TreeDrawChildCount = true; },
         [](const Window& w) { return w.tree.DrawChildrenNumber(); }},
        {"tree colour", [](TVLROptions& o) { o.TreeBackColor = 0x00112233; },
         [](const Window& w) { return w.tree.Color() == 0x00112233; }},
        {"tree font", [](TVLROptions& o) { o.TreeFontSize = 17; },
         [](const Window& w) {
             return w.tree.TreeFont().pointSize() == 17 && w.host.listFont.pointSize() == 17;
         }},
        {"notes list background", [](TVLROptions& o) { o.DefEditorBack = 0x00445566; },
         [](const Window& w) { return w.host.listBack == 0x00445566; }},
        {"word wrap off", [](TVLROptions& o) { o.EditorWordWrap = false; },
         [](const Window& w) { return !w.editor.WordWrap(); }},
        {"word selection off", [](TVLROptions& o) { o.EditorWordSel = false; },
         [](const Window& w) { return !w.editor.WordSelection(); }},
        {"link detection off", [](TVLROptions& o) { o.EditorAutoURL = false; },
         [](const Window& w) { return !w.editor.AutoURLDetect(); }},
        {"rich-text font for the next note",
         [](TVLROptions& o) { o.DefFontName = QStringLiteral("DejaVu Serif"); },
         [](const Window& w) { return w.tree.Options().DefFontName == QStringLiteral("DejaVu Serif"); }},
        {"caret memory", [](TVLROptions& o) { o.SaveCursor = false; },
         [](const Window& w) { return !w.tree.Options().SaveCursor; }},
        {"tree as panel", [](TVLROptions& o) { o.TreeAsPanel = true; },
         [](const Window& w) { return w.host.asPanel; }},
        {"tray icon", [](TVLROptions& o) { o.MinimizeToTray = true; },
         [](const Window& w) { return w.host.tray; }},
        {"hot key",
         [](TVLROptions& o) {
             o.EnableHotKey = true;
             o.ActivateHotKey = QKeySequence(QStringLiteral("Ctrl+Alt+N"));
             o.PlusWin = true;
         },
         [](const Window& w) {
             return w.host.hotKeySetups == 2 && w.host.hotKeyOn && w.host.plusWin &&
                    w.host.hotKey == QKeySequence(QStringLiteral("Ctrl+Alt+N"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        TVLROptions before;
        w.notifier.apply(before); // start-up
        EXPECT_FALSE(c.seen(w)) << "the default already shows the change";
        TVLROptions after = before;
        c.change(after);
        w.notifier.apply(after, &before);
        EXPECT_TRUE(c.seen(w));
    }
}

TEST(OptionsApplier, TheHotKeyIsSetUpAgainOnlyWhenItsOptionsChange) {
    Window w;
    TVLROptions before;
    before.EnableHotKey = true;
    w.notifier.apply(before);
    EXPECT_EQ(w.host.hotKeySetups, 1);
    TVLROptions after = before;
    after.TreeShowLines = !after.TreeShowLines;
    w.notifier.apply(after, &before);
    EXPECT_EQ(w.host.hotKeySetups, 1);
    after.EnableHotKey = false;
    w.notifier.apply(after, &before);
    EXPECT_EQ(w.host.hotKeySetups, 2);
    EXPECT_FALSE(w.host.hotKeyOn);
}
