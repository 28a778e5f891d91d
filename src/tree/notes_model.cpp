#include "tree/notes_model.h"

#include "storage/node_root.h"
#include "storage/notebook_service.h"

#include <algorithm>

namespace vlr {

TNotesModel::TNotesModel(TNotebookService& service, QObject* parent)
    : QAbstractItemModel(parent), m_service(&service), m_forest(&service.Forest()) {
    m_forest->addObserver(this);
}

TNotesModel::~TNotesModel() {
    // The service takes its forest with it; a model that outlives it has
    // nobody left to leave.
    if (m_service)
        m_forest->removeObserver(this);
}

QModelIndex TNotesModel::IndexOf(const TTreeNode* node) const {
    if (!node)
        return {};
    const int row = node->Index();
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<TTreeNode*>(node));
}

TTreeNode* TNotesModel::NodeOf(const QModelIndex& index) {
    return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TNotesModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid()) {
        const TNoteForest* f = forest();
        return f && row < f->RootCount() ? createIndex(row, 0, f->RootAt(row)) : QModelIndex();
    }
    const TTreeNode* p = NodeOf(parent);
    return p && row < p->Count() ? createIndex(row, 0, p->Child(row)) : QModelIndex();
}

QModelIndex TNotesModel::parent(const QModelIndex& child) const {
    const TTreeNode* node = NodeOf(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TNotesModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return forest() ? forest()->RootCount() : 0;
    if (parent.column() != 0)
        return 0;
    const TTreeNode* node = NodeOf(parent);
    return node ? node->Count() : 0;
}

int TNotesModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TNotesModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant TNotesModel::data(const QModelIndex& index, int role) const {
    const TTreeNode* node = NodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return node->Text();
    case Qt::DecorationRole: {
        const TNodeRoot* nb = TNotebookService::NotebookOf(node);
        const QImage image = nb ? nb->Images.image(node->ImageIndex()) : QImage();
        return image.isNull() ? QVariant() : QVariant(image);
    }
    case ExpandedRole:
        return node->Expanded();
    case CutRole:
        return node->Cut();
    case ChildCountRole:
        return node->Count();
    case StateIndexRole:
        return node->StateIndex();
    default:
        return {};
    }
}

Qt::ItemFlags TNotesModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool TNotesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TTreeNode* node = NodeOf(index);
    if (!node || role != Qt::EditRole)
        return false;
    emit labelEdited(node, value.toString());
    return true;
}

void TNotesModel::nodesAboutToBeInserted(TTreeNode* parent, int first, int last) {
    beginInsertRows(IndexOf(parent), first, last);
}

void TNotesModel::nodesInserted(TTreeNode*, int, int) {
    endInsertRows();
}

void TNotesModel::nodeAboutToBeRemoved(TTreeNode* node) {
    const int row = node->Index();
    beginRemoveRows(IndexOf(node->Parent()), row, row);
}

void TNotesModel::nodeRemoved(TTreeNode*, int) {
    endRemoveRows();
}

void TNotesModel::nodeAboutToBeMoved(TTreeNode* node, TTreeNode* newParent, int row) {
    const int from = node->Index();
    const int count = newParent ? newParent->Count() : m_forest->RootCount();
    // A move onto its own place changes nothing and is not announced.
    m_moveAnnounced =
        beginMoveRows(IndexOf(node->Parent()), from, from, IndexOf(newParent), std::clamp(row, 0, count));
}

void TNotesModel::nodeMoved(TTreeNode*) {
    if (m_moveAnnounced)
        endMoveRows();
    m_moveAnnounced = false;
}

void TNotesModel::nodeChanged(TTreeNode* node) {
    const QModelIndex index = IndexOf(node);
    if (index.isValid())
        emit dataChanged(index, index);
}

void TNotesModel::forestAboutToBeReset() {
    beginResetModel();
}

void TNotesModel::forestReset() {
    endResetModel();
}

} // namespace vlr
