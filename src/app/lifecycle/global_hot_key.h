#pragma once
// The activation key that reaches the program whatever window has the focus.
// On an X11 desktop it is a passive key grab on every root window; other
// desktops (Wayland, offscreen) offer no such grab, and the key is then
// reported as unavailable instead of silently doing nothing.
#include <QAbstractNativeEventFilter>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

struct xcb_connection_t;

namespace vlr {

// The key as the X server sees it: a keysym and a core modifier mask.
struct THotKeyChord {
    quint32 keysym = 0;    // 0: no key to grab
    quint16 modifiers = 0; // Shift, Control, Mod1 (Alt), Mod4 (Super)

    bool operator==(const THotKeyChord&) const = default;
};

// The chord of a shortcut: Shift, Ctrl and Alt as in the shortcut, Super when
// the shortcut holds Meta or plusWin is set. A shortcut without a key the
// keyboard could type (empty, a lone modifier) gives no keysym.
THotKeyChord hotKeyChord(const QKeySequence& key, bool plusWin);

// The key as the user reads it, "Win+" first when plusWin: "Win+Ctrl+Alt+N".
// Empty when there is no key.
QString hotKeyDisplayText(const QKeySequence& key, bool plusWin);

class TGlobalHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    static inline const QString kUnavailable = QStringLiteral(
        "Горячую клавишу для активации программы назначить нельзя: рабочий стол позволяет это только "
        "в сеансе X11.");
    static inline const QString kNoKey = QStringLiteral("Горячая клавиша для активации программы не задана.");
    static inline const QString kNotOnKeyboard =
        QStringLiteral("Горячую клавишу %1 назначить нельзя: такой клавиши нет на клавиатуре.");
    static inline const QString kTaken =
        QStringLiteral("Горячую клавишу %1 назначить нельзя: она уже занята другой программой.");

    // Over the program's own X connection; unavailable when it has none.
    explicit TGlobalHotKey(QObject* parent = nullptr);
    // Over the given connection (not owned; nullptr: unavailable). Its events
    // are not read here: the owner passes them to HandleEvent.
    explicit TGlobalHotKey(xcb_connection_t* connection, QObject* parent = nullptr);
    ~TGlobalHotKey() override;

    bool IsAvailable() const { return m_connection != nullptr; }
    // Drops the key held so far, then grabs key. False when nothing could be
    // grabbed; ErrorText() says why.
    bool Register(const QKeySequence& key, bool plusWin);
    void Unregister();
    bool IsRegistered() const { return !m_keycodes.isEmpty(); }
    // Why the last Register failed; empty after a success or Unregister.
    QString ErrorText() const { return m_error; }

    // One event of the connection (an xcb_generic_event_t); true when it
    // belonged to the hot key, which then counts as handled.
    bool HandleEvent(const void* xcbEvent);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // The key went down (once per press: held keys repeat, this does not).
    void activated();

private:
    void ungrab(const QList<quint8>& keycodes, quint16 modifiers);
    [[nodiscard]] bool grabChecked(const QList<quint8>& keycodes, quint16 modifiers);

    xcb_connection_t* m_connection = nullptr;
    QList<quint32> m_roots;
    QList<quint8> m_keycodes;
    quint16 m_modifiers = 0;
    QString m_error;
    bool m_down = false;
    quint32 m_lastPress = 0;
    quint32 m_lastRelease = 0;
};

} // namespace vlr
