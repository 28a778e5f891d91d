// The activation hot key: the shortcut becomes the keysym and modifier mask
// the X server grabs, and the text the user reads. On a real X display
// (DISPLAY set, as under xvfb-run) the key is really grabbed: it is held
// against other programs, a key another program holds is refused, and only
// the key's own presses activate the program, once per press.
#include "app/lifecycle/global_hot_key.h"

#include <QSignalSpy>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

#include <gtest/gtest.h>

using namespace vlr;

namespace {

constexpr quint16 kShift = XCB_MOD_MASK_SHIFT;
constexpr quint16 kCtrl = XCB_MOD_MASK_CONTROL;
constexpr quint16 kAlt = XCB_MOD_MASK_1;
constexpr quint16 kSuper = XCB_MOD_MASK_4;

TEST(GlobalHotKeyTest, ShortcutBecomesKeysymModifiersAndText) {
    const struct {
        QKeySequence key;
        bool plusWin;
        THotKeyChord chord;
        QString text;
    } cases[] = {
        {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N),
         false,
         {'n', kCtrl | kAlt},
         QStringLiteral("Ctrl+Alt+N")},
        {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N),
         true,
         {'n', kCtrl | kAlt | kSuper},
         QStringLiteral("Win+Ctrl+Alt+N")},
        {QKeySequence(Qt::SHIFT | Qt::Key_F12), false, {0xffc9, kShift}, QStringLiteral("Shift+F12")},
        {QKeySequence(Qt::SHIFT | Qt::Key_F12),
         true,
         {0xffc9, kShift | kSuper},
         QStringLiteral("Win+Shift+F12")},
        {QKeySequence(Qt::META | Qt::Key_Space), false, {0x20, kSuper}, QStringLiteral("Meta+Space")},
        {QKeySequence(Qt::ALT | Qt::Key_Home), false, {0xff50, kAlt}, QStringLiteral("Alt+Home")},
        {QKeySequence(Qt::CTRL | Qt::Key_5), false, {'5', kCtrl}, QStringLiteral("Ctrl+5")},
        {QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_5)),
         false,
         {0xffb5, kCtrl},
         QStringLiteral("Ctrl+Num+5")},
        // No key: nothing to grab and nothing to show, whatever plusWin says.
        {QKeySequence(), false, {}, QString()},
        {QKeySequence(), true, {}, QString()},
        // A modifier on its own is no key either.
        {QKeySequence(Qt::CTRL | Qt::Key_Alt), false, {}, QStringLiteral("Ctrl+Alt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toString().toStdString());
        const THotKeyChord chord = hotKeyChord(c.key, c.plusWin);
        EXPECT_EQ(chord.keysym, c.chord.keysym);
        EXPECT_EQ(chord.modifiers, c.chord.modifiers);
        EXPECT_EQ(hotKeyDisplayText(c.key, c.plusWin), c.text);
    }
}

TEST(GlobalHotKeyTest, WithoutAnXDisplayTheKeyIsReportedUnavailable) {
    // The tests run offscreen: the program has no X connection to grab on.
    TGlobalHotKey hotKey;
    EXPECT_FALSE(hotKey.IsAvailable());
    EXPECT_FALSE(hotKey.Register(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), false));
    EXPECT_FALSE(hotKey.IsRegistered());
    EXPECT_EQ(hotKey.ErrorText(), TGlobalHotKey::kUnavailable);
    hotKey.Unregister();
    EXPECT_TRUE(hotKey.ErrorText().isEmpty());
}

