// QTextDocument to RTF in the form a rich-edit control writes:
// header, font and colour tables, then \viewkind4\uc1\pard and the body.
#include "rtf/escape.h"
#include "rtf/list_numbers.h"
#include "rtf/properties.h"
#include "rtf/rtf.h"
#include "rtf/state.h"
#include "rtf/table_rows.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <QUrl>
#include <vector>

namespace vlr::rtf {

using namespace Qt::StringLiterals;

namespace {

// Attributes as RTF words express them, to write only what changes.
struct Written {
    int font = -1;
    int fs = -1;
    int cf = 0;
    int highlight = 0;
    int up = 0;
    int lang = 0;
    quint8 ul = UlNone;
    quint8 strike = 0;
    quint8 vertical = 0;
    quint8 caps = 0;
    bool bold = false;
    bool italic = false;
    bool protect = false;
    bool disabled = false;
};

struct FontKey {
    QString name;
    int charset;
    QByteArray family;
    int pitch;
    bool operator==(const FontKey&) const = default;
};

class Writer {
public:
    Writer(const QTextDocument* doc, int flags) : doc_(doc), flags_(flags) {}
    QByteArray run(int from, int to, bool selection);

private:
    void writeFrame(QTextFrame* frame);
    void writeTable(QTextTable* table, int depth);
    void writeCell(const QTextTableCell& cell, int depth);
    void writeBlock(const QTextBlock& block, int from, int to, const char* end);
    void writeParaProps(const QTextBlock& block, int depth);
    void writeList(const QTextBlock& block);
    void writeFormat(const QTextCharFormat& f);
    void closeBeforeEnd(const QTextBlock& block);
    int listNumber(QTextList* list);
    QByteArray listTable() const;
    void writeFragmentText(const QTextCharFormat& f, QStringView text);
    // Text of the body, in the portable form when that was asked for.
    void appendText(QByteArray& o, QStringView text, bool ansi = true) const {
        appendRtfText(o, text, ansi, flags_ & WritePortable);
    }
    void writePicture(const QTextImageFormat& f);
    Written target(const QTextCharFormat& f);
    int fontIndex(const QTextCharFormat& f, bool* ansi);
    int colorIndex(const QColor& c);
    bool ansiFor(const QTextCharFormat& f);

