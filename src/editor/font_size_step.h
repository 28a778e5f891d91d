#pragma once
// The standard font size sequence a one-step grow or shrink moves along:
// whole points up to 12, even points up to 28, then 36, 48, 72, 80 and tens
// of points up to 1638.
namespace vlr {

// The size after adding `delta` points to `size`, rounded up when delta is
// positive and down otherwise, within 1..1638.
int steppedFontSize(int size, int delta);

} // namespace vlr
