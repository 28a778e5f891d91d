#include "editor/color_menus.h"

#include "editor/color_value.h"
#include "editor/format_commands.h"
#include "editor/format_host.h"
#include "editor/format_rules.h"
#include "editor/richedit.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetAction>

namespace vlr {

namespace {

constexpr int kCell = 18;

// Five rows of eight: greys, then full, strong, pale and dark hues.
const QList<quint32> kStandardColors = {
    0x000000, 0x404040, 0x808080, 0xA0A0A0, 0xC0C0C0, 0xE0E0E0, 0xF0F0F0, 0xFFFFFF, 0x0000FF, 0x0080FF,
    0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF0080, 0xFF00FF, 0x000080, 0x004080, 0x008080, 0x008000,
    0x808000, 0x800000, 0x800040, 0x800080, 0x8080FF, 0x80C0FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFF8080,
    0xFF80C0, 0xFF80FF, 0x000040, 0x002040, 0x004040, 0x004000, 0x404000, 0x400000, 0x400020, 0x400040};

QWidgetAction* paletteAction(TColorPalette* palette, QMenu* menu) {
    auto* a = new QWidgetAction(menu);
    a->setDefaultWidget(palette);
    return a;
}

} // namespace

TColorPalette::TColorPalette(QList<quint32> colors, QWidget* parent)
    : QWidget(parent), m_colors(std::move(colors)) {
    setMouseTracking(true);
}

void TColorPalette::SetColors(const QList<quint32>& colors) {
    m_colors = colors;
    updateGeometry();
    update();
}

void TColorPalette::SetCurrent(quint32 color) {
    m_current = color;
    update();
}

QSize TColorPalette::sizeHint() const {
    const int rows = m_colors.isEmpty() ? 0 : int((m_colors.size() - 1) / kColumns + 1);
    return QSize(kColumns * kCell + 8, rows * kCell + 8);
}

QRect TColorPalette::cellRect(int index) const {
    return QRect(4 + (index % kColumns) * kCell, 4 + (index / kColumns) * kCell, kCell - 2, kCell - 2);
}

void TColorPalette::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int i = 0; i < m_colors.size(); ++i) {
        const QRect r = cellRect(i);
        const quint32 c = m_colors[i];
        p.fillRect(r, c == kNoColor ? QColor(Qt::black) : colorFromValue(c, palette()));
        p.setPen(m_colors[i] == m_current ? palette().color(QPalette::Highlight) : QColor(Qt::gray));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (m_colors[i] == m_current)
            p.drawRect(r.adjusted(-1, -1, 0, 0));
    }
}

void TColorPalette::mouseReleaseEvent(QMouseEvent* e) {
    for (int i = 0; i < m_colors.size(); ++i)
        if (cellRect(i).contains(e->position().toPoint())) {
            m_current = m_colors[i];
            update();
            emit colorClicked(m_colors[i]);
            // The menu holding the palette closes as after any item.
            for (QWidget* w = parentWidget(); w; w = w->parentWidget())
                if (auto* menu = qobject_cast<QMenu*>(w)) {
                    menu->close();
                    break;
                }
            return;
        }
}

