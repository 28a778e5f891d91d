#include "storage/images/default_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace vlr {

namespace {

// Drawn at run time on a 16 x 16 transparent cell; the list turns the soft
// edges into the strip's hard transparency.
constexpr int kSize = 16;

const QColor kInk(48, 48, 48);
const QColor kPaper(255, 255, 255);
const QColor kPaperLine(120, 150, 200);
const QColor kFolder(240, 196, 64);
const QColor kFolderDark(170, 120, 20);

using Draw = void (*)(QPainter&);

struct Picture {
    const char* name;
    Draw draw;
};

QPen pen(const QColor& c, qreal width = 1) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void notebook(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(QColor(40, 100, 200));
    p.drawRect(3, 1, 11, 14);
    p.fillRect(6, 4, 6, 3, kPaper);
    p.fillRect(4, 2, 1, 13, QColor(20, 60, 140));
    // Spiral rings over the left edge.
    for (int y = 3; y <= 13; y += 3) {
        p.fillRect(1, y, 4, 1, QColor(200, 200, 200));
        p.fillRect(1, y + 1, 4, 1, QColor(110, 110, 110));
    }
}

void note(QPainter& p) {
    p.setPen(QColor(100, 100, 100));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 0), QPoint(14, 4), QPoint(14, 15), QPoint(2, 15)}));
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygon({QPoint(10, 0), QPoint(10, 4), QPoint(14, 4)}));
    for (int y = 6; y <= 12; y += 2)
        p.fillRect(4, y, y == 12 ? 5 : 8, 1, kPaperLine);
}

void notebookOpen(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(QColor(40, 100, 200));
    p.drawPolygon(QPolygon({QPoint(0, 4), QPoint(15, 4), QPoint(15, 14), QPoint(0, 14)}));
    p.setPen(QColor(110, 110, 110));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygon({QPoint(1, 2), QPoint(7, 3), QPoint(7, 13), QPoint(1, 12)}));
    p.drawPolygon(QPolygon({QPoint(8, 3), QPoint(14, 2), QPoint(14, 12), QPoint(8, 13)}));
    for (int y = 5; y <= 10; y += 2) {
        p.fillRect(2, y, 4, 1, kPaperLine);
        p.fillRect(10, y, 3, 1, kPaperLine);
    }
}

void folderShape(QPainter& p, const QColor& fill) {
    p.setPen(kFolderDark);
    p.setBrush(fill);
    p.drawPolygon(
        QPolygon({QPoint(0, 3), QPoint(5, 3), QPoint(7, 5), QPoint(15, 5), QPoint(15, 13), QPoint(0, 13)}));
}

void folderClosed(QPainter& p) {
    folderShape(p, kFolder);
    p.fillRect(1, 6, 14, 1, QColor(255, 230, 150));
}

void folderOpen(QPainter& p) {
    folderShape(p, QColor(200, 150, 40));
    p.setPen(kFolderDark);
    p.setBrush(QColor(255, 214, 100));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(0, 13)}));
}

void star(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF poly;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2) ? 3.2 : 7.8;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        poly << QPointF(8 + r * std::cos(a), 8.6 + r * std::sin(a));
    }
    p.setPen(pen(QColor(190, 120, 0)));
    p.setBrush(QColor(255, 210, 0));
    p.drawPolygon(poly);
}

void flag(QPainter& p) {
    p.fillRect(2, 1, 2, 15, QColor(110, 70, 30));
    p.setPen(QColor(150, 0, 0));
    p.setBrush(QColor(230, 30, 30));
    p.drawPolygon(QPolygon({QPoint(4, 1), QPoint(14, 1), QPoint(11, 5), QPoint(14, 9), QPoint(4, 9)}));
}

void check(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(0, 90, 0), 4));
    p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6, 12), QPointF(13.5, 3)}));
    p.setPen(pen(QColor(40, 190, 40), 2.2));
    p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6, 12), QPointF(13.5, 3)}));
}

