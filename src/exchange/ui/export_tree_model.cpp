#include "exchange/ui/export_tree_model.h"

#include "exchange/export_tree.h"
#include "storage/node_root.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

namespace vlr {

TExportTreeModel::TExportTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TExportTreeModel::SetTree(TExportTree* tree) {
    beginResetModel();
    m_tree = tree;
    endResetModel();
}

void TExportTreeModel::Rebuilt() {
    beginResetModel();
    endResetModel();
}

TExportNode* TExportTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TExportNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TExportTreeModel::IndexOf(const TExportNode* node) const {
    return node ? createIndex(node->Index(), 0, const_cast<TExportNode*>(node)) : QModelIndex();
}

QModelIndex TExportTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!m_tree || !m_tree->Root() || column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? createIndex(0, 0, m_tree->Root()) : QModelIndex();
    TExportNode* p = NodeOf(parent);
    return row < p->Count() ? createIndex(row, 0, p->Child(row)) : QModelIndex();
}

QModelIndex TExportTreeModel::parent(const QModelIndex& child) const {
    const TExportNode* n = NodeOf(child);
    return n && n->Parent() ? IndexOf(n->Parent()) : QModelIndex();
}

int TExportTreeModel::rowCount(const QModelIndex& parent) const {
    if (!m_tree || !m_tree->Root())
        return 0;
    return parent.isValid() ? NodeOf(parent)->Count() : 1;
}

int TExportTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TExportTreeModel::data(const QModelIndex& index, int role) const {
    const TExportNode* n = NodeOf(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return n->Title();
    case Qt::CheckStateRole:
        return n->IsRoot() ? QVariant() : QVariant(n->Marked() ? Qt::Checked : Qt::Unchecked);
    case Qt::DecorationRole: {
        const TNodeRoot* nb = m_tree->Notebook();
        const int image = n->Source() ? n->Source()->ImageIndex() : -1;
        if (!nb || image < 0)
            return {};
        return QIcon(QPixmap::fromImage(nb->Images.image(image)));
    }
    default:
        return {};
    }
}

bool TExportTreeModel::setData(const QModelIndex& index, const QVariant&, int role) {
    if (role != Qt::CheckStateRole || !NodeOf(index))
        return false;
    // A click with Ctrl or Shift on a mark works on the node's subtree.
    ClickMark(index, QGuiApplication::keyboardModifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
    return true;
}

Qt::ItemFlags TExportTreeModel::flags(const QModelIndex& index) const {
    const TExportNode* n = NodeOf(index);
    if (!n)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
           (n->IsRoot() ? Qt::NoItemFlags : Qt::ItemIsUserCheckable);
}

void TExportTreeModel::ClickMark(const QModelIndex& index, bool withModifier) {
    TExportNode* n = NodeOf(index);
    if (!n || n->IsRoot())
        return;
    if (withModifier) {
        MarkBelow(index, !n->Marked());
        return;
    }
    m_tree->Toggle(n);
    emit dataChanged(index, index, {Qt::CheckStateRole});
}

void TExportTreeModel::MarkBelow(const QModelIndex& index, bool marked) {
    TExportNode* n = NodeOf(index);
    if (!n)
        return;
    m_tree->SetMarks(n, marked ? emMarked : emUnmarked);
    changedBelow(index);
}

void TExportTreeModel::changedBelow(const QModelIndex& index) {
    emit dataChanged(index, index, {Qt::CheckStateRole});
    const int rows = rowCount(index);
    if (rows == 0)
        return;
    emit dataChanged(this->index(0, 0, index), this->index(rows - 1, 0, index), {Qt::CheckStateRole});
    for (int i = 0; i < rows; ++i)
        if (NodeOf(this->index(i, 0, index))->Count() > 0)
            changedBelow(this->index(i, 0, index));
}

} // namespace vlr