    const QTextDocument* doc_;
    int flags_;
    QByteArray body_;
    Written cur_;
    std::vector<FontKey> fonts_;
    std::vector<QColor> colors_;
    QByteArray lastRaw_;
    int lastRawSerial_ = 0;
    QTextList* runList_ = nullptr; // the list of the run of items being written
    int runStart_ = 0;
    // Lists in the order first written; their \ls number is the index + 1.
    std::vector<QTextList*> lists_;
};

// How many tables hold the block: 0 outside tables, 2 and more in nested ones.
int tableDepth(const QTextBlock& block) {
    int depth = 0;
    for (QTextFrame* f = QTextCursor(block).currentFrame(); f; f = f->parentFrame()) {
        if (qobject_cast<QTextTable*>(f))
            ++depth;
    }
    return depth;
}

// The nesting level of a cell's paragraphs; the outermost level is the default.
QByteArray itap(int depth) {
    return depth > 1 ? "\\itap" + QByteArray::number(depth) : QByteArray();
}

// Neither a document nor a cell can begin with a table: Qt keeps an empty
// paragraph before it, which is not part of the text and which the reader
// makes again.
bool keptBeforeTable(QTextFrame::iterator it) {
    const QTextBlock b = it.currentBlock();
    if (!b.isValid() || b.length() != 1 || b.textList())
        return false;
    ++it;
    return !it.atEnd() && qobject_cast<QTextTable*>(it.currentFrame());
}

const char* cellEnd(int depth) {
    return depth > 1 ? "\\nestcell " : "\\cell ";
}

int Writer::listNumber(QTextList* list) {
    for (size_t i = 0; i < lists_.size(); ++i) {
        if (lists_[i] == list)
            return int(i) + 1;
    }
    lists_.push_back(list);
    return int(lists_.size());
}

QChar bulletOf(const QTextListFormat& lf) {
    const QString own = lf.property(PropListBullet).toString();
    if (!own.isEmpty())
        return own[0];
    switch (lf.style()) {
    case QTextListFormat::ListCircle:
        return u'o';
    case QTextListFormat::ListSquare:
        return QChar(0x25AA);
    default:
        return QChar(0x2022);
    }
}

int nfcOf(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return 23;
    default:
        return 0;
    }
}

// Word processors number by the list table and ignore \pn; each list of the
// document gets its own list, so that every list counts on its own.
QByteArray Writer::listTable() const {
    if (lists_.empty())
        return {};
    QByteArray t("{\\*\\listtable");
    for (size_t i = 0; i < lists_.size(); ++i) {
        const QTextListFormat lf = lists_[i]->format();
        const int nfc = nfcOf(lf.style());
        const int start = lf.hasProperty(PropListStart) ? lf.intProperty(PropListStart) : 1;
        const int indent = lf.hasProperty(PropListIndent) && lf.intProperty(PropListIndent) > 0
                               ? lf.intProperty(PropListIndent)
                               : 360;
        t.append("\r\n{\\list\\listtemplateid" + QByteArray::number(qsizetype(i) + 1));
        for (int level = 0; level < 9; ++level) {
            t.append("{\\listlevel\\levelnfc" + QByteArray::number(nfc) + "\\levelnfcn" +
                     QByteArray::number(nfc) + "\\leveljc0\\levelfollow0\\levelstartat" +
                     QByteArray::number(start) + "{\\leveltext");
            if (nfc == 23) {
                t.append("\\'01");
                appendRtfText(t, QString(bulletOf(lf)), false);
                t.append(";}{\\levelnumbers;}");
            } else {
                const QString prefix = lf.numberPrefix(), suffix = lf.numberSuffix();
                t.append("\\'" +
                         QByteArray::number(prefix.size() + 1 + suffix.size(), 16).rightJustified(2, '0'));
                appendRtfText(t, prefix, false);
                t.append("\\'" + QByteArray::number(level, 16).rightJustified(2, '0'));
                appendRtfText(t, suffix, false);
                t.append(";}{\\levelnumbers\\'" +
                         QByteArray::number(prefix.size() + 1, 16).rightJustified(2, '0') + ";}");
            }
            t.append("\\fi-" + QByteArray::number(indent) + "\\li" +
                     QByteArray::number(indent * (level + 1)) + '}');
        }
        t.append("\\listid" + QByteArray::number(qsizetype(i) + 1) + '}');
    }
    t.append("}\r\n{\\*\\listoverridetable");
    for (size_t i = 0; i < lists_.size(); ++i) {
        const QByteArray n = QByteArray::number(qsizetype(i) + 1);
        t.append("{\\listoverride\\listid" + n + "\\listoverridecount0\\ls" + n + '}');
    }
    t.append("}\r\n");
    return t;
}

int Writer::fontIndex(const QTextCharFormat& f, bool* ansi) {
    QString name;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        name = families.first();
    if (name.isEmpty())
        name = doc_->defaultFont().family();
    if (name.isEmpty())
        name = QStringLiteral("Arial");
    int charset = f.hasProperty(PropFontCharset) ? f.intProperty(PropFontCharset) : 204;
    const QByteArray family = f.property(PropFontFamilyWord).toByteArray();
    // Only these charsets read \'hh as Windows-1251; others get \uN for every non-ASCII letter.
    *ansi = charset == 204 || charset == 1;
    const FontKey key{name, charset, family, f.intProperty(PropFontPitch)};
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == key)
            return int(i);
    }
    fonts_.push_back(key);
    return int(fonts_.size()) - 1;
}

