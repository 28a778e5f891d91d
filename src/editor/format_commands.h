#pragma once
// The character and paragraph formatting commands of the note editor: they
// own their actions, act on the formatting target of the editor (or on the
// selected node's title while the tree has the focus), and reflect the
// caret's formatting back into their check marks.
#include "editor/richedit_types.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

namespace vlr {

class TFormatHost;
class TMyRichEdit;
class TRxTextAttributes;
struct TVLROptions;

class TFormatCommands : public QObject {
    Q_OBJECT
public:
    TFormatCommands(TMyRichEdit& editor, TFormatHost& host, const TVLROptions& options,
                    QObject* parent = nullptr);

    QAction* FormatBold;
    QAction* FormatItalic;
    QAction* FormatUnderline;
    QAction* FormatSuperscript;
    QAction* FormatSubscript;
    QAction* UnderlineNone;
    QAction* UnderlineSingle;
    QAction* UnderlineBold;
    QAction* UnderlineDot;
    QAction* FormatAlignLeft;
    QAction* FormatAlignCenter;
    QAction* FormatAlignRight;
    QAction* FormatAlignJustify;
    QAction* FormatBullets;
    QAction* NumberingNone;
    QAction* NumberingBullets;
    QAction* NumberingArabic;
    QAction* NumberingLetters;
    QAction* NumberingLettersUpper;
    QAction* NumberingRomanLower;
    QAction* NumberingRoman;
    QAction* FormatSpecialProtected;
    QAction* FormatSpecialDisabled;
    QAction* FormatFont;
    QAction* FormatFontUp;
    QAction* FormatFontDown;
    QAction* FormatUppercase;
    QAction* FormatLowercase;
    QAction* FormatOemToAnsi;
    QAction* FormatAnsiToOem;
    // Submenus that set their checks as they open.
    QMenu* FormatUnderlineType;
    QMenu* FormatNumberingType;

    // The attributes commands change, and those the commands show.
    TRxTextAttributes& Target();
    TRxTextAttributes& Display();

    // Text and background colours by the colour rule: the selected node's
    // title while the tree has the focus or a root is selected.
    void ApplyTextColor(quint32 color);
    void ApplyBackColor(quint32 color);
    bool TitleColorsInUse() const;
    // Whether editor text may take character formatting now.
    bool EditorTakesFormatting() const;

    // EditorSelectionChange: checks, size and face from the caret's
    // formatting. Runs with the reflecting flag set.
    void Reflect();
    bool Reflecting() const { return m_reflecting; }
    // The tree took the focus: Bold, Italic and Underline show the title style.
    void ReflectTitleStyle();

    // Every command that changes the editor ends by calling this.
    void MarkModified();

signals:
    // After every reflection: for the size and font boxes, the status bar
    // (caret) and the selection-dependent command list.
    void reflected(bool hasSelection);

private:
    QAction* make(const char* name, const QString& text, const QString& keys = QString(),
                  bool checkable = true);
    void styleCommand(QAction* a, int bit);
    void underlineType(int kind);
    void numbering(TRxNumbering kind);
    void replaceSelection(QString (*convert)(const QString&));
    void showUnderlineMenu();
    void showNumberingMenu();

    TMyRichEdit& m_editor;
    TFormatHost& m_host;
    const TVLROptions& m_options;
    bool m_reflecting = false;
};

// Case and code-page conversions of selected text. Characters the source
// code page cannot hold stay as they are, so nothing typed turns into "?".
QString oemToAnsiText(const QString& text);
QString ansiToOemText(const QString& text);

// Guards the reflecting flag.
class TReflectScope {
public:
    explicit TReflectScope(bool& flag) : m_flag(flag), m_saved(flag) { flag = true; }
    ~TReflectScope() { m_flag = m_saved; }
    TReflectScope(const TReflectScope&) = delete;
    TReflectScope& operator=(const TReflectScope&) = delete;

private:
    bool& m_flag;
    bool m_saved;
};

} // namespace vlr
