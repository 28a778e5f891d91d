#pragma once
// The forest of open notebooks as a Qt item model: one column, every
// notebook a top-level row, its notes below. The model keeps nothing per
// node: an index carries its TTreeNode, and parents and rows come from the
// nodes themselves. The forest's notifications map one to one onto the
// model's, so views follow every change the notebook service makes.
#include "storage/note_forest.h"
#include "storage/notebook_service.h"

#include <QAbstractItemModel>
#include <QPointer>

namespace vlr {

class TNotesModel : public QAbstractItemModel, private ForestObserver {
    Q_OBJECT
public:
    enum Role {
        ExpandedRole = Qt::UserRole + 1, // bool: the node's stored expanded state
        CutRole,                         // bool: marked for a move
        ChildCountRole,                  // int: direct children
        StateIndexRole,                  // int: the node's state picture, -1 none
    };

    explicit TNotesModel(TNotebookService& service, QObject* parent = nullptr);
    ~TNotesModel() override;

    TNotebookService* Service() const { return m_service; }

    QModelIndex IndexOf(const TTreeNode* node) const;
    static TTreeNode* NodeOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An accepted label edit is reported, not written: the notebook service
    // renames, and the label follows its notification.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void labelEdited(vlr::TTreeNode* node, const QString& text);

private:
    void nodesAboutToBeInserted(TTreeNode* parent, int first, int last) override;
    void nodesInserted(TTreeNode* parent, int first, int last) override;
    void nodeAboutToBeRemoved(TTreeNode* node) override;
    void nodeRemoved(TTreeNode* parent, int row) override;
    void nodeAboutToBeMoved(TTreeNode* node, TTreeNode* newParent, int row) override;
    void nodeMoved(TTreeNode* node) override;
    void nodeChanged(TTreeNode* node) override;
    void forestAboutToBeReset() override;
    void forestReset() override;

    // None once the service is gone.
    const TNoteForest* forest() const { return m_service ? m_forest : nullptr; }

    QPointer<TNotebookService> m_service;
    TNoteForest* m_forest;
    bool m_moveAnnounced = false;
};

} // namespace vlr