int Writer::colorIndex(const QColor& c) {
    const QColor rgb = c.toRgb();
    for (size_t i = 0; i < colors_.size(); ++i) {
        if (colors_[i].rgb() == rgb.rgb())
            return int(i) + 1;
    }
    colors_.push_back(rgb);
    return int(colors_.size());
}

Written Writer::target(const QTextCharFormat& f) {
    Written w;
    bool ansi = true;
    w.font = fontIndex(f, &ansi);
    qreal pt = f.fontPointSize();
    if (pt <= 0)
        pt = doc_->defaultFont().pointSizeF();
    w.fs = pt > 0 ? qRound(pt * 2) : 24;
    w.bold = f.fontWeight() >= QFont::DemiBold;
    w.italic = f.fontItalic();
    const auto style = f.underlineStyle();
    if (style == QTextCharFormat::NoUnderline || style == QTextCharFormat::SpellCheckUnderline) {
        w.ul = UlNone;
    } else if (f.hasProperty(PropUnderlineKind)) {
        w.ul = quint8(qBound(0, f.intProperty(PropUnderlineKind), int(UlCount) - 1));
    } else {
        switch (style) {
        case QTextCharFormat::DashUnderline:
            w.ul = UlDash;
            break;
        case QTextCharFormat::DotLine:
            w.ul = UlDotted;
            break;
        case QTextCharFormat::DashDotLine:
            w.ul = UlDashDot;
            break;
        case QTextCharFormat::DashDotDotLine:
            w.ul = UlDashDotDot;
            break;
        case QTextCharFormat::WaveUnderline:
            w.ul = UlWave;
            break;
        default:
            w.ul = UlSingle;
            break;
        }
    }
    w.strike = f.fontStrikeOut() ? (f.boolProperty(PropStrikeDouble) ? 2 : 1) : 0;
    if (f.foreground().style() != Qt::NoBrush)
        w.cf = colorIndex(f.foreground().color());
    if (f.background().style() != Qt::NoBrush)
        w.highlight = colorIndex(f.background().color());
    w.vertical = f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
                 : f.verticalAlignment() == QTextCharFormat::AlignSubScript ? 2
                                                                            : 0;
    w.up = f.intProperty(PropUp);
    w.protect = f.boolProperty(PropProtect);
    w.disabled = f.boolProperty(PropDisabled);
    if (!(flags_ & WritePlainRtf))
        w.lang = f.intProperty(PropLang);
    const auto caps = f.fontCapitalization();
    w.caps = caps == QFont::AllUppercase ? 1 : caps == QFont::SmallCaps ? 2 : 0;
    return w;
}

bool Writer::ansiFor(const QTextCharFormat& f) {
    const int charset = f.hasProperty(PropFontCharset) ? f.intProperty(PropFontCharset) : 204;
    return charset == 204 || charset == 1;
}

void Writer::writeFormat(const QTextCharFormat& f) {
    const Written w = target(f);
    QByteArray& o = body_;
    const qsizetype before = o.size();
    if (w.font != cur_.font)
        appendWord(o, "f", w.font);
    if (w.fs != cur_.fs)
        appendWord(o, "fs", w.fs);
    if (w.bold != cur_.bold)
        appendWord(o, w.bold ? "b" : "b0");
    if (w.italic != cur_.italic)
        appendWord(o, w.italic ? "i" : "i0");
    if (w.ul != cur_.ul)
        appendWord(o, kUnderlineWords[w.ul]);
    if (w.strike != cur_.strike) {
        if (w.strike == 0)
            appendWord(o, cur_.strike == 2 ? "striked0" : "strike0");
        else if (w.strike == 1)
            appendWord(o, cur_.strike == 2 ? "striked0\\strike" : "strike");
        else
            appendWord(o, "striked1");
    }
    if (w.cf != cur_.cf)
        appendWord(o, "cf", w.cf);
    if (w.highlight != cur_.highlight)
        appendWord(o, "highlight", w.highlight);
    if (w.vertical != cur_.vertical)
        appendWord(o, w.vertical == 1 ? "super" : w.vertical == 2 ? "sub" : "nosupersub");
    if (w.up != cur_.up) {
        if (w.up >= 0)
            appendWord(o, "up", w.up);
        else
            appendWord(o, "dn", -w.up);
    }
    if (w.protect != cur_.protect)
        appendWord(o, w.protect ? "protect" : "protect0");
    if (w.disabled != cur_.disabled)
        appendWord(o, w.disabled ? "disabled" : "disabled0");
    if (w.lang != cur_.lang)
        appendWord(o, "lang", w.lang);
    if (w.caps != cur_.caps)
        appendWord(o, w.caps == 1 ? "scaps0\\caps" : w.caps == 2 ? "caps0\\scaps" : "caps0\\scaps0");
    if (o.size() != before)
        o.append(' ');
    cur_ = w;
}

