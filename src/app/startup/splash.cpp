#include "app/startup/splash.h"

#include <QApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

namespace vlr {

namespace {

const QColor kNight(0x10, 0x1b, 0x2b);
const QColor kDusk(0x22, 0x37, 0x52);
const QColor kCover(0x2f, 0x8f, 0x83);
const QColor kCoverDeep(0x1c, 0x63, 0x5b);
const QColor kPaper(0xf6, 0xf2, 0xe8);
const QColor kPaperShade(0xdd, 0xd6, 0xc6);
const QColor kAmber(0xe0, 0x8e, 0x36);
const QColor kTitle(0xf4, 0xf1, 0xea);
const QColor kSubtitle(0xa9, 0xbb, 0xd0);

void paintBackground(QPainter& p, const QRectF& r) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, kDusk);
    sky.setColorAt(1, kNight);
    p.fillRect(r, sky);
    // A soft light behind the emblem.
    QRadialGradient glow(QPointF(110, 130), 150);
    glow.setColorAt(0, QColor(90, 150, 210, 70));
    glow.setColorAt(1, QColor(90, 150, 210, 0));
    p.fillRect(r, glow);
    p.setPen(QPen(QColor(0x3c, 0x56, 0x75), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

// A ring-bound notebook with a label and a ribbon bookmark.
void paintEmblem(QPainter& p) {
    const QRectF cover(48, 48, 112, 158);

    QRadialGradient shadow(QPointF(108, 224), 70);
    shadow.setColorAt(0, QColor(0, 0, 0, 110));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(108, 224), 72, 9);

    // The page block shows at the right and the bottom.
    p.setBrush(kPaperShade);
    p.drawRoundedRect(cover.translated(9, 6), 7, 7);
    p.setBrush(kPaper);
    p.drawRoundedRect(cover.translated(5, 3), 7, 7);

    QPainterPath coverPath;
    coverPath.addRoundedRect(cover, 8, 8);
    QLinearGradient face(cover.topLeft(), cover.topRight());
    face.setColorAt(0, kCover);
    face.setColorAt(1, kCoverDeep);
    p.fillPath(coverPath, face);
    p.save();
    p.setClipPath(coverPath);
    p.fillRect(QRectF(cover.left(), cover.top(), 24, cover.height()), kCoverDeep.darker(125));
    p.restore();

    // Rings along the spine.
    for (int i = 0; i < 6; ++i) {
        const QPointF c(cover.left() + 12, cover.top() + 20 + i * 24);
        p.setBrush(QColor(0xd9, 0xde, 0xe5));
        p.drawEllipse(c, 5.5, 5.5);
        p.setBrush(kNight);
        p.drawEllipse(c, 2.2, 2.2);
    }

    // The label with a monogram.
    const QRectF label(cover.left() + 33, cover.top() + 30, 52, 44);
    p.setBrush(kPaper);
    p.setPen(QPen(kAmber, 1.5));
    p.drawRoundedRect(label, 4, 4);
    QPainterPath mono;
    const qreal cx = label.center().x();
    mono.moveTo(cx - 12, label.top() + 10);
    mono.lineTo(cx, label.bottom() - 9);
    mono.lineTo(cx + 12, label.top() + 10);
    p.setPen(QPen(kCoverDeep, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mono);

    // Two lines of "writing" under the label.
    p.setPen(QPen(QColor(255, 255, 255, 70), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(label.left() + 4, label.bottom() + 22),
               QPointF(label.right() - 4, label.bottom() + 22));
    p.drawLine(QPointF(label.left() + 4, label.bottom() + 32),
               QPointF(label.right() - 18, label.bottom() + 32));

    // The ribbon hangs out below the pages.
    QPainterPath ribbon;
    const qreal rx = cover.right() - 20;
    ribbon.moveTo(rx, cover.top());
    ribbon.lineTo(rx + 10, cover.top());
    ribbon.lineTo(rx + 10, cover.bottom() + 22);
    ribbon.lineTo(rx + 5, cover.bottom() + 15);
    ribbon.lineTo(rx, cover.bottom() + 22);
    ribbon.closeSubpath();
    p.setPen(Qt::NoPen);
    p.fillPath(ribbon, kAmber);
}

void paintTitle(QPainter& p, const QFont& base) {
    QFont title = base;
    title.setPixelSize(46);
    title.setWeight(QFont::DemiBold);
    title.setLetterSpacing(QFont::PercentageSpacing, 103);
    p.setFont(title);
    p.setPen(kTitle);
    p.drawText(QPointF(196, 126), QStringLiteral("Vellinor"));

    p.setPen(QPen(kAmber, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(199, 146), QPointF(404, 146));

    QFont version = base;
    version.setPixelSize(16);
    p.setFont(version);
    p.setPen(kSubtitle);
    p.drawText(QPointF(199, 176), kSplashVersionText);
}

} // namespace

QIcon TSplash::productIcon() {
    // The emblem with its shadow spans about 144 x 185 units around (108, 140).
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal scale = size / 190.0;
        p.translate(size / 2.0, size / 2.0);
        p.scale(scale, scale);
        p.translate(-108, -140);
        paintEmblem(p);
        p.end();
        icon.addPixmap(picture);
    }
    return icon;
}

QPixmap TSplash::productPicture(qreal devicePixelRatio) {
    QPixmap picture(QSize(kWidth, kHeight) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(kNight);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(p, QRectF(0, 0, kWidth, kHeight));
    paintEmblem(p);
    paintTitle(p, QApplication::font());
    return picture;
}

TSplash::TSplash(QScreen* screen)
    : QSplashScreen(screen ? screen : QGuiApplication::primaryScreen(),
                    productPicture(screen ? screen->devicePixelRatio() : qApp->devicePixelRatio()),
                    Qt::FramelessWindowHint) {}

std::unique_ptr<TSplash> TSplash::showNow() {
    auto splash = std::make_unique<TSplash>();
    splash->show();
    QCoreApplication::processEvents();
    return splash;
}

void TSplash::mousePressEvent(QMouseEvent*) {
    close();
}

} // namespace vlr
