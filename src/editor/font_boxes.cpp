#include "editor/font_boxes.h"

#include "config/options.h"
#include "editor/format_commands.h"
#include "editor/format_rules.h"
#include "editor/richedit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vlr {

namespace {

enum Role { ScalableRole = Qt::UserRole + 1, AnsiRole };
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// Draws names in their own face (when asked and the face holds the
// Windows-1251 letters), marks scalable faces and rules off the user fonts.
class TFontDelegate : public QStyledItemDelegate {
public:
    TFontDelegate(const TVLROptions& options, const TFontBoxes& boxes, QObject* parent)
        : QStyledItemDelegate(parent), m_options(options), m_boxes(boxes) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        if (m_options.EditorPaintFonts && index.data(AnsiRole).toBool()) {
            o.font = QFont(index.data().toString());
            o.font.setPointSize(11);
        }
        if (index.data(ScalableRole).toBool())
            o.text = QStringLiteral("ᵀᵀ ") + o.text;
        else
            o.text = QStringLiteral("    ") + o.text;
        QStyle* style = o.widget ? o.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, p, o.widget);
        if (index.row() == m_boxes.UserFontCount() - 1) {
            p->setPen(Qt::gray);
            p->drawLine(o.rect.bottomLeft(), o.rect.bottomRight());
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        if (m_options.EditorPaintFonts)
            s.setHeight(qMax(s.height(), QFontMetrics(QFont(index.data().toString(), 11)).height() + 2));
        return s;
    }

private:
    const TVLROptions& m_options;
    const TFontBoxes& m_boxes;
};

bool holdsAnsi(const QString& family) {
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::Cyrillic) || systems.contains(QFontDatabase::Latin);
}

} // namespace

QStringList installedFontFamilies(bool scalableOnly) {
    QStringList names;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family) && (!scalableOnly || QFontDatabase::isScalable(family)))
            names << family;
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    return names;
}

TFontBox::TFontBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMinimumContentsLength(16);
}

void TFontBox::Fill() {
    if (OnFill)
        OnFill();
}

void TFontBox::showPopup() {
    if (!Filled())
        Fill();
    QComboBox::showPopup();
}

void TFontBox::focusInEvent(QFocusEvent* e) {
    if (!Filled())
        Fill();
    QComboBox::focusInEvent(e);
}

TFontBoxes::TFontBoxes(TMyRichEdit& editor, TFormatCommands& commands, const TVLROptions& options,
                       QWidget* parent)
    : QObject(parent), m_editor(editor), m_commands(commands), m_options(options) {
    tbFormatFont = new TFontBox(parent);
    tbFormatFont->setObjectName(QStringLiteral("tbFormatFont"));
    tbFormatFont->setItemDelegate(new TFontDelegate(options, *this, tbFormatFont));
    tbFormatFont->OnFill = [this] { FillFonts(installedFontFamilies(m_options.DisableNonTrueType)); };
    tbFormatSize = new QComboBox(parent);
    tbFormatSize->setObjectName(QStringLiteral("tbFormatSize"));
    tbFormatSize->setEditable(true);
    tbFormatSize->setInsertPolicy(QComboBox::NoInsert);
    tbFormatSize->setMinimumContentsLength(3);
    for (int size : kSizes)
        tbFormatSize->addItem(QString::number(size));

    const auto keepHeld = [] {
        return bool(QGuiApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    };
    connect(tbFormatFont, &QComboBox::textActivated, this,
            [this, keepHeld](const QString& face) { ChooseFont(face, keepHeld()); });
    connect(tbFormatSize, &QComboBox::textActivated, this,
            [this](const QString& text) { ChooseSize(text, true); });
    connect(tbFormatSize->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ChooseSize(tbFormatSize->currentText(), false); });
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] {
        if (tbFormatFont->Filled())
            tbFormatFont->Fill();
    });
}

void TFontBoxes::FillFonts(const QStringList& installed) {
    m_updating = true;
    const QString shown = tbFormatFont->currentText();
    tbFormatFont->clear();
    m_userFonts.Merge(installed);
    QStringList order = m_userFonts.Names();
    order += installed;
    for (const QString& name : std::as_const(order)) {
        tbFormatFont->addItem(name);
        const int row = tbFormatFont->count() - 1;
        tbFormatFont->setItemData(row, QFontDatabase::isScalable(name), ScalableRole);
        tbFormatFont->setItemData(row, holdsAnsi(name), AnsiRole);
    }
    tbFormatFont->setEditText(shown);
    m_updating = false;
}

void TFontBoxes::ChooseFont(const QString& face, bool keep) {
    if (m_updating || m_commands.Reflecting() || face.isEmpty())
        return;
    // Typed names count only when the box holds them.
    if (tbFormatFont->Filled() && tbFormatFont->findText(face, Qt::MatchFixedString) < 0)
        return;
    m_commands.Target().SetName(face);
    if (m_userFonts.Choose(face, keep) && tbFormatFont->Filled())
        FillFonts(installedFontFamilies(m_options.DisableNonTrueType));
    tbFormatFont->setEditText(face);
    m_editor.setFocus();
}

void TFontBoxes::ChooseSize(const QString& text, bool chosen) {
    if (m_updating || m_commands.Reflecting())
        return;
    if (const std::optional<int> points = sizeBoxPoints(text, chosen)) {
        m_commands.Target().SetSize(*points);
        m_commands.MarkModified();
    }
    m_editor.setFocus();
}

void TFontBoxes::ApplyOptions() {
    if (tbFormatFont->Filled())
        tbFormatFont->Fill();
    tbFormatFont->view()->update();
}

void TFontBoxes::Reflect() {
    m_updating = true;
    const TRxTextAttributes& d = m_commands.Display();
    tbFormatFont->setEditText(d.Name());
    tbFormatSize->setEditText(d.Size() > 0 ? QString::number(d.Size()) : QString());
    m_updating = false;
}

} // namespace vlr
