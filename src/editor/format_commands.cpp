#include "editor/format_commands.h"

#include "config/options.h"
#include "core/codepage.h"
#include "editor/format_host.h"
#include "editor/richedit.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>

namespace vlr {

QString oemToAnsiText(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        const QString one(ch);
        // Line ends and ASCII read the same in both code pages.
        if (ch.unicode() >= 0x80 && fitsAnsi(one))
            ch = fromOem(toAnsi(one)).at(0);
    }
    return out;
}

QString ansiToOemText(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        const QString one(ch);
        if (ch.unicode() < 0x80)
            continue;
        const QByteArray oem = toOem(one);
        if (fromOem(oem) == one)
            ch = fromAnsi(oem).at(0);
    }
    return out;
}

TFormatCommands::TFormatCommands(TMyRichEdit& editor, TFormatHost& host, const TVLROptions& options,
                                 QObject* parent)
    : QObject(parent), m_editor(editor), m_host(host), m_options(options) {
    FormatBold = make("FormatBold", QStringLiteral("Полужирный"), QStringLiteral("Ctrl+B"));
    FormatItalic = make("FormatItalic", QStringLiteral("Курсив"), QStringLiteral("Ctrl+I"));
    FormatUnderline = make("FormatUnderline", QStringLiteral("Подчёркнутый"), QStringLiteral("Ctrl+U"));
    FormatBold->setIcon(QIcon::fromTheme(QStringLiteral("format-text-bold")));
    FormatItalic->setIcon(QIcon::fromTheme(QStringLiteral("format-text-italic")));
    FormatUnderline->setIcon(QIcon::fromTheme(QStringLiteral("format-text-underline")));
    styleCommand(FormatBold, fsBold);
    styleCommand(FormatItalic, fsItalic);
    styleCommand(FormatUnderline, fsUnderline);

    FormatSuperscript = make("FormatSuperscript", QStringLiteral("Надстрочный"));
    FormatSubscript = make("FormatSubscript", QStringLiteral("Подстрочный"));
    FormatSuperscript->setIcon(QIcon::fromTheme(QStringLiteral("format-text-superscript")));
    FormatSubscript->setIcon(QIcon::fromTheme(QStringLiteral("format-text-subscript")));
    for (auto [a, style] : {std::pair{FormatSuperscript, TSubscriptStyle::ssSuperscript},
                            std::pair{FormatSubscript, TSubscriptStyle::ssSubscript}}) {
        connect(a, &QAction::triggered, this, [this, style](bool checked) {
            if (m_reflecting)
                return;
            Target().SetSubscriptStyle(checked ? style : TSubscriptStyle::ssNone);
            Reflect();
        });
    }

    UnderlineNone = make("UnderlineNone", QStringLiteral("Нет"));
    UnderlineSingle = make("UnderlineSingle", QStringLiteral("Одинарное"));
    UnderlineBold = make("UnderlineBold", QStringLiteral("Жирное"));
    UnderlineDot = make("UnderlineDot", QStringLiteral("Чёрточками"));
    connect(UnderlineNone, &QAction::triggered, this, [this] {
        if (m_reflecting)
            return;
        Target().SetStyle(Target().Style() & ~fsUnderline);
        Reflect();
    });
    connect(UnderlineSingle, &QAction::triggered, this, [this] { underlineType(1); });
    connect(UnderlineBold, &QAction::triggered, this, [this] { underlineType(9); });
    connect(UnderlineDot, &QAction::triggered, this, [this] { underlineType(4); });
    FormatUnderlineType = new QMenu(QStringLiteral("Подчёркивание"));
    FormatUnderlineType->setObjectName(QStringLiteral("FormatUnderlineType"));
    FormatUnderlineType->addActions({UnderlineNone, UnderlineSingle, UnderlineBold, UnderlineDot});
    connect(FormatUnderlineType, &QMenu::aboutToShow, this, &TFormatCommands::showUnderlineMenu);
    connect(this, &QObject::destroyed, FormatUnderlineType, &QObject::deleteLater);

    FormatAlignLeft = make("FormatAlignLeft", QStringLiteral("По левому краю"), QStringLiteral("Ctrl+L"));
    FormatAlignCenter = make("FormatAlignCenter", QStringLiteral("По центру"), QStringLiteral("Ctrl+E"));
    FormatAlignRight = make("FormatAlignRight", QStringLiteral("По правому краю"), QStringLiteral("Ctrl+R"));
    FormatAlignJustify = make("FormatAlignJustify", QStringLiteral("По ширине"), QStringLiteral("Ctrl+J"));
    auto* aligns = new QActionGroup(this);
    for (auto [a, align, icon] :
         {std::tuple{FormatAlignLeft, TParaAlignment::paLeftJustify, "format-justify-left"},
          std::tuple{FormatAlignCenter, TParaAlignment::paCenter, "format-justify-center"},
          std::tuple{FormatAlignRight, TParaAlignment::paRightJustify, "format-justify-right"},
          std::tuple{FormatAlignJustify, TParaAlignment::paJustify, "format-justify-fill"}}) {
        aligns->addAction(a);
        a->setIcon(QIcon::fromTheme(QLatin1String(icon)));
        connect(a, &QAction::triggered, this, [this, align] {
            if (m_reflecting)
                return;
            m_editor.Paragraph().SetAlignment(align);
            Reflect();
            MarkModified();
        });
    }

    FormatBullets = make("FormatBullets", QStringLiteral("Маркеры"));
    FormatBullets->setIcon(QIcon::fromTheme(QStringLiteral("format-list-unordered")));
    connect(FormatBullets, &QAction::triggered, this, [this](bool checked) {
        if (m_reflecting)
            return;
        m_editor.Paragraph().SetNumbering(checked ? TRxNumbering::nsBullet : TRxNumbering::nsNone);
        Reflect();
    });
    NumberingNone = make("NumberingNone", QStringLiteral("Нет"));
    NumberingBullets = make("NumberingBullets", QStringLiteral("Маркеры"));
    NumberingArabic = make("NumberingArabic", QStringLiteral("1, 2, 3"));
    NumberingLetters = make("NumberingLetters", QStringLiteral("a, b, c"));
    NumberingLettersUpper = make("NumberingLettersUpper", QStringLiteral("A, B, C"));
    NumberingRomanLower = make("NumberingRomanLower", QStringLiteral("i, ii, iii"));
    NumberingRoman = make("NumberingRoman", QStringLiteral("I, II, III"));
    connect(NumberingNone, &QAction::triggered, this, [this] {
        if (m_reflecting)
            return;
        m_editor.Paragraph().SetNumbering(TRxNumbering::nsNone);
        Reflect();
    });
    const std::pair<QAction*, TRxNumbering> kinds[] = {{NumberingBullets, TRxNumbering::nsBullet},
                                                       {NumberingArabic, TRxNumbering::nsArabicNumbers},
                                                       {NumberingLetters, TRxNumbering::nsLoCaseLetter},
                                                       {NumberingLettersUpper, TRxNumbering::nsUpCaseLetter},
                                                       {NumberingRomanLower, TRxNumbering::nsLoCaseRoman},
                                                       {NumberingRoman, TRxNumbering::nsUpCaseRoman}};
    for (auto [a, kind] : kinds)
        connect(a, &QAction::triggered, this, [this, kind = kind] { numbering(kind); });
    FormatNumberingType = new QMenu(QStringLiteral("Список"));
    FormatNumberingType->setObjectName(QStringLiteral("FormatNumberingType"));
    FormatNumberingType->addAction(NumberingNone);
    for (auto [a, kind] : kinds)
        FormatNumberingType->addAction(a);
    connect(FormatNumberingType, &QMenu::aboutToShow, this, &TFormatCommands::showNumberingMenu);
    connect(this, &QObject::destroyed, FormatNumberingType, &QObject::deleteLater);

    FormatSpecialProtected = make("FormatSpecialProtected", QStringLiteral("Защищённый"));
    connect(FormatSpecialProtected, &QAction::triggered, this, [this](bool checked) {
        if (m_reflecting)
            return;
        // Protecting or freeing protected text is this command's own change.
        auto saved = m_editor.OnProtectChange;
        m_editor.OnProtectChange = [](TMyCustomRichEdit*, int, int, bool& allow) { allow = true; };
        Target().SetProtected(checked);
        m_editor.OnProtectChange = saved;
        MarkModified();
    });
    FormatSpecialDisabled = make("FormatSpecialDisabled", QStringLiteral("Блеклый"));
    connect(FormatSpecialDisabled, &QAction::triggered, this, [this](bool checked) {
        if (m_reflecting)
            return;
        Target().SetDisabled(checked);
        MarkModified();
    });

    FormatFont = make("FormatFont", QStringLiteral("Шрифт..."), QStringLiteral("Ctrl+Shift+F"), false);
    FormatFont->setIcon(QIcon::fromTheme(QStringLiteral("preferences-desktop-font")));
    connect(FormatFont, &QAction::triggered, this, [this] {
        if (m_reflecting)
            return;
        const std::optional<QFont> font = m_host.ChooseFont(m_editor.SelAttributes().ToFont(), &m_editor);
        if (font) {
            TRxTextAttributes& t = Target();
            t.Assign(*font, t.Color(), t.Charset());
            MarkModified();
        }
        m_editor.setFocus();
    });
    FormatFontUp = make("FormatFontUp", QStringLiteral("Увеличить шрифт"), QString(), false);
    FormatFontDown = make("FormatFontDown", QStringLiteral("Уменьшить шрифт"), QString(), false);
    FormatFontUp->setIcon(QIcon::fromTheme(QStringLiteral("format-font-size-more")));
    FormatFontDown->setIcon(QIcon::fromTheme(QStringLiteral("format-font-size-less")));
    for (auto [a, step] : {std::pair{FormatFontUp, 1}, std::pair{FormatFontDown, -1}}) {
        // Both the main and the keypad plus and minus.
        const Qt::Key key = step > 0 ? Qt::Key_Plus : Qt::Key_Minus;
        a->setShortcuts({QKeySequence(QKeyCombination(Qt::ControlModifier, key)),
                         QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, key))});
        connect(a, &QAction::triggered, this, [this, step = step] {
            if (m_reflecting)
                return;
            m_editor.ChangeFontSize(step);
            Reflect();
            MarkModified();
        });
    }

    FormatUppercase = make("FormatUppercase", QStringLiteral("ВЕРХНИЙ РЕГИСТР"), QString(), false);
    FormatLowercase = make("FormatLowercase", QStringLiteral("нижний регистр"), QString(), false);
    FormatOemToAnsi = make("FormatOemToAnsi", QStringLiteral("OEM в ANSI"), QString(), false);
    FormatAnsiToOem = make("FormatAnsiToOem", QStringLiteral("ANSI в OEM"), QString(), false);
    connect(FormatUppercase, &QAction::triggered, this,
            [this] { replaceSelection([](const QString& s) { return s.toUpper(); }); });
    connect(FormatLowercase, &QAction::triggered, this,
            [this] { replaceSelection([](const QString& s) { return s.toLower(); }); });
    connect(FormatOemToAnsi, &QAction::triggered, this, [this] { replaceSelection(&oemToAnsiText); });
    connect(FormatAnsiToOem, &QAction::triggered, this, [this] { replaceSelection(&ansiToOemText); });
}

