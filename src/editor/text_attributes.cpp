#include "editor/text_attributes.h"

#include "editor/color_value.h"
#include "editor/custom_richedit.h"
#include "rtf/properties.h"
#include "rtf/state.h"

#include <QFont>
#include <QFontInfo>
#include <iterator>

namespace vlr {

namespace {

using Formats = QList<QTextCharFormat>;

// The value every format gives, or `mixed` when they differ.
template <typename T, typename Get> T common(const Formats& formats, Get get, T mixed) {
    if (formats.isEmpty())
        return mixed;
    const T first = get(formats.first());
    for (qsizetype i = 1; i < formats.size(); ++i) {
        if (!(get(formats[i]) == first))
            return mixed;
    }
    return first;
}

// Underline kinds: the control's numbering and the RTF reader's.
constexpr rtf::Underline kControlToRtf[] = {
    rtf::UlNone,
    rtf::UlSingle,
    rtf::UlWords,
    rtf::UlDouble,
    rtf::UlDotted,
    rtf::UlDash,
    rtf::UlDashDot,
    rtf::UlDashDotDot,
    rtf::UlWave,
    rtf::UlThick,
    rtf::UlSingle /*hairline*/,
    rtf::UlDoubleWave,
    rtf::UlHeavyWave,
    rtf::UlLongDash,
    rtf::UlThickDash,
    rtf::UlThickDashDot,
    rtf::UlThickDashDotDot,
    rtf::UlThickDotted,
    rtf::UlThickLongDash,
};
constexpr int kControlKinds = int(std::size(kControlToRtf));

int controlKind(int rtfKind) {
    for (int i = 0; i < kControlKinds; ++i) {
        if (i != 10 && int(kControlToRtf[i]) == rtfKind)
            return i;
    }
    return 1;
}

QTextCharFormat::UnderlineStyle qtStyleOf(rtf::Underline kind) {
    switch (kind) {
    case rtf::UlNone:
        return QTextCharFormat::NoUnderline;
    case rtf::UlDotted:
    case rtf::UlThickDotted:
        return QTextCharFormat::DotLine;
    case rtf::UlDash:
    case rtf::UlLongDash:
    case rtf::UlThickDash:
    case rtf::UlThickLongDash:
        return QTextCharFormat::DashUnderline;
    case rtf::UlDashDot:
    case rtf::UlThickDashDot:
        return QTextCharFormat::DashDotLine;
    case rtf::UlDashDotDot:
    case rtf::UlThickDashDotDot:
        return QTextCharFormat::DashDotDotLine;
    case rtf::UlWave:
    case rtf::UlDoubleWave:
    case rtf::UlHeavyWave:
        return QTextCharFormat::WaveUnderline;
    default:
        return QTextCharFormat::SingleUnderline;
    }
}

bool underlined(const QTextCharFormat& f) {
    const auto s = f.underlineStyle();
    return s != QTextCharFormat::NoUnderline && s != QTextCharFormat::SpellCheckUnderline;
}

int kindOf(const QTextCharFormat& f) {
    if (!underlined(f))
        return 0;
    if (f.hasProperty(rtf::PropUnderlineKind))
        return controlKind(f.intProperty(rtf::PropUnderlineKind));
    switch (f.underlineStyle()) {
    case QTextCharFormat::DotLine:
        return 4;
    case QTextCharFormat::DashUnderline:
        return 5;
    case QTextCharFormat::DashDotLine:
        return 6;
    case QTextCharFormat::DashDotDotLine:
        return 7;
    case QTextCharFormat::WaveUnderline:
        return 8;
    default:
        return 1;
    }
}

void setKind(QTextCharFormat& f, int kind) {
    const rtf::Underline u = kind > 0 && kind < kControlKinds ? kControlToRtf[kind]
                             : kind > 0                       ? rtf::UlSingle
                                                              : rtf::UlNone;
    f.setUnderlineStyle(qtStyleOf(u));
    if (u != rtf::UlNone && u != rtf::UlSingle)
        f.setProperty(rtf::PropUnderlineKind, int(u));
    else
        f.clearProperty(rtf::PropUnderlineKind);
}

int styleOf(const QTextCharFormat& f) {
    int s = 0;
    if (f.fontWeight() >= QFont::DemiBold)
        s |= fsBold;
    if (f.fontItalic())
        s |= fsItalic;
    if (underlined(f))
        s |= fsUnderline;
    if (f.fontStrikeOut())
        s |= fsStrikeOut;
    return s;
}

void setStyle(QTextCharFormat& f, int style) {
    f.setFontWeight(style & fsBold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(style & fsItalic);
    if (!(style & fsUnderline))
        setKind(f, 0);
    else if (!underlined(f))
        setKind(f, 1);
    f.setFontStrikeOut(style & fsStrikeOut);
    if (!(style & fsStrikeOut))
        f.clearProperty(rtf::PropStrikeDouble);
}

QString nameOf(const QTextCharFormat& f, const QFont& fallback) {
    const QStringList families = f.fontFamilies().toStringList();
    return families.isEmpty() ? fallback.family() : families.first();
}

} // namespace

QString TRxTextAttributes::Name() const {
    const QFont def = m_owner->document()->defaultFont();
    return common<QString>(
        m_owner->charFormatsOf(m_type), [&](const QTextCharFormat& f) { return nameOf(f, def); }, QString());
}

void TRxTextAttributes::SetName(const QString& name) {
    const QString n = name.left(31);
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) { f.setFontFamilies(QStringList{n}); });
}