// Other readers carry raised and lowered text across \par and one drops
// the words of such a run that goes on into the next paragraph, so it is
// closed before the end unless the next paragraph begins with it.
void Writer::closeBeforeEnd(const QTextBlock& block) {
    const QTextBlock next = block.next();
    QTextCharFormat nf;
    if (next.isValid())
        nf = next.begin().atEnd() ? next.charFormat() : next.begin().fragment().charFormat();
    const quint8 vertical = nf.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
                            : nf.verticalAlignment() == QTextCharFormat::AlignSubScript ? 2
                                                                                        : 0;
    QByteArray& o = body_;
    const qsizetype before = o.size();
    if (cur_.vertical && cur_.vertical != vertical) {
        appendWord(o, "nosupersub");
        cur_.vertical = 0;
    }
    if (cur_.up && cur_.up != nf.intProperty(PropUp)) {
        appendWord(o, "up", 0);
        cur_.up = 0;
    }
    if (o.size() != before)
        o.append(' ');
}

void Writer::writePicture(const QTextImageFormat& f) {
    if (f.boolProperty(PropObject) && (flags_ & WriteNoObjects))
        return;
    const QByteArray raw = f.property(PropPictRaw).toByteArray();
    if (!raw.isEmpty()) {
        body_.append(raw);
        return;
    }
    QByteArray data = f.property(PropPictData).toByteArray();
    int kind = f.intProperty(PropPictKind);
    QImage image;
    if (data.isEmpty() || (kind != Picture::Png && kind != Picture::Jpeg)) {
        const QVariant res = doc_->resource(QTextDocument::ImageResource, QUrl(f.name()));
        if (res.userType() == QMetaType::QImage)
            image = res.value<QImage>();
        else if (res.userType() == QMetaType::QPixmap)
            image = res.value<QPixmap>().toImage();
        else if (res.userType() == QMetaType::QByteArray)
            image.loadFromData(res.toByteArray());
        if (image.isNull())
            return; // nothing to write: the picture's data is gone
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        kind = Picture::Png;
    }
    int picw = f.intProperty(PropPicW), pich = f.intProperty(PropPicH);
    if (!image.isNull() || picw <= 0 || pich <= 0) {
        if (image.isNull())
            image.loadFromData(data);
        picw = image.width();
        pich = image.height();
    }
    int wgoal = f.intProperty(PropPicWGoal), hgoal = f.intProperty(PropPicHGoal);
    int sx = f.hasProperty(PropPicScaleX) ? f.intProperty(PropPicScaleX) : 100;
    int sy = f.hasProperty(PropPicScaleY) ? f.intProperty(PropPicScaleY) : 100;
    const bool resized = !f.hasProperty(PropPictShownW) ||
                         qAbs(f.doubleProperty(PropPictShownW) - f.width()) > 0.01 ||
                         qAbs(f.doubleProperty(PropPictShownH) - f.height()) > 0.01;
    if (resized || wgoal <= 0 || hgoal <= 0) {
        const qreal w = f.width() > 0 ? f.width() : picw;
        const qreal h = f.height() > 0 ? f.height() : pich;
        wgoal = qRound(w * 15);
        hgoal = qRound(h * 15);
        sx = sy = 100;
    }
    QByteArray& o = body_;
    o.append(kind == Picture::Jpeg ? "{\\pict\\jpegblip" : "{\\pict\\pngblip");
    appendWord(o, "picw", picw);
    appendWord(o, "pich", pich);
    appendWord(o, "picwgoal", wgoal);
    appendWord(o, "pichgoal", hgoal);
    if (sx != 100)
        appendWord(o, "picscalex", sx);
    if (sy != 100)
        appendWord(o, "picscaley", sy);
    o.append("\r\n");
    const QByteArray hex = data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        o.append(hex.mid(i, 128));
        o.append("\r\n");
    }
    o.append('}');
}

