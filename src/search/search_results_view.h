#pragma once
// LV: the search results as a list with three columns. A row's note column
// wears the note's tree picture, title colour and title style; title rows
// show their first matching text in bold; an empty list says so in grey.
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace vlr {

class TOvTree;
class TSearchResultsModel;

inline const QString kNoMatchesText = QStringLiteral("Совпадений текста не найдено...");

class TSearchResultDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TSearchResultDelegate(const TSearchResultsModel& model, TOvTree* tree, QObject* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const TSearchResultsModel& m_model;
    QPointer<TOvTree> m_tree;
};

class TSearchResultsView : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kNoteWidth = 270;
    static constexpr int kNoteMinWidth = 200;
    static constexpr int kFirstMatchMinWidth = 200;
    static constexpr int kRankWidth = 40;

    // The tree gives each note's picture, colour and style.
    TSearchResultsView(TSearchResultsModel& model, TOvTree* tree, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void keepNoteWidth(int section, int oldSize, int newSize);
};

} // namespace vlr
