#include "app/lifecycle/global_hot_key.h"

#include "config/optionsfile.h"

#include <QChar>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

namespace vlr {

namespace {

// The modifiers a chord is made of; the rest of an event's state (the lock
// keys, AltGr) does not take part in matching.
constexpr quint16 kChordMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
// A passive grab matches the exact modifier state, so the key is grabbed once
// for each state of Caps Lock (Lock) and Num Lock (Mod2).
constexpr quint16 kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                     XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
// Presses of a held key closer together than this are the key's repeat.
constexpr quint32 kRepeatGapMs = 1000;

constexpr quint32 kUnicodeKeysym = 0x01000000;

struct SpecialKey {
    int key;
    quint32 keysym;
};

constexpr SpecialKey kSpecialKeys[] = {
    {Qt::Key_Escape, 0xff1b},         {Qt::Key_Tab, 0xff09},
    {Qt::Key_Backtab, 0xff09},        {Qt::Key_Backspace, 0xff08},
    {Qt::Key_Return, 0xff0d},         {Qt::Key_Enter, 0xff8d},
    {Qt::Key_Insert, 0xff63},         {Qt::Key_Delete, 0xffff},
    {Qt::Key_Pause, 0xff13},          {Qt::Key_Print, 0xff61},
    {Qt::Key_SysReq, 0xff15},         {Qt::Key_ScrollLock, 0xff14},
    {Qt::Key_Home, 0xff50},           {Qt::Key_End, 0xff57},
    {Qt::Key_Left, 0xff51},           {Qt::Key_Up, 0xff52},
    {Qt::Key_Right, 0xff53},          {Qt::Key_Down, 0xff54},
    {Qt::Key_PageUp, 0xff55},         {Qt::Key_PageDown, 0xff56},
    {Qt::Key_Menu, 0xff67},           {Qt::Key_Help, 0xff6a},
    {Qt::Key_VolumeDown, 0x1008ff11}, {Qt::Key_VolumeMute, 0x1008ff12},
    {Qt::Key_VolumeUp, 0x1008ff13},   {Qt::Key_MediaPlay, 0x1008ff14},
    {Qt::Key_MediaStop, 0x1008ff15},  {Qt::Key_MediaPrevious, 0x1008ff16},
    {Qt::Key_MediaNext, 0x1008ff17},  {Qt::Key_HomePage, 0x1008ff18},
    {Qt::Key_LaunchMail, 0x1008ff19}, {Qt::Key_Search, 0x1008ff1b},
    {Qt::Key_Calculator, 0x1008ff1d}, {Qt::Key_Favorites, 0x1008ff30},
};

// Keys of the numeric keypad, told apart from the main block's by the keypad modifier.
constexpr SpecialKey kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0xffaa}, {Qt::Key_Plus, 0xffab},   {Qt::Key_Comma, 0xffac},    {Qt::Key_Minus, 0xffad},
    {Qt::Key_Period, 0xffae},   {Qt::Key_Slash, 0xffaf},  {Qt::Key_Equal, 0xffbd},    {Qt::Key_Enter, 0xff8d},
    {Qt::Key_Home, 0xff95},     {Qt::Key_Left, 0xff96},   {Qt::Key_Up, 0xff97},       {Qt::Key_Right, 0xff98},
    {Qt::Key_Down, 0xff99},     {Qt::Key_PageUp, 0xff9a}, {Qt::Key_PageDown, 0xff9b}, {Qt::Key_End, 0xff9c},
    {Qt::Key_Insert, 0xff9e},   {Qt::Key_Delete, 0xff9f},
};

quint32 findKeysym(const SpecialKey* begin, const SpecialKey* end, int key) {
    for (const SpecialKey* k = begin; k != end; ++k)
        if (k->key == key)
            return k->keysym;
    return 0;
}

quint32 keysymOf(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 0xffb0 + quint32(key - Qt::Key_0);
        if (const quint32 sym = findKeysym(std::begin(kKeypadKeys), std::end(kKeypadKeys), key))
            return sym;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return 0xffbe + quint32(key - Qt::Key_F1);
    if (key >= int(kUnicodeKeysym)) // Qt's named keys: modifiers on their own and the rest name no keysym
        return findKeysym(std::begin(kSpecialKeys), std::end(kSpecialKeys), key);
    if (key < 0x20 || key == 0x7f || (key > 0x7e && key < 0xa0) || key > 0xffff)
        return 0;
    // A letter is grabbed as the keysym of its key, the lower-case one.
    const quint32 code = QChar(char16_t(key)).toLower().unicode();
    return code <= 0xff ? code : kUnicodeKeysym | code;
}