void Writer::writeFragmentText(const QTextCharFormat& f, QStringView text) {
    // A fragment split by editing carries its groups twice; they are written once.
    const QByteArray raw = f.property(PropRawBefore).toByteArray();
    const int serial = f.intProperty(PropRawSerial);
    if (raw != lastRaw_ || serial != lastRawSerial_) {
        body_.append(raw);
        lastRaw_ = raw;
        lastRawSerial_ = serial;
    }
    writeFormat(f);
    if (f.hasProperty(PropFootnoteRef)) {
        // The number shown is the reader's own count of the notes.
        body_.append("\\chftn ");
        return;
    }
    if (f.isImageFormat()) {
        for (qsizetype i = 0; i < text.size(); ++i)
            writePicture(f.toImageFormat());
        return;
    }
    appendText(body_, text, ansiFor(f));
}

void Writer::writeList(const QTextBlock& block) {
    QTextList* list = block.textList();
    if (!list)
        return;
    const QTextListFormat lf = list->format();
    const auto style = lf.style();
    const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
                        style == QTextListFormat::ListSquare;
    // The numbering a run of items shows starts at its first item's number.
    // Blocks are written in order, so a run continues when the block before
    // belongs to the same list.
    const QTextBlock before = block.previous();
    if (!(runList_ == list && before.isValid() && before.textList() == list)) {
        const int start = lf.hasProperty(PropListStart) ? lf.intProperty(PropListStart) : 1;
        runList_ = list;
        runStart_ = start + list->itemNumber(block);
    }
    const int runStart = runStart_;
    const int level = qMax(0, lf.indent() - 1);
    QByteArray& o = body_;
    bool ansi = true;
    QTextCharFormat symbolFormat;
    const QByteArray ls =
        "\\ls" + QByteArray::number(listNumber(list)) + "\\ilvl" + QByteArray::number(level);
    const QChar shown = bullet ? bulletOf(lf) : QChar();
    if (bullet && shown != QChar(0x2022)) {
        o.append("{\\pntext ");
        appendText(o, QString(shown), false);
        o.append("\\tab}{\\*\\pn\\pnlvlblt");
        if (level > 0)
            appendWord(o, "pnlvl", level + 1);
        appendWord(o, "pnindent", lf.intProperty(PropListIndent));
        o.append("{\\pntxtb ");
        appendText(o, QString(shown), false);
        o.append("}}" + ls);
        return;
    }
    if (bullet) {
        symbolFormat.setFontFamilies(QStringList{QStringLiteral("Symbol")});
        symbolFormat.setProperty(PropFontCharset, 2);
        const int f = fontIndex(symbolFormat, &ansi);
        o.append("{\\pntext\\f" + QByteArray::number(f) + "\\'B7\\tab}");
        o.append("{\\*\\pn\\pnlvlblt");
        if (level > 0)
            appendWord(o, "pnlvl", level + 1);
        o.append("\\pnf" + QByteArray::number(f) + "\\pnindent" +
                 QByteArray::number(lf.intProperty(PropListIndent)) + "{\\pntxtb\\'B7}}" + ls);
        return;
    }
    const QString label = listItemLabel(block);
    o.append("{\\pntext ");
    appendText(o, label);
    o.append("\\tab}{\\*\\pn");
    if (level > 0)
        appendWord(o, "pnlvl", level + 1);
    else
        appendWord(o, "pnlvlbody");
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
        appendWord(o, "pnlcltr");
        break;
    case QTextListFormat::ListUpperAlpha:
        appendWord(o, "pnucltr");
        break;
    case QTextListFormat::ListLowerRoman:
        appendWord(o, "pnlcrm");
        break;
    case QTextListFormat::ListUpperRoman:
        appendWord(o, "pnucrm");
        break;
    default:
        appendWord(o, "pndec");
        break;
    }
    appendWord(o, "pnindent", lf.intProperty(PropListIndent));
    appendWord(o, "pnstart", runStart);
    if (!lf.numberSuffix().isEmpty()) {
        o.append("{\\pntxta ");
        appendText(o, lf.numberSuffix());
        o.append('}');
    }
    if (!lf.numberPrefix().isEmpty()) {
        o.append("{\\pntxtb ");
        appendText(o, lf.numberPrefix());
        o.append('}');
    }
    o.append('}' + ls);
}