void warning(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(60, 40, 0)));
    p.setBrush(QColor(255, 200, 0));
    p.drawPolygon(QPolygonF({QPointF(8, 0.8), QPointF(15.2, 14.5), QPointF(0.8, 14.5)}));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(7, 5, 2, 5, Qt::black);
    p.fillRect(7, 11, 2, 2, Qt::black);
}

void bulb(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(170, 130, 0)));
    p.setBrush(QColor(255, 235, 80));
    p.drawEllipse(QRectF(2.5, 0.5, 11, 11));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(5, 3, 2, 3, kPaper);
    p.fillRect(6, 11, 5, 4, QColor(130, 130, 130));
    p.fillRect(6, 12, 5, 1, QColor(200, 200, 200));
    p.fillRect(7, 15, 3, 1, kInk);
}

void question(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(0, 60, 150)));
    p.setBrush(QColor(40, 120, 230));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QPainterPath mark;
    mark.arcMoveTo(QRectF(5, 3, 6, 5.5), 160);
    mark.arcTo(QRectF(5, 3, 6, 5.5), 160, -250);
    mark.lineTo(8, 9.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kPaper, 2));
    p.drawPath(mark);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(7, 11, 2, 2, kPaper);
}

void heart(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(8, 4.5);
    path.cubicTo(8, 1, 1, 0.5, 1, 5.5);
    path.cubicTo(1, 9.5, 6, 12, 8, 14.8);
    path.cubicTo(10, 12, 15, 9.5, 15, 5.5);
    path.cubicTo(15, 0.5, 8, 1, 8, 4.5);
    p.setPen(pen(QColor(140, 0, 20)));
    p.setBrush(QColor(230, 30, 60));
    p.drawPath(path);
    p.fillRect(4, 4, 2, 2, QColor(255, 150, 160));
}

void clock(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(0.6, 0.6, 14.8, 14.8));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(7, 2, 2, 1, kInk);
    p.fillRect(7, 13, 2, 1, kInk);
    p.fillRect(2, 7, 1, 2, kInk);
    p.fillRect(13, 7, 1, 2, kInk);
    p.fillRect(7, 4, 2, 5, QColor(0, 0, 0));
    p.fillRect(9, 7, 3, 2, QColor(200, 0, 0));
}

void calendar(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(1, 2, 13, 13);
    p.fillRect(2, 3, 12, 3, QColor(220, 40, 40));
    p.fillRect(4, 1, 1, 3, kInk);
    p.fillRect(11, 1, 1, 3, kInk);
    for (int y = 7; y <= 13; y += 3)
        for (int x = 3; x <= 12; x += 3)
            p.fillRect(x, y, 2, 2, (x == 9 && y == 10) ? QColor(220, 40, 40) : QColor(140, 140, 140));
}

void person(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(60, 80, 130)));
    p.setBrush(QColor(70, 120, 210));
    p.drawChord(QRectF(1.5, 9, 13, 13), 0, 180 * 16);
    p.setPen(pen(QColor(150, 100, 50)));
    p.setBrush(QColor(245, 200, 150));
    p.drawEllipse(QRectF(4.5, 1, 7, 7.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 30));
    p.drawChord(QRectF(4.5, 1, 7, 6), 10 * 16, 160 * 16);
}

void key(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    const QColor gold(230, 180, 30);
    const QColor dark(130, 90, 0);
    p.setPen(pen(dark));
    p.setBrush(gold);
    p.drawRect(QRectF(6.5, 6.5, 9, 3));
    p.drawRect(QRectF(10.5, 9.5, 2, 3));
    p.drawRect(QRectF(13.5, 9.5, 2, 2));
    p.drawEllipse(QRectF(0.5, 3.5, 8, 9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 6.5, 2.5, 3));
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(3, 7, 2, 2, Qt::transparent);
}

void lock(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(110, 110, 110), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 1, 8, 10), 0, 180 * 16);
    p.drawLine(QPointF(4, 6), QPointF(4, 8));
    p.drawLine(QPointF(12, 6), QPointF(12, 8));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(130, 90, 0));
    p.setBrush(QColor(235, 185, 40));
    p.drawRect(1, 7, 13, 8);
    p.fillRect(7, 9, 2, 2, kInk);
    p.fillRect(7, 11, 2, 2, kInk);
}

