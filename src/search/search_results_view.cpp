#include "search/search_results_view.h"

#include "editor/color_value.h"
#include "search/search_results_model.h"
#include "storage/images/image_list.h"
#include "storage/node_data.h"
#include "tree/node_visual.h"
#include "tree/ov_tree.h"

#include <QHeaderView>
#include <QPainter>

namespace vlr {

namespace {

constexpr QRgb kGrey = 0x808080;

void applyTitleStyle(QFont& font, int style) {
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
}

} // namespace

TSearchResultDelegate::TSearchResultDelegate(const TSearchResultsModel& model, TOvTree* tree, QObject* parent)
    : QStyledItemDelegate(parent), m_model(model), m_tree(tree) {}

void TSearchResultDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.row() >= m_model.rowCount())
        return;
    const TSearchRow& row = m_model.Row(index.row());
    if (index.column() == TSearchResultsModel::ColFirstMatch) {
        option->font.setBold(row.title);
        return;
    }
    if (index.column() != TSearchResultsModel::ColNote || !m_tree || !row.note->TreeNode)
        return;
    // A selected row keeps the highlight's text colour (the style draws it).
    const TTreeNodeVisual visual = m_tree->NodeVisual(row.note->TreeNode);
    option->palette.setColor(QPalette::Text, colorFromValue(visual.FontColor, option->palette));
    applyTitleStyle(option->font, TitleStyle(visual.FontStyle));
    if (visual.Images && visual.ImageIndex >= 0) {
        const QImage picture = visual.Images->image(visual.ImageIndex);
        if (!picture.isNull()) {
            option->icon = QIcon(QPixmap::fromImage(picture));
            option->decorationSize = picture.size();
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
    }
}

TSearchResultsView::TSearchResultsView(TSearchResultsModel& model, TOvTree* tree, QWidget* parent)
    : QTreeView(parent) {
    setObjectName(QStringLiteral("LV"));
    setModel(&model);
    setItemDelegate(new TSearchResultDelegate(model, tree, this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* h = header();
    h->setStretchLastSection(false);
    h->setMinimumSectionSize(kRankWidth);
    h->setSectionResizeMode(TSearchResultsModel::ColNote, QHeaderView::Interactive);
    h->setSectionResizeMode(TSearchResultsModel::ColFirstMatch, QHeaderView::Stretch);
    h->setSectionResizeMode(TSearchResultsModel::ColRank, QHeaderView::Fixed);
    h->resizeSection(TSearchResultsModel::ColNote, kNoteWidth);
    h->resizeSection(TSearchResultsModel::ColRank, kRankWidth);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(h, &QHeaderView::sectionResized, this, &TSearchResultsView::keepNoteWidth);
    setMinimumWidth(kNoteMinWidth + kFirstMatchMinWidth + kRankWidth + 4);
}

void TSearchResultsView::keepNoteWidth(int section, int, int newSize) {
    if (section == TSearchResultsModel::ColNote && newSize < kNoteMinWidth)
        header()->resizeSection(section, kNoteMinWidth);
}

void TSearchResultsView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (model() && model()->rowCount() > 0)
        return;
    QPainter p(viewport());
    p.setPen(QColor::fromRgb(kGrey));
    p.drawText(viewport()->rect(), Qt::AlignCenter, kNoMatchesText);
}

} // namespace vlr
