#include "editor/format_bar.h"

#include "config/options.h"
#include "editor/color_menus.h"
#include "editor/edit_commands.h"
#include "editor/editor_defaults.h"
#include "editor/font_boxes.h"
#include "editor/format_commands.h"
#include "editor/format_host.h"
#include "editor/richedit.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace vlr {

TFormatBar::TFormatBar(TMyRichEdit& editor, TFormatHost& host, const TVLROptions& options, QWidget* window)
    : QObject(window), m_editor(editor), m_host(host), m_options(options) {
    m_format = new TFormatCommands(editor, host, options, this);
    m_edit = new TEditCommands(editor, host, this);
    m_colors = new TColorMenus(editor, host, *m_format, window);
    m_fonts = new TFontBoxes(editor, *m_format, options, window);
    TFormatCommands& f = *m_format;

    tbFormat = new QToolBar(QStringLiteral("Форматирование"), window);
    tbFormat->setObjectName(QStringLiteral("tbFormat"));
    tbFormat->setIconSize(QSize(20, 20));
    tbFormat->addWidget(m_fonts->tbFormatFont);
    tbFormat->addWidget(m_fonts->tbFormatSize);
    tbFormat->addSeparator();
    tbFormat->addActions({f.FormatBold, f.FormatItalic, f.FormatUnderline});
    tbFormat->addWidget(m_colors->tbFormatColor);
    tbFormat->addWidget(m_colors->tbFormatBack);
    tbFormat->addSeparator();
    tbFormat->addActions({f.FormatAlignLeft, f.FormatAlignCenter, f.FormatAlignRight, f.FormatAlignJustify});
    tbFormat->addSeparator();
    tbFormat->addAction(f.FormatBullets);
    tbFormat->addActions({f.FormatSuperscript, f.FormatSubscript});
    // Short labels where the icon theme has no picture, so the bar stays narrow.
    const std::pair<QAction*, const char*> shortNames[] = {
        {f.FormatBold, "Ж"},         {f.FormatItalic, "К"},      {f.FormatUnderline, "Ч"},
        {f.FormatAlignLeft, "⇤"},    {f.FormatAlignCenter, "↔"}, {f.FormatAlignRight, "⇥"},
        {f.FormatAlignJustify, "☰"}, {f.FormatBullets, "•"},     {f.FormatSuperscript, "x²"},
        {f.FormatSubscript, "x₂"}};
    for (auto [action, name] : shortNames)
        if (action->icon().isNull())
            action->setIconText(QString::fromUtf8(name));

    FormatMenu = new QMenu(QStringLiteral("Ф&ормат"), window);
    FormatMenu->setObjectName(QStringLiteral("mFormat"));
    FormatMenu->addAction(f.FormatFont);
    FormatMenu->addSeparator();
    FormatMenu->addActions({f.FormatBold, f.FormatItalic, f.FormatUnderline});
    FormatMenu->addMenu(f.FormatUnderlineType);
    FormatMenu->addActions({f.FormatSuperscript, f.FormatSubscript});
    FormatMenu->addSeparator();
    FormatMenu->addActions({f.FormatFontUp, f.FormatFontDown});
    FormatMenu->addSeparator();
    FormatMenu->addActions(
        {f.FormatAlignLeft, f.FormatAlignCenter, f.FormatAlignRight, f.FormatAlignJustify});
    FormatMenu->addAction(f.FormatBullets);
    FormatMenu->addMenu(f.FormatNumberingType);
    FormatMenu->addSeparator();
    QMenu* special = FormatMenu->addMenu(QStringLiteral("Особый"));
    special->addActions({f.FormatSpecialProtected, f.FormatSpecialDisabled});
    QMenu* text = FormatMenu->addMenu(QStringLiteral("Текст"));
    text->addActions({f.FormatUppercase, f.FormatLowercase});
    text->addSeparator();
    text->addActions({f.FormatOemToAnsi, f.FormatAnsiToOem});

    connect(&editor, &TMyCustomRichEdit::changed, m_edit, &TEditCommands::EditorChange);
    connect(&editor, &TMyCustomRichEdit::selectionChange, this, &TFormatBar::EditorSelectionChange);
    connect(m_edit, &TEditCommands::reflectRequested, this, &TFormatBar::EditorSelectionChange);
    connect(m_edit, &TEditCommands::zoomChanged, this, &TFormatBar::zoomChanged);
    ApplyOptions();
}

void TFormatBar::EditorSelectionChange() {
    m_format->Reflect();
    m_fonts->Reflect();
    const QPoint caret = m_editor.CaretPos();
    emit selectionGroupChanged(m_editor.SelLength() > 0);
    emit caretMoved(caret.y() + 1, caret.x() + 1);
}

void TFormatBar::ApplyOptions() {
    ApplyEditorOptions(m_editor, m_options);
    m_colors->SetAutomaticColors(m_options.DefFontColor, m_options.DefEditorBack);
    m_fonts->ApplyOptions();
}

void TFormatBar::TreeFocused() {
    m_format->ReflectTitleStyle();
}

void TFormatBar::NoteBound(bool noteSelected) {
    m_edit->UpdateUndo();
    m_edit->UpdatePaste();
    if (noteSelected) {
        m_edit->ReflectZoom();
        EditorSelectionChange();
    }
}

} // namespace vlr