void link(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(8, 8);
    p.rotate(-45);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(50, 70, 120), 3.2));
    p.drawRoundedRect(QRectF(-9, -2.5, 10, 5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(-1, -2.5, 10, 5), 2.5, 2.5);
    p.setPen(pen(QColor(140, 170, 230), 1.4));
    p.drawRoundedRect(QRectF(-9, -2.5, 10, 5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(-1, -2.5, 10, 5), 2.5, 2.5);
}

void book(QPainter& p) {
    // A bound book seen from the front, its page block at the bottom.
    p.setPen(QColor(90, 20, 10));
    p.setBrush(QColor(180, 40, 30));
    p.drawRect(2, 0, 11, 13);
    p.fillRect(3, 1, 2, 12, QColor(120, 25, 15));
    p.fillRect(7, 3, 5, 1, QColor(250, 210, 60));
    p.fillRect(7, 5, 5, 1, QColor(250, 210, 60));
    p.fillRect(3, 13, 11, 2, QColor(245, 240, 225));
    p.setPen(QColor(90, 20, 10));
    p.drawLine(2, 15, 13, 15);
    p.drawLine(13, 13, 13, 15);
    p.drawLine(2, 13, 2, 15);
}

void penPicture(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(8, 8);
    p.rotate(-45);
    p.setPen(pen(QColor(120, 80, 0)));
    p.setBrush(QColor(250, 200, 40));
    p.drawRect(QRectF(-7, -2.2, 10, 4.4));
    p.setBrush(QColor(240, 130, 150));
    p.drawRect(QRectF(-9, -2.2, 2, 4.4));
    p.setBrush(QColor(245, 220, 180));
    p.drawPolygon(QPolygonF({QPointF(3, -2.2), QPointF(8.5, 0), QPointF(3, 2.2)}));
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(6.5, -0.8), QPointF(8.5, 0), QPointF(6.5, 0.8)}));
}

void trash(QPainter& p) {
    const QColor body(150, 160, 170);
    const QColor dark(70, 80, 90);
    p.setPen(dark);
    p.setBrush(body);
    p.drawPolygon(QPolygon({QPoint(3, 4), QPoint(12, 4), QPoint(11, 15), QPoint(4, 15)}));
    p.drawRect(1, 2, 13, 2);
    p.drawRect(6, 0, 3, 2);
    for (int x = 5; x <= 9; x += 2)
        p.fillRect(x + 1, 6, 1, 7, dark);
}

void mail(QPainter& p) {
    p.setPen(QColor(90, 90, 110));
    p.setBrush(QColor(250, 250, 235));
    p.drawRect(0, 3, 15, 10);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(90, 90, 110)));
    p.drawPolyline(QPolygonF({QPointF(0.5, 3.5), QPointF(8, 9.5), QPointF(15.5, 3.5)}));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(11, 5, 3, 3, QColor(220, 40, 40));
}

void phone(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(20, 20, 20)));
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(3.5, 0.5, 9, 15), 2, 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(5, 2, 6, 6, QColor(120, 200, 250));
    for (int y = 9; y <= 13; y += 2)
        for (int x = 5; x <= 9; x += 2)
            p.fillRect(x, y, 1, 1, QColor(220, 220, 220));
}

void home(QPainter& p) {
    p.setPen(QColor(110, 80, 50));
    p.setBrush(QColor(240, 220, 170));
    p.drawRect(2, 7, 11, 8);
    p.fillRect(10, 1, 2, 5, QColor(120, 60, 40));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(130, 20, 10)));
    p.setBrush(QColor(210, 50, 30));
    p.drawPolygon(QPolygonF({QPointF(0.5, 8.5), QPointF(8, 1), QPointF(15.5, 8.5)}));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(6, 10, 3, 5, QColor(120, 70, 30));
    p.fillRect(10, 9, 2, 2, QColor(120, 190, 240));
}

