#pragma once
// The export tree shown with its marks as check boxes and the notebook's pictures.
#include <QAbstractItemModel>

namespace vlr {

class TExportNode;
class TExportTree;

class TExportTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TExportTreeModel(QObject* parent = nullptr);

    // The tree is not owned; the model resets around a rebuild.
    void SetTree(TExportTree* tree);
    void Rebuilt();
    TExportNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const TExportNode* node) const;
    // A click on a mark: plain toggles it; with Ctrl or Shift a marked
    // node's subtree is unmarked, an unmarked node's marked.
    void ClickMark(const QModelIndex& index, bool withModifier);
    // The buttons: the selected node and its descendants (the root: every note).
    void MarkBelow(const QModelIndex& index, bool marked);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void changedBelow(const QModelIndex& index);

    TExportTree* m_tree = nullptr;
};

} // namespace vlr
