#pragma once
// The result list of the search dialog: one row per match, three columns
// (note, first matching text, rank).
#include "search/note_matcher.h"

#include <QAbstractTableModel>

#include <functional>

namespace vlr {

class TSearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColNote = 0, ColFirstMatch = 1, ColRank = 2, ColumnCount = 3 };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Rows go in at the end in one insertion.
    void Append(const QList<TSearchRow>& rows);
    void Clear();
    const TSearchRow& Row(int i) const { return m_rows.at(i); }
    const QList<TSearchRow>& Rows() const { return m_rows; }
    // Takes out every row the predicate picks.
    void RemoveIf(const std::function<bool(const TSearchRow&)>& pick);

private:
    QList<TSearchRow> m_rows;
};

} // namespace vlr
