#include "rtf/table_layout.h"

#include <algorithm>

namespace vlr::rtf {

namespace {

// Boundaries this close (a pixel) are one: rows of one table seldom agree to the twip.
constexpr int kSnap = 15;

// A cell while the layout is worked out: its grid columns and the cell of
// the table it joins (itself when it is not merged into another).
struct Slot {
    int start = 0, end = 1;
    int originRow = 0, originCell = 0;
    int rows = 1;
};

// The rows' boundaries, each row's kept increasing (a boundary left of the
// one before it would make a cell of no width).
std::vector<std::vector<int>> rowBoundaries(const std::vector<RowRecord>& rows) {
    std::vector<std::vector<int>> out(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        int prev = 0;
        for (const CellDef& c : rows[r].def.cells) {
            if (int(out[r].size()) >= kMaxTableColumns)
                break;
            prev = std::max(c.right, prev + 1);
            out[r].push_back(prev);
        }
    }
    return out;
}

std::vector<int> unionGrid(const std::vector<std::vector<int>>& bounds) {
    std::vector<int> all;
    for (const auto& row : bounds)
        all.insert(all.end(), row.begin(), row.end());
    std::sort(all.begin(), all.end());
    std::vector<int> grid;
    for (int x : all) {
        if (grid.empty() || x - grid.back() >= kSnap)
            grid.push_back(x);
    }
    return grid;
}

} // namespace

const CellPlace* cellPlace(const std::vector<CellPlace>& places, int cell) {
    if (places.empty())
        return nullptr;
    return &places[size_t(std::clamp(cell, 0, int(places.size()) - 1))];
}

bool joinsAnotherCell(const std::vector<CellPlace>& places, int cell) {
    return cell >= int(places.size()) || places[size_t(cell)].covered;
}

TableLayout layoutTable(const std::vector<RowRecord>& rows, int depth) {
    TableLayout out;
    TableInfo& info = out.info;
    info.rows = int(rows.size());
    info.depth = depth;
    info.rtl = !rows.empty() && rows.front().def.rtl;

    std::vector<std::vector<int>> bounds = rowBoundaries(rows);
    std::vector<int> grid = unionGrid(bounds);
    // Rows too different to share a grid: one column per cell, widths from the first row.
    const bool ownColumns = int(grid.size()) > kMaxTableColumns;
    if (ownColumns) {
        grid.clear();
        for (auto& b : bounds)
            b.clear();
    }
    const auto gridIndex = [&grid](int x) {
        return int(std::lower_bound(grid.begin(), grid.end(), x - kSnap + 1) - grid.begin());
    };

    // Columns: each cell from where the one before it ends to its own boundary.
    std::vector<std::vector<Slot>> placed(rows.size());
    int columns = int(grid.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        const int n = std::max(0, rows[r].cells);
        placed[r].resize(size_t(n));
        int col = 0;
        for (int i = 0; i < n; ++i) {
            Slot& s = placed[r][size_t(i)];
            s.originRow = int(r);
            s.originCell = i;
            if (col >= kMaxTableColumns && i > 0) {
                s = placed[r][size_t(i - 1)]; // past the last column: joins the cell before
                continue;
            }
            s.start = col;
            s.end =
                i < int(bounds[r].size()) ? std::max(col + 1, gridIndex(bounds[r][size_t(i)]) + 1) : col + 1;
            s.end = std::min(s.end, kMaxTableColumns);
            col = s.end;
            columns = std::max(columns, col);
        }
    }

    // Merges across: a \clmrg cell joins the cell before it. One that starts a
    // row has nothing to join and stays a cell of its own.
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto& defs = rows[r].def.cells;
        for (size_t i = 1; i < placed[r].size() && i < defs.size(); ++i) {
            Slot& s = placed[r][i];
            if (defs[i].hmerge != 2 || s.originCell != int(i))
                continue;
            const Slot before = placed[r][i - 1];
            Slot& origin = placed[r][size_t(before.originCell)];
            origin.end = std::max(origin.end, s.end);
            s.originCell = before.originCell;
        }
    }

    // Merges down: a \clvmrg cell joins the cell above when that cell covers
    // the same columns; otherwise (a merge pointing nowhere) it stays its own.
    // Rows are taken from the top, so the cell above already knows its merge's first cell.
    for (size_t r = 1; r < rows.size(); ++r) {
        const auto& defs = rows[r].def.cells;
        for (size_t i = 0; i < placed[r].size() && i < defs.size(); ++i) {
            Slot& s = placed[r][i];
            if (defs[i].vmerge != 2 || s.originCell != int(i))
                continue;
            const int up = int(r) - 1;
            for (size_t j = 0; j < placed[size_t(up)].size(); ++j) {
                const Slot& above = placed[size_t(up)][j];
                const bool joinedAcross = above.originRow == up && above.originCell != int(j);
                if (joinedAcross || above.start != s.start || above.end != s.end)
                    continue;
                const int firstRow = above.originRow == up ? up : above.originRow;
                const int firstCell = above.originRow == up ? int(j) : above.originCell;
                placed[size_t(firstRow)][size_t(firstCell)].rows = int(r) - firstRow + 1;
                s.originRow = firstRow;
                s.originCell = firstCell;
                break;
            }
        }
    }

    // Each cell shows in its merge's first cell: one joined across points to
    // a cell of its row, which may itself have joined the cell above.
    out.places.resize(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t i = 0; i < placed[r].size(); ++i) {
            const Slot& s = placed[r][i];
            int fr = s.originRow, fc = s.originCell;
            if (fr == int(r) && fc != int(i)) {
                const Slot& across = placed[r][size_t(fc)];
                fr = across.originRow;
                fc = across.originCell;
            }
            const Slot& first = placed[size_t(fr)][size_t(fc)];
            CellPlace p;
            p.row = fr;
            p.column = first.start;
            p.rows = first.rows;
            p.columns = first.end - first.start;
            p.covered = fr != int(r) || fc != int(i);
            out.places[r].push_back(p);
            if (!p.covered && (p.rows > 1 || p.columns > 1))
                info.spans.push_back(p);
        }
    }

    info.columns = std::max(1, columns);
    info.columnWidth.assign(size_t(info.columns), 0);
    if (!ownColumns) {
        for (size_t c = 0; c < grid.size(); ++c)
            info.columnWidth[c] = std::max(1, grid[c] - (c ? grid[c - 1] : 0));
    } else if (!rows.empty()) {
        int left = 0;
        size_t c = 0;
        for (const CellDef& d : rows.front().def.cells) {
            if (c >= info.columnWidth.size())
                break;
            info.columnWidth[c++] = std::max(1, d.right - left);
            left = std::max(left, d.right);
        }
    }
    return out;
}

} // namespace vlr::rtf