void gear(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF poly;
    constexpr int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double r = (i % 4 < 2) ? 7.6 : 5.4;
        const double a = (i - 0.5) * std::numbers::pi * 2 / (teeth * 4);
        poly << QPointF(8 + r * std::cos(a), 8 + r * std::sin(a));
    }
    p.setPen(pen(QColor(60, 70, 80)));
    p.setBrush(QColor(150, 160, 175));
    p.drawPolygon(poly);
    p.setBrush(QColor(100, 110, 125));
    p.drawEllipse(QPointF(8, 8), 3, 3);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(8, 8), 1.6, 1.6);
}

void music(QPainter& p) {
    const QColor ink(30, 40, 120);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(ink));
    p.setBrush(ink);
    p.drawEllipse(QRectF(1, 10.5, 5, 4));
    p.drawEllipse(QRectF(9, 9, 5, 4));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(5, 3, 2, 10, ink);
    p.fillRect(13, 2, 2, 10, ink);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawPolygon(QPolygonF({QPointF(5, 2.5), QPointF(15, 1), QPointF(15, 4), QPointF(5, 5.5)}));
}

void camera(QPainter& p) {
    p.setPen(QColor(20, 20, 20));
    p.setBrush(QColor(70, 70, 80));
    p.drawRect(5, 2, 5, 2);
    p.drawRect(0, 4, 15, 10);
    p.fillRect(12, 5, 2, 2, QColor(255, 220, 60));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(200, 200, 210), 1.2));
    p.setBrush(QColor(40, 90, 160));
    p.drawEllipse(QPointF(7.5, 9), 3.8, 3.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 210, 255));
    p.drawEllipse(QPointF(6.5, 8), 1.2, 1.2);
}

void smile(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(170, 120, 0)));
    p.setBrush(QColor(255, 220, 40));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(5.5, 6), 1.2, 1.5);
    p.drawEllipse(QPointF(10.5, 6), 1.2, 1.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kInk, 1.3));
    p.drawArc(QRectF(4, 5, 8, 6.5), 200 * 16, 140 * 16);
}

void globe(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen(QColor(0, 70, 130)));
    p.setBrush(QColor(80, 160, 230));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 170, 60));
    p.drawPolygon(QPolygonF({QPointF(3, 3.5), QPointF(7, 2.5), QPointF(8, 6), QPointF(6, 9), QPointF(3, 8)}));
    p.drawPolygon(
        QPolygonF({QPointF(9, 8), QPointF(13, 7), QPointF(14, 11), QPointF(10, 14), QPointF(9, 11)}));
}

constexpr Picture kPictures[] = {
    // New notes take picture 0 and new notebooks picture 1 by default.
    {"note", note},
    {"notebook", notebook},
    {"notebook-open", notebookOpen},
    {"folder", folderClosed},
    {"folder-open", folderOpen},
    {"star", star},
    {"flag", flag},
    {"check", check},
    {"warning", warning},
    {"idea", bulb},
    {"question", question},
    {"heart", heart},
    {"clock", clock},
    {"calendar", calendar},
    {"person", person},
    {"key", key},
    {"lock", lock},
    {"link", link},
    {"book", book},
    {"pen", penPicture},
    {"trash", trash},
    {"mail", mail},
    {"phone", phone},
    {"home", home},
    {"gear", gear},
    {"music", music},
    {"camera", camera},
    {"smile", smile},
    {"globe", globe},
};

TMyImageList buildDefaultImages() {
    TMyImageList list(kSize, kSize);
    for (const Picture& picture : kPictures) {
        QImage cell(kSize, kSize, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        {
            QPainter painter(&cell);
            picture.draw(painter);
        }
        list.Add(cell);
    }
    return list;
}

} // namespace

TMyImageList defaultImages() {
    static const TMyImageList images = buildDefaultImages();
    return images;
}

QStringList defaultImageNames() {
    QStringList names;
    for (const Picture& picture : kPictures)
        names << QString::fromLatin1(picture.name);
    return names;
}

} // namespace vlr
