#pragma once
// The splash shown while a start without arguments builds the main window:
// a borderless picture centred on the screen, with the product's emblem, its
// name and its version. The main window deletes it once it has been shown.
#include <QIcon>
#include <QSplashScreen>

#include <memory>

namespace vlr {

inline const QString kSplashVersionText = QStringLiteral("версия 1.5.0");

class TSplash : public QSplashScreen {
    Q_OBJECT
public:
    static constexpr int kWidth = 440;
    static constexpr int kHeight = 260;

    explicit TSplash(QScreen* screen = nullptr);

    // The program's icon: the emblem alone, square, at the sizes desktops ask
    // for (a wide picture gives no window icon on X11).
    static QIcon productIcon();

    // The product picture at the given device pixel ratio.
    static QPixmap productPicture(qreal devicePixelRatio = 1.0);

    // Creates the splash, shows it and lets the pending window messages run,
    // so it is on the screen before the long work of building the window.
    static std::unique_ptr<TSplash> showNow();

protected:
    // A click closes the splash; the owner still deletes it.
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace vlr
