#include "search/search_results_model.h"

namespace vlr {

int TSearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TSearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TSearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const TSearchRow& r = m_rows.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case ColNote:
            return r.caption;
        case ColFirstMatch:
            return r.firstMatch;
        case ColRank:
            return QString::number(r.rank);
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == ColRank)
        return int(Qt::AlignCenter);
    return {};
}

QVariant TSearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole && section == ColRank)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ColNote:
        return QStringLiteral("Запись");
    case ColFirstMatch:
        return QStringLiteral("Первый совпавший текст");
    case ColRank:
        return QStringLiteral("Ранг");
    default:
        return {};
    }
}

void TSearchResultsModel::Append(const QList<TSearchRow>& rows) {
    if (rows.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows += rows;
    endInsertRows();
}

void TSearchResultsModel::Clear() {
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void TSearchResultsModel::RemoveIf(const std::function<bool(const TSearchRow&)>& pick) {
    // From the end, one removal per run of picked rows.
    int end = int(m_rows.size());
    while (end > 0) {
        while (end > 0 && !pick(m_rows.at(end - 1)))
            --end;
        int start = end;
        while (start > 0 && pick(m_rows.at(start - 1)))
            --start;
        if (start == end)
            break;
        beginRemoveRows({}, start, end - 1);
        m_rows.remove(start, end - start);
        endRemoveRows();
        end = start;
    }
}

} // namespace vlr