QAction* TFormatCommands::make(const char* name, const QString& text, const QString& keys, bool checkable) {
    auto* a = new QAction(text, this);
    a->setObjectName(QLatin1String(name));
    a->setCheckable(checkable);
    if (!keys.isEmpty())
        a->setShortcut(QKeySequence(keys));
    return a;
}

TRxTextAttributes& TFormatCommands::Target() {
    if (m_options.EditorApplyWord && m_editor.SelLength() < 1)
        return m_editor.WordAttributes();
    return m_editor.SelAttributes();
}

TRxTextAttributes& TFormatCommands::Display() {
    return m_editor.SelLength() >= 1 ? m_editor.SelAttributes() : m_editor.WordAttributes();
}

void TFormatCommands::styleCommand(QAction* a, int bit) {
    connect(a, &QAction::triggered, this, [this, a, bit](bool checked) {
        if (m_reflecting)
            return;
        if (m_host.TreeHasFocus() && m_host.NodeSelected()) {
            m_host.ToggleTitleStyle(bit);
            ReflectTitleStyle();
            return;
        }
        if (!EditorTakesFormatting()) {
            a->setChecked(false);
            return;
        }
        TRxTextAttributes& t = Target();
        const int style = t.Style();
        t.SetStyle(checked ? style | bit : style & ~bit);
        MarkModified();
        Reflect();
    });
}

