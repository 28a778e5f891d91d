// The colour table: one colour per ';', automatic where no component was given.
#include "rtf/reader.h"

namespace vlr::rtf::detail {

void Interpreter::colorTableBytes(QByteArrayView bytes) {
    for (char c : bytes) {
        if (c != ';')
            continue;
        tables_.colors.push_back(colorSet_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colorSet_ = false;
    }
}

bool Interpreter::colorWord(const Word& w) {
    GroupState& g = cur();
    switch (w.kw) {
    case KwColorTbl:
        g.dest = g.dest == Dest::Normal ? Dest::ColorTable : Dest::Skip;
        colorSet_ = false;
        return true;
    case KwRed:
        red_ = qBound(0, w.p, 255);
        colorSet_ = true;
        return true;
    case KwGreen:
        green_ = qBound(0, w.p, 255);
        colorSet_ = true;
        return true;
    case KwBlue:
        blue_ = qBound(0, w.p, 255);
        colorSet_ = true;
        return true;
    default:
        return false;
    }
}

} // namespace vlr::rtf::detail