// Two programs on the display DISPLAY names; the tests are skipped without
// one. The connections last the whole suite: an X server that lost its last
// client resets and refuses connections for a moment.
class XDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            return;
        ours = connect();
        other = connect();
    }
    static void TearDownTestSuite() {
        for (xcb_connection_t** c : {&ours, &other})
            if (*c) {
                xcb_disconnect(*c);
                *c = nullptr;
            }
    }
    void SetUp() override {
        if (!ours || !other)
            GTEST_SKIP() << "no X display";
        root = xcb_setup_roots_iterator(xcb_get_setup(ours)).data->root;
    }

    static xcb_connection_t* connect() {
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return nullptr;
        }
        return c;
    }

    // Whether the other program's grab of the chord in every lock state succeeds (it is dropped again).
    bool otherCanGrab(const THotKeyChord& chord) {
        bool all = true;
        for (const quint16 lock : {quint16(0), quint16(XCB_MOD_MASK_LOCK), quint16(XCB_MOD_MASK_2)}) {
            const xcb_void_cookie_t cookie =
                xcb_grab_key_checked(other, 1, root, chord.modifiers | lock, keycode(chord),
                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t* error = xcb_request_check(other, cookie)) {
                std::free(error);
                all = false;
            } else {
                xcb_ungrab_key(other, keycode(chord), root, chord.modifiers | lock);
            }
        }
        xcb_flush(other);
        return all;
    }

    xcb_keycode_t keycode(const THotKeyChord& chord) const {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(ours);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, chord.keysym);
        const xcb_keycode_t code = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
        return code;
    }

    xcb_key_press_event_t keyEvent(quint8 type, xcb_keycode_t code, quint16 state, quint32 time) const {
        xcb_key_press_event_t event{};
        event.response_type = type;
        event.detail = code;
        event.root = root;
        event.event = root;
        event.state = state;
        event.time = time;
        return event;
    }

    static inline xcb_connection_t* ours = nullptr;
    static inline xcb_connection_t* other = nullptr;
    xcb_window_t root = 0;
    // A chord no desktop binds, so the test can run on a live display too.
    const QKeySequence key{Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_F12};
};

TEST_F(XDisplayTest, HeldKeyIsRefusedToOthersUntilDropped) {
    const THotKeyChord chord = hotKeyChord(key, true);
    ASSERT_NE(keycode(chord), 0);
    {
        TGlobalHotKey hotKey(ours);
        ASSERT_TRUE(hotKey.IsAvailable());
        ASSERT_TRUE(hotKey.Register(key, true)) << hotKey.ErrorText().toStdString();
        EXPECT_TRUE(hotKey.ErrorText().isEmpty());
        EXPECT_FALSE(otherCanGrab(chord));
        // Registering anew drops the old key first.
        ASSERT_TRUE(hotKey.Register(key, false)) << hotKey.ErrorText().toStdString();
        EXPECT_TRUE(otherCanGrab(chord));
        hotKey.Unregister();
        EXPECT_FALSE(hotKey.IsRegistered());
        EXPECT_TRUE(otherCanGrab(hotKeyChord(key, false)));
        ASSERT_TRUE(hotKey.Register(key, true));
    }
    // Destroyed: the key is free again.
    EXPECT_TRUE(otherCanGrab(chord));
}