void TFormatCommands::underlineType(int kind) {
    if (m_reflecting)
        return;
    Target().SetUnderlineType(kind);
    Reflect();
}

void TFormatCommands::numbering(TRxNumbering kind) {
    if (m_reflecting)
        return;
    TRxParaFormat f = m_editor.Paragraph().Get();
    f.numbering = kind;
    f.numberingStart = 1;
    f.numberingStyle = 0;
    f.leftIndent = 10; // the 200-twip numbering offset
    m_editor.Paragraph().Set(f);
    Reflect();
}

void TFormatCommands::replaceSelection(QString (*convert)(const QString&)) {
    if (m_reflecting || m_editor.SelLength() == 0)
        return;
    const QString text = m_editor.SelText();
    const QString converted = convert(text);
    if (converted != text)
        m_editor.SetSelText(converted);
}

void TFormatCommands::showUnderlineMenu() {
    TRxTextAttributes& d = Display();
    const bool on = d.Style() & fsUnderline;
    const int kind = d.UnderlineType();
    UnderlineNone->setChecked(!on);
    UnderlineSingle->setChecked(on && kind == 1);
    UnderlineBold->setChecked(on && kind == 9);
    UnderlineDot->setChecked(on && kind == 4);
}

void TFormatCommands::showNumberingMenu() {
    const TRxNumbering kind = m_editor.Paragraph().Numbering();
    NumberingNone->setChecked(kind == TRxNumbering::nsNone);
    NumberingBullets->setChecked(kind == TRxNumbering::nsBullet);
    NumberingArabic->setChecked(kind == TRxNumbering::nsArabicNumbers);
    NumberingLetters->setChecked(kind == TRxNumbering::nsLoCaseLetter);
    NumberingLettersUpper->setChecked(kind == TRxNumbering::nsUpCaseLetter);
    NumberingRomanLower->setChecked(kind == TRxNumbering::nsLoCaseRoman);
    NumberingRoman->setChecked(kind == TRxNumbering::nsUpCaseRoman);
}