TColorMenus::TColorMenus(TMyRichEdit& editor, TFormatHost& host, TFormatCommands& commands, QWidget* parent)
    : QObject(parent), m_editor(editor), m_host(host), m_commands(commands), m_autoText(kColorWindowText),
      m_autoBack(kColorWindow) {
    TextMenu = new QMenu(parent);
    TextMenu->setObjectName(QStringLiteral("pmTextColor"));
    BackMenu = new QMenu(parent);
    BackMenu->setObjectName(QStringLiteral("pmBackColor"));

    FormatColor = new QAction(QStringLiteral("Цвет текста"), this);
    FormatColor->setObjectName(QStringLiteral("FormatColor"));
    FormatBack = new QAction(QStringLiteral("Цвет фона"), this);
    FormatBack->setObjectName(QStringLiteral("FormatBack"));
    FormatColorDefault = TextMenu->addAction(QStringLiteral("По умолчанию"));
    FormatColorDefault->setObjectName(QStringLiteral("FormatColorDefault"));
    FormatColorDefault->setCheckable(true);
    cpText = new TColorPalette(kStandardColors);
    cpText->setObjectName(QStringLiteral("cpText"));
    cpText->SetCurrent(kColorWindowText);
    TextMenu->addAction(paletteAction(cpText, TextMenu));
    tbFormatMore = TextMenu->addAction(QStringLiteral("Больше цветов..."));
    tbFormatMore->setObjectName(QStringLiteral("tbFormatMore"));
    TextMenu->addSeparator();
    tbDocUpdate = TextMenu->addAction(QStringLiteral("Цвета текущей записи:"));
    tbDocUpdate->setObjectName(QStringLiteral("tbDocUpdate"));
    cpDoc = new TColorPalette();
    cpDoc->setObjectName(QStringLiteral("cpDoc"));
    TextMenu->addAction(paletteAction(cpDoc, TextMenu));

    FormatBackDefault = BackMenu->addAction(QStringLiteral("По умолчанию"));
    FormatBackDefault->setObjectName(QStringLiteral("FormatBackDefault"));
    FormatBackDefault->setCheckable(true);
    cpBack = new TColorPalette(kStandardColors);
    cpBack->setObjectName(QStringLiteral("cpBack"));
    cpBack->SetCurrent(kColorWindow);
    BackMenu->addAction(paletteAction(cpBack, BackMenu));
    tbBackMore = BackMenu->addAction(QStringLiteral("Больше цветов..."));
    tbBackMore->setObjectName(QStringLiteral("tbBackMore"));

    tbFormatColor = new QToolButton(parent);
    tbFormatColor->setObjectName(QStringLiteral("tbFormatColor"));
    tbFormatColor->setPopupMode(QToolButton::MenuButtonPopup);
    tbFormatColor->setMenu(TextMenu);
    tbFormatColor->setDefaultAction(FormatColor);
    tbFormatBack = new QToolButton(parent);
    tbFormatBack->setObjectName(QStringLiteral("tbFormatBack"));
    tbFormatBack->setPopupMode(QToolButton::MenuButtonPopup);
    tbFormatBack->setMenu(BackMenu);
    tbFormatBack->setDefaultAction(FormatBack);

    connect(FormatColor, &QAction::triggered, this, [this] { m_commands.ApplyTextColor(cpText->Current()); });
    connect(FormatBack, &QAction::triggered, this, [this] { m_commands.ApplyBackColor(cpBack->Current()); });
    connect(FormatColorDefault, &QAction::triggered, this, [this] { ClickText(kColorWindowText); });
    connect(FormatBackDefault, &QAction::triggered, this, [this] { ClickBack(kColorWindow); });
    connect(cpText, &TColorPalette::colorClicked, this, &TColorMenus::ClickText);
    connect(cpDoc, &TColorPalette::colorClicked, this, &TColorMenus::ClickText);
    connect(cpBack, &TColorPalette::colorClicked, this, &TColorMenus::ClickBack);
    connect(tbFormatMore, &QAction::triggered, this, [this] {
        const std::optional<QColor> c = m_host.ChooseColor(
            colorFromValue(m_commands.Display().Color(), m_editor.palette()), true, &m_editor);
        if (c)
            ClickText(colorValue(*c));
    });
    connect(tbBackMore, &QAction::triggered, this, [this] {
        const std::optional<QColor> c = m_host.ChooseColor(
            colorFromValue(m_commands.Display().BackColor(), m_editor.palette()), false, &m_editor);
        if (c)
            ClickBack(colorValue(*c));
    });
    connect(tbDocUpdate, &QAction::triggered, this, [this] {
        m_host.StoreBoundNote(m_editor.Modified());
        PrepareTextMenu();
        tbFormatColor->showMenu();
    });
    connect(TextMenu, &QMenu::aboutToShow, this, &TColorMenus::PrepareTextMenu);
    connect(BackMenu, &QMenu::aboutToShow, this, &TColorMenus::PrepareBackMenu);
    updateButtons();
}

void TColorMenus::SetAutomaticColors(quint32 text, quint32 back) {
    m_autoText = text;
    m_autoBack = back;
    FormatColorDefault->setIcon(barIcon(QString(), text));
    FormatBackDefault->setIcon(barIcon(QString(), back));
    updateButtons();
}

void TColorMenus::PrepareTextMenu() {
    if (m_host.TreeHasFocus() && m_host.NodeSelected()) {
        const quint32 c = m_host.TitleColor();
        cpText->SetCurrent(m_host.RootSelected() && c == kColorWindowText ? 0 : c);
    } else {
        cpText->SetCurrent(m_commands.Display().Color());
    }
    FormatColorDefault->setChecked(cpText->Current() == kColorWindowText);
    cpDoc->SetColors(m_host.NoteSelected() ? documentColors(m_host.StoredBody()) : QList<quint32>());
    tbDocUpdate->setVisible(m_host.NoteSelected());
    updateButtons();
}

void TColorMenus::PrepareBackMenu() {
    if (m_host.TreeHasFocus() && m_host.NodeSelected())
        cpBack->SetCurrent(m_host.TitleBackColor());
    else
        cpBack->SetCurrent(m_commands.Display().BackColor());
    FormatBackDefault->setChecked(cpBack->Current() == kColorWindow);
    updateButtons();
}

void TColorMenus::ClickText(quint32 color) {
    cpText->SetCurrent(color);
    FormatColorDefault->setChecked(color == kColorWindowText);
    m_commands.ApplyTextColor(color);
    updateButtons();
}

void TColorMenus::ClickBack(quint32 color) {
    cpBack->SetCurrent(color);
    FormatBackDefault->setChecked(color == kColorWindow);
    m_commands.ApplyBackColor(color);
    updateButtons();
}

QIcon TColorMenus::barIcon(const QString& theme, quint32 color) const {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QIcon base = theme.isEmpty() ? QIcon() : QIcon::fromTheme(theme);
    if (!base.isNull())
        p.drawPixmap(2, 0, base.pixmap(16, 14));
    else if (!theme.isEmpty()) {
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(13);
        p.setFont(f);
        p.setPen(m_editor.palette().color(QPalette::WindowText));
        p.drawText(QRect(0, 0, 20, 15), Qt::AlignCenter,
                   theme.contains(u"color") ? QStringLiteral("A") : QStringLiteral("ab"));
    }
    p.fillRect(QRect(1, 15, 18, 4), colorFromValue(color == kNoColor ? 0 : color, m_editor.palette()));
    return QIcon(pm);
}

void TColorMenus::updateButtons() {
    FormatColor->setIcon(barIcon(QStringLiteral("format-text-color"),
                                 cpText->Current() == kColorWindowText ? m_autoText : cpText->Current()));
    // The automatic background shows as the editor's own colour.
    const quint32 back = cpBack->Current() == kColorWindow ? m_editor.Color() : cpBack->Current();
    FormatBack->setIcon(barIcon(QStringLiteral("format-fill-color"), back));
}

} // namespace vlr