int TRxTextAttributes::Size() const {
    const qreal def = m_owner->document()->defaultFont().pointSizeF();
    return common<int>(
        m_owner->charFormatsOf(m_type),
        [&](const QTextCharFormat& f) { return qRound(f.fontPointSize() > 0 ? f.fontPointSize() : def); }, 0);
}

void TRxTextAttributes::SetSize(int points) {
    if (points <= 0)
        return;
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) { f.setFontPointSize(points); });
}

int TRxTextAttributes::Height() const {
    return qRound(Size() * m_owner->logicalDpiY() / 72.0);
}

int TRxTextAttributes::Style() const {
    const Formats formats = m_owner->charFormatsOf(m_type);
    int s = formats.isEmpty() ? 0 : 0xF;
    for (const QTextCharFormat& f : formats)
        s &= styleOf(f);
    return s;
}

void TRxTextAttributes::SetStyle(int style) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) { setStyle(f, style); });
}

quint32 TRxTextAttributes::Color() const {
    return common<quint32>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) {
            return f.foreground().style() == Qt::NoBrush ? kColorWindowText
                                                         : colorValue(f.foreground().color());
        },
        kColorWindowText);
}

void TRxTextAttributes::SetColor(quint32 color) {
    const QPalette palette = m_owner->palette();
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        if (color == kColorWindowText || color == kColorAutomatic)
            f.clearForeground();
        else
            f.setForeground(colorFromValue(color, palette));
    });
}

quint32 TRxTextAttributes::BackColor() const {
    return common<quint32>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) {
            return f.background().style() == Qt::NoBrush ? kColorWindow : colorValue(f.background().color());
        },
        kColorWindow);
}

void TRxTextAttributes::SetBackColor(quint32 color) {
    const QPalette palette = m_owner->palette();
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        if (color == kColorWindow || color == kColorAutomatic)
            f.clearBackground();
        else
            f.setBackground(colorFromValue(color, palette));
    });
}

int TRxTextAttributes::Charset() const {
    // Text without a charset of its own is written as Cyrillic.
    return common<int>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) {
            return f.hasProperty(rtf::PropFontCharset) ? f.intProperty(rtf::PropFontCharset) : 204;
        },
        1);
}

void TRxTextAttributes::SetCharset(int charset) {
    m_owner->changeCharFormats(m_type,
                               [&](QTextCharFormat& f) { f.setProperty(rtf::PropFontCharset, charset); });
}

TFontPitch TRxTextAttributes::Pitch() const {
    return common<TFontPitch>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) { return TFontPitch(qBound(0, f.intProperty(rtf::PropFontPitch), 2)); },
        TFontPitch::fpDefault);
}

void TRxTextAttributes::SetPitch(TFontPitch pitch) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        if (pitch == TFontPitch::fpDefault)
            f.clearProperty(rtf::PropFontPitch);
        else
            f.setProperty(rtf::PropFontPitch, int(pitch));
        f.setFontFixedPitch(pitch == TFontPitch::fpFixed);
    });
}