bool TFormatCommands::TitleColorsInUse() const {
    return (m_host.TreeHasFocus() && m_host.NodeSelected()) || m_host.RootSelected();
}

bool TFormatCommands::EditorTakesFormatting() const {
    // The title commands stay on for plain and read-only notes; their text
    // holds no formatting or must not change.
    return !m_editor.PlainText() && !m_editor.ReadOnly();
}

void TFormatCommands::ApplyTextColor(quint32 color) {
    if (m_reflecting)
        return;
    if (TitleColorsInUse())
        m_host.SetTitleColor(color);
    else if (EditorTakesFormatting())
        Target().SetColor(color);
}

void TFormatCommands::ApplyBackColor(quint32 color) {
    if (m_reflecting)
        return;
    if (TitleColorsInUse())
        m_host.SetTitleBackColor(color);
    else if (EditorTakesFormatting())
        Target().SetBackColor(color);
}

void TFormatCommands::MarkModified() {
    m_host.MarkModified(true, true);
}

void TFormatCommands::Reflect() {
    TReflectScope scope(m_reflecting);
    TRxTextAttributes& d = Display();
    const int style = d.Style();
    FormatBold->setChecked(style & fsBold);
    FormatItalic->setChecked(style & fsItalic);
    FormatUnderline->setChecked(style & fsUnderline);
    const TSubscriptStyle sub = d.SubscriptStyle();
    FormatSuperscript->setChecked(sub == TSubscriptStyle::ssSuperscript);
    FormatSubscript->setChecked(sub == TSubscriptStyle::ssSubscript);
    FormatSpecialProtected->setChecked(d.Protected());
    FormatSpecialDisabled->setChecked(d.Disabled());
    FormatBullets->setChecked(m_editor.Paragraph().Numbering() != TRxNumbering::nsNone);
    switch (m_editor.Paragraph().Alignment()) {
    case TParaAlignment::paRightJustify:
        FormatAlignRight->setChecked(true);
        break;
    case TParaAlignment::paCenter:
        FormatAlignCenter->setChecked(true);
        break;
    case TParaAlignment::paJustify:
        FormatAlignJustify->setChecked(true);
        break;
    default:
        FormatAlignLeft->setChecked(true);
        break;
    }
    emit reflected(m_editor.SelLength() > 0);
}

void TFormatCommands::ReflectTitleStyle() {
    if (!m_host.NodeSelected())
        return;
    TReflectScope scope(m_reflecting);
    const int style = m_host.TitleStyle();
    FormatBold->setChecked(style & fsBold);
    FormatItalic->setChecked(style & fsItalic);
    FormatUnderline->setChecked(style & fsUnderline);
}

} // namespace vlr