TEST_F(XDisplayTest, KeyAnotherProgramHoldsIsRefusedWithTheReason) {
    const THotKeyChord chord = hotKeyChord(key, false);
    // The other program holds the key only with Num Lock on: half a grab is no grab.
    const xcb_void_cookie_t cookie =
        xcb_grab_key_checked(other, 1, root, chord.modifiers | XCB_MOD_MASK_2, keycode(chord),
                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    ASSERT_EQ(xcb_request_check(other, cookie), nullptr);

    TGlobalHotKey hotKey(ours);
    EXPECT_FALSE(hotKey.Register(key, false));
    EXPECT_FALSE(hotKey.IsRegistered());
    EXPECT_EQ(hotKey.ErrorText(), TGlobalHotKey::kTaken.arg(QStringLiteral("Ctrl+Alt+Shift+F12")));
    // What was grabbed before the refusal is let go.
    xcb_ungrab_key(other, keycode(chord), root, chord.modifiers | XCB_MOD_MASK_2);
    xcb_flush(other);
    EXPECT_TRUE(otherCanGrab(chord));
}

TEST_F(XDisplayTest, KeyThatCannotBeGrabbedIsRefusedWithTheReason) {
    TGlobalHotKey hotKey(ours);
    const struct {
        QKeySequence key;
        QString error;
    } cases[] = {
        {QKeySequence(), TGlobalHotKey::kNoKey},
        {QKeySequence(Qt::CTRL | Qt::Key_F35), TGlobalHotKey::kNotOnKeyboard.arg(QStringLiteral("Ctrl+F35"))},
        {QKeySequence(Qt::CTRL | Qt::Key_Alt), TGlobalHotKey::kNotOnKeyboard.arg(QStringLiteral("Ctrl+Alt"))},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(hotKey.Register(key, false));
        EXPECT_FALSE(hotKey.Register(c.key, false));
        EXPECT_FALSE(hotKey.IsRegistered());
        EXPECT_EQ(hotKey.ErrorText(), c.error);
        // The key held before is let go all the same.
        EXPECT_TRUE(otherCanGrab(hotKeyChord(key, false)));
    }
}

TEST_F(XDisplayTest, OnlyTheKeysOwnPressesActivateOncePerPress) {
    TGlobalHotKey hotKey(ours);
    ASSERT_TRUE(hotKey.Register(key, false));
    const THotKeyChord chord = hotKeyChord(key, false);
    const xcb_keycode_t code = keycode(chord);
    QSignalSpy activated(&hotKey, &TGlobalHotKey::activated);
    const auto feed = [&](quint8 type, xcb_keycode_t c, quint16 state, quint32 time) {
        const xcb_key_press_event_t event = keyEvent(type, c, state, time);
        return hotKey.HandleEvent(&event);
    };

    // Caps Lock and Num Lock do not matter.
    EXPECT_TRUE(feed(XCB_KEY_PRESS, code, chord.modifiers | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2, 1000));
    EXPECT_EQ(activated.count(), 1);
    // The key held: repeated presses, then releases and presses sharing a time stamp.
    EXPECT_TRUE(feed(XCB_KEY_PRESS, code, chord.modifiers, 1030));
    EXPECT_TRUE(feed(XCB_KEY_RELEASE, code, chord.modifiers, 1060));
    EXPECT_TRUE(feed(XCB_KEY_PRESS, code, chord.modifiers, 1060));
    EXPECT_EQ(activated.count(), 1);
    // Released with the modifiers let go first, then pressed again.
    EXPECT_TRUE(feed(XCB_KEY_RELEASE, code, 0, 1100));
    EXPECT_TRUE(feed(XCB_KEY_PRESS, code, chord.modifiers, 1200));
    EXPECT_EQ(activated.count(), 2);
    EXPECT_TRUE(feed(XCB_KEY_RELEASE, code, chord.modifiers, 1300));

    // Other modifiers, another key, another window's key and other events are not the hot key.
    EXPECT_FALSE(feed(XCB_KEY_PRESS, code, kCtrl | kAlt, 2000));
    EXPECT_FALSE(feed(XCB_KEY_PRESS, code, chord.modifiers | kSuper, 2100));
    EXPECT_FALSE(feed(XCB_KEY_PRESS, quint8(code + 1), chord.modifiers, 2200));
    xcb_key_press_event_t inWindow = keyEvent(XCB_KEY_PRESS, code, chord.modifiers, 2300);
    inWindow.event = root + 1;
    EXPECT_FALSE(hotKey.HandleEvent(&inWindow));
    EXPECT_FALSE(feed(XCB_BUTTON_PRESS, code, chord.modifiers, 2400));
    EXPECT_EQ(activated.count(), 2);

    // Dropped: its presses pass by.
    hotKey.Unregister();
    EXPECT_FALSE(feed(XCB_KEY_PRESS, code, chord.modifiers, 3000));
    EXPECT_EQ(activated.count(), 2);
}

} // namespace