void Writer::writeParaProps(const QTextBlock& block, int depth) {
    const QTextBlockFormat f = block.blockFormat();
    QByteArray& o = body_;
    o.append("\\pard");
    if (depth > 0)
        o.append("\\intbl" + itap(depth));
    writeList(block);
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        appendWord(o, "qr");
    else if (a & Qt::AlignHCenter)
        appendWord(o, "qc");
    else if (a & Qt::AlignJustify)
        appendWord(o, "qj");
    const auto twips = [](qreal px) { return qRound(px * 15); };
    // A list paragraph shows its number by the list's indent; the hanging
    // indent it came with is kept aside for writing.
    const int fi = f.textIndent() == 0 && f.hasProperty(PropListFirstIndent)
                       ? f.intProperty(PropListFirstIndent)
                       : twips(f.textIndent());
    if (fi)
        appendWord(o, "fi", fi);
    if (int v = twips(f.leftMargin()))
        appendWord(o, "li", v);
    if (int v = twips(f.rightMargin()))
        appendWord(o, "ri", v);
    if (int v = twips(f.topMargin()))
        appendWord(o, "sb", v);
    if (int v = twips(f.bottomMargin()))
        appendWord(o, "sa", v);
    if (f.hasProperty(PropLineSpacing)) {
        appendWord(o, "sl", f.intProperty(PropLineSpacing));
        appendWord(o, "slmult", f.boolProperty(PropLineMult) ? 1 : 0);
    } else if (f.lineHeightType() == QTextBlockFormat::ProportionalHeight && f.lineHeight() != 100) {
        appendWord(o, "sl", qRound(f.lineHeight() * 240 / 100));
        appendWord(o, "slmult", 1);
    } else if (f.lineHeightType() == QTextBlockFormat::MinimumHeight) {
        appendWord(o, "sl", twips(f.lineHeight()));
        appendWord(o, "slmult", 0);
    } else if (f.lineHeightType() == QTextBlockFormat::FixedHeight) {
        appendWord(o, "sl", -twips(f.lineHeight()));
        appendWord(o, "slmult", 0);
    }
    if (f.layoutDirection() == Qt::RightToLeft)
        appendWord(o, "rtlpar");
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        appendWord(o, "pagebb");
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    const QByteArray kinds = f.property(PropTabKinds).toByteArray();
    const bool kindsFit = kinds.size() == tabs.size() * 2;
    static const char* const leaders[] = {"", "tldot", "tlhyph", "tlul", "tlth", "tleq", "tlmdot"};
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        int kind = 0;
        switch (tabs[i].type) {
        case QTextOption::CenterTab:
            kind = 1;
            break;
        case QTextOption::RightTab:
            kind = 2;
            break;
        case QTextOption::DelimiterTab:
            kind = 3;
            break;
        default:
            break;
        }
        int leader = 0;
        if (kindsFit) {
            kind = kinds[i * 2];
            leader = qBound(0, int(kinds[i * 2 + 1]), 6);
        }
        if (kind == 1)
            appendWord(o, "tqc");
        else if (kind == 2)
            appendWord(o, "tqr");
        else if (kind == 3)
            appendWord(o, "tqdec");
        if (leader)
            appendWord(o, leaders[leader]);
        appendWord(o, kind == 4 ? "tb" : "tx", twips(tabs[i].position));
    }
    // A space ends the last control word; after a group it would be text.
    if (!o.endsWith('}'))
        o.append(' ');
}

