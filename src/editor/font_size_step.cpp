#include "editor/font_size_step.h"

#include <algorithm>
#include <iterator>

namespace vlr {

namespace {

// 1: whole points, 2: even points, 3: the jumps 28, 36, 48, 72, 80, 4: tens.
int band(int size) {
    return size <= 12 ? 1 : size <= 28 ? 2 : size <= 80 ? 3 : 4;
}

} // namespace

int steppedFontSize(int size, int delta) {
    size = std::clamp(size, 1, 1638);
    delta = std::clamp(delta, -1638, 1638);
    const int raw = std::clamp(size + delta, 1, 1638);
    const bool up = delta > 0;
    // The coarser rounding of the old and the new size decides (14 - 3 gives
    // 10, 10 + 3 gives 14), as long as the new size lies in its range.
    int b = std::max(band(size), band(raw));
    if (b == 4 && raw < 80)
        b = 3;
    if (b == 3 && raw < 28)
        b = 2;
    int result = raw;
    switch (b) {
    case 2:
        if (raw % 2)
            result = up ? raw + 1 : raw - 1;
        break;
    case 3: {
        static const int jumps[] = {28, 36, 48, 72, 80};
        if (up) {
            result = *std::find_if(std::begin(jumps), std::end(jumps), [&](int j) { return j >= raw; });
        } else {
            for (int j : jumps) {
                if (j <= raw)
                    result = j;
            }
        }
        break;
    }
    case 4:
        if (raw % 10)
            result = up ? (raw / 10 + 1) * 10 : (raw / 10) * 10;
        break;
    default:
        break;
    }
    return std::clamp(result, 1, 1638);
}

} // namespace vlr
