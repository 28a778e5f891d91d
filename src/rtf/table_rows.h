#pragma once
// Row definitions of a table as RTF writes them: \trowd, then each cell's
// merge marks and borders and its right boundary (\cellx).
#include <QByteArray>

#include <vector>

class QTextTable;

namespace vlr::rtf {

// Right boundaries of the table's columns in twips, from its width constraints.
std::vector<int> columnRights(const QTextTable* table);

// "\trowd..." with one cell definition per column of the row. A cell that a
// merged cell covers keeps its column: \clmgf/\clmrg mark horizontal merges
// and \clvmgf/\clvmrg vertical ones, so readers that ignore merges still see
// every column in its place.
QByteArray rowDefinition(const QTextTable* table, int row, const std::vector<int>& rights);

} // namespace vlr::rtf