void Writer::writeBlock(const QTextBlock& block, int from, int to, const char* end) {
    writeParaProps(block, tableDepth(block));
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        const int fs = frag.position(), fe = fs + frag.length();
        const int s = qMax(fs, from), e = qMin(fe, to);
        if (s >= e)
            continue;
        const QString text = frag.text().mid(s - fs, e - s);
        const QTextCharFormat f = frag.charFormat();
        any = true;
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (href.isEmpty()) {
            writeFragmentText(f, text);
            continue;
        }
        // Consecutive fragments of one link make one field; the group keeps
        // the formatting inside, so the state outside is restored after it.
        QString title = text;
        QList<QPair<QTextCharFormat, QString>> parts{{f, text}};
        auto next = it;
        ++next;
        while (!next.atEnd()) {
            const QTextFragment nf = next.fragment();
            const int ns = nf.position(), ne = ns + nf.length();
            const int s2 = qMax(ns, from), e2 = qMin(ne, to);
            if (s2 >= e2 || !nf.charFormat().isAnchor() || nf.charFormat().anchorHref() != href)
                break;
            parts.append({nf.charFormat(), nf.text().mid(s2 - ns, e2 - s2)});
            it = next;
            ++next;
        }
        QString target = href;
        target.replace(u'\\', u"\\\\"_s);
        target.replace(u'"', u"\\\""_s);
        // The link's own attributes go before the field, so that a uniform
        // title is written exactly as {\fldrslt{title}}.
        writeFormat(parts.first().first);
        body_.append("{\\field{\\*\\fldinst{HYPERLINK \"");
        appendText(body_, target);
        body_.append("\"}}{\\fldrslt{");
        const Written saved = cur_;
        for (const auto& part : parts)
            writeFragmentText(part.first, part.second);
        body_.append("}}}");
        cur_ = saved;
    }
    if (!any) {
        // An empty paragraph keeps the attributes of its mark.
        writeFormat(block.charFormat());
    }
    const QByteArray tail = block.blockFormat().property(PropRawTail).toByteArray();
    body_.append(tail);
    if (*end)
        closeBeforeEnd(block);
    body_.append(end);
}

// Tables inside a cell are written in the nested form: their paragraphs
// carry \itapN, cells end with \nestcell and each row with its definition in
// \nesttableprops; the text of the outer cell stays around them.
void Writer::writeTable(QTextTable* table, int depth) {
    const std::vector<int> rights = columnRights(table);
    const bool nested = depth > 1;
    for (int r = 0; r < table->rows(); ++r) {
        const QByteArray definition = rowDefinition(table, r, rights);
        if (!nested)
            body_.append(definition + "\r\n");
        for (int c = 0; c < int(rights.size()); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c)
                writeCell(cell, depth);
            else
                body_.append("\\pard\\intbl" + itap(depth) + cellEnd(depth));
        }
        if (nested)
            body_.append("{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}\r\n");
        else
            body_.append("\\row\r\n");
    }
}