int TRxTextAttributes::UnderlineType() const {
    return common<int>(m_owner->charFormatsOf(m_type), kindOf, 0);
}

void TRxTextAttributes::SetUnderlineType(int kind) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) { setKind(f, kind); });
}

TSubscriptStyle TRxTextAttributes::SubscriptStyle() const {
    return common<TSubscriptStyle>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) {
            switch (f.verticalAlignment()) {
            case QTextCharFormat::AlignSubScript:
                return TSubscriptStyle::ssSubscript;
            case QTextCharFormat::AlignSuperScript:
                return TSubscriptStyle::ssSuperscript;
            default:
                return TSubscriptStyle::ssNone;
            }
        },
        TSubscriptStyle::ssNone);
}

void TRxTextAttributes::SetSubscriptStyle(TSubscriptStyle style) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        f.setVerticalAlignment(style == TSubscriptStyle::ssSubscript     ? QTextCharFormat::AlignSubScript
                               : style == TSubscriptStyle::ssSuperscript ? QTextCharFormat::AlignSuperScript
                                                                         : QTextCharFormat::AlignNormal);
    });
}

bool TRxTextAttributes::Protected() const {
    return common<bool>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) { return f.boolProperty(rtf::PropProtect); }, false);
}

void TRxTextAttributes::SetProtected(bool on) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        if (on)
            f.setProperty(rtf::PropProtect, true);
        else
            f.clearProperty(rtf::PropProtect);
    });
}

bool TRxTextAttributes::Disabled() const {
    return common<bool>(
        m_owner->charFormatsOf(m_type),
        [](const QTextCharFormat& f) { return f.boolProperty(rtf::PropDisabled); }, false);
}

void TRxTextAttributes::SetDisabled(bool on) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        if (on)
            f.setProperty(rtf::PropDisabled, true);
        else
            f.clearProperty(rtf::PropDisabled);
    });
}

bool TRxTextAttributes::Link() const {
    return m_owner->linkCovers(m_type);
}

int TRxTextAttributes::Language() const {
    return common<int>(
        m_owner->charFormatsOf(m_type), [](const QTextCharFormat& f) { return f.intProperty(rtf::PropLang); },
        0);
}

void TRxTextAttributes::SetLanguage(int lang) {
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        if (lang > 0)
            f.setProperty(rtf::PropLang, lang);
        else
            f.clearProperty(rtf::PropLang);
    });
}

void TRxTextAttributes::Assign(const QFont& font, quint32 color, int charset) {
    const QPalette palette = m_owner->palette();
    const qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    m_owner->changeCharFormats(m_type, [&](QTextCharFormat& f) {
        f.setFontFamilies(QStringList{font.family().left(31)});
        if (size > 0)
            f.setFontPointSize(qRound(size));
        f.setFontWeight(font.weight());
        f.setFontItalic(font.italic());
        if (!font.underline())
            setKind(f, 0);
        else if (!underlined(f))
            setKind(f, 1);
        f.setFontStrikeOut(font.strikeOut());
        f.setFontFixedPitch(font.fixedPitch());
        if (font.fixedPitch())
            f.setProperty(rtf::PropFontPitch, int(TFontPitch::fpFixed));
        else
            f.clearProperty(rtf::PropFontPitch);
        if (color == kColorWindowText || color == kColorAutomatic)
            f.clearForeground();
        else
            f.setForeground(colorFromValue(color, palette));
        f.setProperty(rtf::PropFontCharset, charset);
    });
}

QFont TRxTextAttributes::ToFont() const {
    const Formats formats = m_owner->charFormatsOf(m_type);
    QFont font = m_owner->document()->defaultFont();
    if (formats.isEmpty())
        return font;
    const QTextCharFormat& f = formats.first();
    font.setFamily(nameOf(f, font));
    if (f.fontPointSize() > 0)
        font.setPointSizeF(f.fontPointSize());
    const int s = styleOf(f);
    font.setBold(s & fsBold);
    font.setItalic(s & fsItalic);
    font.setUnderline(s & fsUnderline);
    font.setStrikeOut(s & fsStrikeOut);
    font.setFixedPitch(f.intProperty(rtf::PropFontPitch) == int(TFontPitch::fpFixed));
    return font;
}

} // namespace vlr
