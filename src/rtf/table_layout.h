#pragma once
// Lays a table out once all its rows are known: one grid of columns from
// the union of the rows' cell boundaries, each cell spanning the columns its
// own boundaries cover, and the merges across and down.
#include "rtf/state.h"

#include <vector>

namespace vlr::rtf {

// At most this many grid columns; the text of cells beyond joins the last one.
constexpr int kMaxTableColumns = 64;

struct RowRecord {
    RowInfo def;   // the row's definition
    int cells = 0; // how many cells the row holds
};

struct TableLayout {
    TableInfo info;
    std::vector<std::vector<CellPlace>> places; // per row, per cell
};

TableLayout layoutTable(const std::vector<RowRecord>& rows, int depth);

// Where a row's cell shows. A cell past the row's places (only in damaged
// input) joins the last one; null for a row without cells.
const CellPlace* cellPlace(const std::vector<CellPlace>& places, int cell);

// Whether the cell's content goes after another cell's: merged into it, or past the row's places.
bool joinsAnotherCell(const std::vector<CellPlace>& places, int cell);

// Where the content of a table's next cell goes while its rows are read.
struct CellCursor {
    int row = -1;
    int cell = 0;
    std::vector<CellPlace> places; // the current row's

    void startRow(const RowInfo& r) {
        ++row;
        cell = 0;
        places = r.places;
    }
    const CellPlace* place() const { return cellPlace(places, cell); }
    bool joins() const { return joinsAnotherCell(places, cell); }
};

} // namespace vlr::rtf
