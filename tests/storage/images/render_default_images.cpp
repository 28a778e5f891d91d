// Developer tool: draws the built-in pictures 8 times enlarged into a PNG so
// that they can be checked by eye. Usage: render_default_images [out.png]
#include "storage/images/default_images.h"

#include <QCoreApplication>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/defimg.png");
    const vlr::TMyImageList list = vlr::defaultImages();
    constexpr int kScale = 8;
    constexpr int kColumns = 8;
    const int cellW = list.Width() * kScale + 8;
    const int cellH = list.Height() * kScale + 8;
    const int rows = (list.Count() + kColumns - 1) / kColumns;
    QImage sheet(kColumns * cellW, rows * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(235, 235, 235));
    QPainter painter(&sheet);
    for (int i = 0; i < list.Count(); ++i) {
        const int x = (i % kColumns) * cellW + 4;
        const int y = (i / kColumns) * cellH + 4;
        painter.fillRect(x, y, cellW - 8, cellH - 8, Qt::white);
        painter.drawImage(QRect(x, y, cellW - 8, cellH - 8), list.image(i));
    }
    painter.end();
    if (!sheet.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