// The X connection of the running program; none outside an X11 session.
xcb_connection_t* programConnection() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1StringView("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

THotKeyChord hotKeyChord(const QKeySequence& key, bool plusWin) {
    if (key.isEmpty())
        return {};
    const QKeyCombination combination = key[0];
    const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    THotKeyChord chord;
    chord.keysym = keysymOf(int(combination.key()), mods.testFlag(Qt::KeypadModifier));
    if (chord.keysym == 0)
        return {};
    if (mods.testFlag(Qt::ShiftModifier))
        chord.modifiers |= XCB_MOD_MASK_SHIFT;
    if (mods.testFlag(Qt::ControlModifier))
        chord.modifiers |= XCB_MOD_MASK_CONTROL;
    if (mods.testFlag(Qt::AltModifier))
        chord.modifiers |= XCB_MOD_MASK_1;
    if (plusWin || mods.testFlag(Qt::MetaModifier))
        chord.modifiers |= XCB_MOD_MASK_4;
    return chord;
}

QString hotKeyDisplayText(const QKeySequence& key, bool plusWin) {
    const QString text = hotKeyText(key);
    return plusWin && !text.isEmpty() ? QStringLiteral("Win+") + text : text;
}

TGlobalHotKey::TGlobalHotKey(QObject* parent) : TGlobalHotKey(programConnection(), parent) {
    if (m_connection)
        QCoreApplication::instance()->installNativeEventFilter(this);
}

TGlobalHotKey::TGlobalHotKey(xcb_connection_t* connection, QObject* parent) : QObject(parent) {
    if (!connection || xcb_connection_has_error(connection))
        return;
    m_connection = connection;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem; xcb_screen_next(&it))
        m_roots << it.data->root;
}

TGlobalHotKey::~TGlobalHotKey() {
    Unregister();
}

void TGlobalHotKey::ungrab(const QList<quint8>& keycodes, quint16 modifiers) {
    for (const quint32 root : std::as_const(m_roots))
        for (const quint8 keycode : keycodes)
            for (const quint16 lock : kLockVariants)
                xcb_ungrab_key(m_connection, keycode, root, modifiers | lock);
    xcb_flush(m_connection);
}

bool TGlobalHotKey::grabChecked(const QList<quint8>& keycodes, quint16 modifiers) {
    QList<xcb_void_cookie_t> cookies;
    for (const quint32 root : std::as_const(m_roots))
        for (const quint8 keycode : keycodes)
            for (const quint16 lock : kLockVariants)
                cookies << xcb_grab_key_checked(m_connection, 1, root, modifiers | lock, keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    // A key another client holds is refused with an error; half a grab would
    // make the key work only in some lock states, so it is all or nothing.
    bool held = true;
    for (const xcb_void_cookie_t& cookie : std::as_const(cookies))
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
            held = false;
            std::free(error);
        }
    if (!held)
        ungrab(keycodes, modifiers);
    return held;
}

bool TGlobalHotKey::Register(const QKeySequence& key, bool plusWin) {
    Unregister();
    if (!m_connection) {
        m_error = kUnavailable;
        return false;
    }
    if (key.isEmpty()) {
        m_error = kNoKey;
        return false;
    }
    const THotKeyChord chord = hotKeyChord(key, plusWin);
    QList<quint8> keycodes;
    if (chord.keysym != 0) {
        const std::unique_ptr<xcb_key_symbols_t, void (*)(xcb_key_symbols_t*)> symbols(
            xcb_key_symbols_alloc(m_connection), xcb_key_symbols_free);
        xcb_keycode_t* codes = symbols ? xcb_key_symbols_get_keycode(symbols.get(), chord.keysym) : nullptr;
        for (const xcb_keycode_t* code = codes; code && *code != XCB_NO_SYMBOL; ++code)
            if (!keycodes.contains(*code))
                keycodes << *code;
        std::free(codes);
    }
    if (keycodes.isEmpty()) {
        m_error = kNotOnKeyboard.arg(hotKeyDisplayText(key, plusWin));
        return false;
    }
    if (!grabChecked(keycodes, chord.modifiers)) {
        m_error = kTaken.arg(hotKeyDisplayText(key, plusWin));
        return false;
    }
    m_keycodes = keycodes;
    m_modifiers = chord.modifiers;
    return true;
}

void TGlobalHotKey::Unregister() {
    m_error.clear();
    m_down = false;
    if (m_keycodes.isEmpty())
        return;
    ungrab(m_keycodes, m_modifiers);
    m_keycodes.clear();
}

bool TGlobalHotKey::HandleEvent(const void* xcbEvent) {
    if (m_keycodes.isEmpty() || !xcbEvent)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release share one layout.
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (!m_keycodes.contains(key->detail) || !m_roots.contains(key->event))
        return false;
    if (type == XCB_KEY_RELEASE) {
        // Modifiers let go first leave the key held until now: a release matches by key alone.
        m_down = false;
        m_lastRelease = key->time;
        return true;
    }
    if ((key->state & kChordMask) != m_modifiers)
        return false;
    // A held key repeats: as presses alone, or as releases and presses that
    // share their time stamp.
    const bool repeat = (m_down && key->time - m_lastPress < kRepeatGapMs) || key->time == m_lastRelease;
    m_down = true;
    m_lastPress = key->time;
    if (!repeat)
        emit activated();
    return true;
}

bool TGlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    return eventType == "xcb_generic_event_t" && HandleEvent(message);
}

} // namespace vlr