void Writer::writeCell(const QTextTableCell& cell, int depth) {
    std::vector<QTextFrame::iterator> items;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        if (it.currentFrame() || it.currentBlock().isValid())
            items.push_back(it);
    }
    bool ended = false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i == 0 && keptBeforeTable(items[i]))
            continue;
        if (QTextFrame* frame = items[i].currentFrame()) {
            if (auto* inner = qobject_cast<QTextTable*>(frame))
                writeTable(inner, depth + 1);
            continue;
        }
        // Qt keeps a paragraph after every table, so a cell ends with one.
        const QTextBlock b = items[i].currentBlock();
        ended = i + 1 == items.size();
        if (b.blockFormat().boolProperty(PropFootnoteEcho) && !ended)
            continue; // shown only; its group is written where it stands
        writeBlock(b, b.position(), b.position() + b.length() - 1, ended ? cellEnd(depth) : "\\par\r\n");
    }
    if (!ended)
        body_.append("\\pard\\intbl" + itap(depth) + cellEnd(depth));
}

void Writer::writeFrame(QTextFrame* frame) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(child))
                writeTable(table, 1);
            else
                writeFrame(child);
            continue;
        }
        const QTextBlock b = it.currentBlock();
        if (!b.isValid() || b.blockFormat().boolProperty(PropFootnoteEcho))
            continue;
        if (b.position() == 0 && keptBeforeTable(it))
            continue;
        writeBlock(b, b.position(), b.position() + b.length() - 1, "\\par\r\n");
    }
}

QByteArray Writer::run(int from, int to, bool selection) {
    if (!selection) {
        writeFrame(doc_->rootFrame());
    } else {
        for (QTextBlock b = doc_->findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
            const int blockEnd = b.position() + b.length() - 1; // the paragraph mark
            if (b.position() >= to && b.position() != from)
                break;
            // Shown-only paragraphs (footnote and text box texts) travel as their groups.
            if (!b.blockFormat().boolProperty(PropFootnoteEcho))
                writeBlock(b, from, to, blockEnd < to ? "\\par\r\n" : "");
            if (blockEnd >= to)
                break;
        }
    }
    QByteArray out("{\\rtf1\\ansi\\ansicpg1251\\deff0");
    if (!(flags_ & WritePlainRtf))
        out.append("\\deflang1049");
    out.append("{\\fonttbl");
    if (fonts_.empty())
        fonts_.push_back(FontKey{doc_->defaultFont().family(), 204, {}, 0});
    for (size_t i = 0; i < fonts_.size(); ++i) {
        const FontKey& f = fonts_[i];
        out.append("{\\f" + QByteArray::number(qsizetype(i)) + "\\" +
                   (f.family.isEmpty() ? QByteArray("fnil") : f.family) + "\\fcharset" +
                   QByteArray::number(f.charset) +
                   (f.pitch ? "\\fprq" + QByteArray::number(f.pitch) : QByteArray()) + ' ');
        QString name = f.name;
        name.remove(u';'); // the name ends at the first ';'
        appendRtfText(out, name, f.charset == 204 || f.charset == 1);
        out.append(";}");
    }
    out.append("}\r\n");
    if (!colors_.empty()) {
        out.append("{\\colortbl ;");
        for (const QColor& c : colors_) {
            out.append("\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                       "\\blue" + QByteArray::number(c.blue()) + ';');
        }
        out.append("}\r\n");
    }
    out.append(listTable());
    out.append("{\\*\\generator Vellinor;}");
    const qreal tabPx = doc_->defaultTextOption().tabStopDistance();
    appendWord(out, "deftab", tabPx > 0 ? qRound(tabPx * 15) : 720);
    out.append("\\viewkind4\\uc1");
    out.append(body_);
    out.append("}\r\n");
    return out;
}

} // namespace

QByteArray writeRtf(const QTextDocument* doc, int flags, const QTextCursor* selection) {
    if (!doc)
        return {};
    Writer w(doc, flags);
    if ((flags & WriteSelection) && selection)
        return w.run(selection->selectionStart(), selection->selectionEnd(), true);
    return w.run(0, doc->characterCount(), false);
}

} // namespace vlr::rtf
