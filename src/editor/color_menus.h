#pragma once
// The text-colour and background-colour buttons of the format bar, each
// with its drop-down menu: the automatic colour, a palette, "Больше
// цветов..." and, for text, the colours of the note's own colour table.
#include <QList>
#include <QToolButton>
#include <QWidget>

class QAction;
class QMenu;

namespace vlr {

class TFormatCommands;
class TFormatHost;
class TMyRichEdit;

// A grid of colour cells, eight to a row.
class TColorPalette : public QWidget {
    Q_OBJECT
public:
    explicit TColorPalette(QList<quint32> colors = {}, QWidget* parent = nullptr);
    void SetColors(const QList<quint32>& colors);
    const QList<quint32>& Colors() const { return m_colors; }
    void SetCurrent(quint32 color);
    quint32 Current() const { return m_current; }
    QSize sizeHint() const override;
    static constexpr int kColumns = 8;

signals:
    void colorClicked(quint32 color);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QRect cellRect(int index) const;
    QList<quint32> m_colors;
    quint32 m_current = 0;
};

class TColorMenus : public QObject {
    Q_OBJECT
public:
    TColorMenus(TMyRichEdit& editor, TFormatHost& host, TFormatCommands& commands, QWidget* parent);

    QToolButton* tbFormatColor;
    QToolButton* tbFormatBack;
    QAction* FormatColor;
    QAction* FormatBack;
    QAction* FormatColorDefault; // colDefText
    QAction* FormatBackDefault;  // colDefBack
    QAction* tbFormatMore;
    QAction* tbBackMore;
    QAction* tbDocUpdate;
    TColorPalette* cpText;
    TColorPalette* cpBack;
    TColorPalette* cpDoc;
    QMenu* TextMenu;
    QMenu* BackMenu;

    // The automatic colours the default items show (DefFontColor, DefEditorBack).
    void SetAutomaticColors(quint32 text, quint32 back);
    // What opening a menu does; public for the tests.
    void PrepareTextMenu();
    void PrepareBackMenu();
    void ClickText(quint32 color);
    void ClickBack(quint32 color);

private:
    void updateButtons();
    QIcon barIcon(const QString& theme, quint32 color) const;

    TMyRichEdit& m_editor;
    TFormatHost& m_host;
    TFormatCommands& m_commands;
    quint32 m_autoText;
    quint32 m_autoBack;
};

} // namespace vlr
