#include "editor/para_attributes.h"

#include "editor/custom_richedit.h"
#include "rtf/properties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

namespace vlr {

namespace {

// Block lengths are pixels at 96 dpi: 0.75 point each, 15 twips each.
constexpr qreal kPtPerPx = 0.75;
constexpr int kMinNumberingOffset = 200; // twips

int pt(qreal px) {
    return qRound(px * kPtPerPx);
}

qreal px(qreal points) {
    return points / kPtPerPx;
}

// The editor-side numbering tab, kept on the list format.
constexpr int kPropNumberingTab = QTextFormat::UserProperty + 0x5401;

TRxNumbering numberingOf(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return TRxNumbering::nsBullet;
    case QTextListFormat::ListDecimal:
        return TRxNumbering::nsArabicNumbers;
    case QTextListFormat::ListLowerAlpha:
        return TRxNumbering::nsLoCaseLetter;
    case QTextListFormat::ListUpperAlpha:
        return TRxNumbering::nsUpCaseLetter;
    case QTextListFormat::ListLowerRoman:
        return TRxNumbering::nsLoCaseRoman;
    case QTextListFormat::ListUpperRoman:
        return TRxNumbering::nsUpCaseRoman;
    default:
        return TRxNumbering::nsNone;
    }
}

QTextListFormat::Style styleOf(TRxNumbering n) {
    switch (n) {
    case TRxNumbering::nsBullet:
        return QTextListFormat::ListDisc;
    case TRxNumbering::nsLoCaseLetter:
        return QTextListFormat::ListLowerAlpha;
    case TRxNumbering::nsUpCaseLetter:
        return QTextListFormat::ListUpperAlpha;
    case TRxNumbering::nsLoCaseRoman:
        return QTextListFormat::ListLowerRoman;
    case TRxNumbering::nsUpCaseRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDecimal;
    }
}

int numberingStyleOf(const QTextListFormat& lf) {
    const QString prefix = lf.numberPrefix();
    const QString suffix =
        lf.hasProperty(QTextFormat::ListNumberSuffix) ? lf.numberSuffix() : QStringLiteral(".");
    if (prefix == u"(" && suffix == u")")
        return nsParenthesises;
    if (suffix == u")")
        return nsParenthesis;
    if (suffix == u".")
        return nsPeriod;
    return nsSimple;
}

void setNumberingStyle(QTextListFormat& lf, int style) {
    switch (style & 0xF00) {
    case nsParenthesis:
        lf.setNumberPrefix(QString());
        lf.setNumberSuffix(QStringLiteral(")"));
        break;
    case nsParenthesises:
        lf.setNumberPrefix(QStringLiteral("("));
        lf.setNumberSuffix(QStringLiteral(")"));
        break;
    case nsPeriod:
        lf.setNumberPrefix(QString());
        lf.setNumberSuffix(QStringLiteral("."));
        break;
    default:
        lf.setNumberPrefix(QString());
        lf.setNumberSuffix(QString());
        break;
    }
}

TRxParaFormat formatOf(const QTextBlock& block) {
    TRxParaFormat p;
    const QTextBlockFormat f = block.blockFormat();
    const bool rtl = f.layoutDirection() == Qt::RightToLeft;
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        p.alignment = TParaAlignment::paCenter;
    else if (a & Qt::AlignJustify)
        p.alignment = TParaAlignment::paJustify;
    else if (a & Qt::AlignRight)
        p.alignment = rtl ? TParaAlignment::paLeftJustify : TParaAlignment::paRightJustify;
    else
        p.alignment =
            rtl && (a & Qt::AlignLeft) ? TParaAlignment::paRightJustify : TParaAlignment::paLeftJustify;
    p.firstIndent = pt(f.leftMargin() + f.textIndent());
    p.leftIndent = pt(-f.textIndent());
    p.rightIndent = pt(f.rightMargin());
    p.spaceBefore = pt(f.topMargin());
    p.spaceAfter = pt(f.bottomMargin());
    if (f.hasProperty(rtf::PropLineSpacing)) {
        const int sl = f.intProperty(rtf::PropLineSpacing);
        if (sl == 0) {
            p.lineSpacingRule = TLineSpacingRule::lsSingle;
        } else if (f.boolProperty(rtf::PropLineMult)) {
            p.lineSpacingRule = sl == 360   ? TLineSpacingRule::lsOneAndHalf
                                : sl == 480 ? TLineSpacingRule::lsDouble
                                            : TLineSpacingRule::lsMultiple;
            p.lineSpacing = qAbs(sl) / 240.0;
            if (p.lineSpacingRule != TLineSpacingRule::lsMultiple)
                p.lineSpacing = 0;
        } else {
            p.lineSpacingRule = sl > 0 ? TLineSpacingRule::lsAtLeast : TLineSpacingRule::lsExactly;
            p.lineSpacing = qAbs(sl) / 20.0;
        }
    } else {
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (f.lineHeight() != 100) {
                p.lineSpacingRule = TLineSpacingRule::lsMultiple;
                p.lineSpacing = f.lineHeight() / 100.0;
            }
            break;
        case QTextBlockFormat::MinimumHeight:
            p.lineSpacingRule = TLineSpacingRule::lsAtLeast;
            p.lineSpacing = f.lineHeight() * kPtPerPx;
            break;
        case QTextBlockFormat::FixedHeight:
            p.lineSpacingRule = TLineSpacingRule::lsExactly;
            p.lineSpacing = f.lineHeight() * kPtPerPx;
            break;
        default:
            break;
        }
    }
    if (const QTextList* list = block.textList()) {
        const QTextListFormat lf = list->format();
        p.numbering = numberingOf(lf.style());
        p.numberingStart = lf.hasProperty(rtf::PropListStart) ? lf.intProperty(rtf::PropListStart) : 1;
        p.numberingStyle = numberingStyleOf(lf);
        p.numberingTab = lf.intProperty(kPropNumberingTab);
    }
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    for (qsizetype i = 0; i < tabs.size() && i < kMaxTabStops; ++i)
        p.tabs.append(pt(tabs[i].position));
    return p;
}

void writeLineSpacing(QTextBlockFormat& f, TLineSpacingRule rule, double value) {
    int sl = 0;
    bool mult = false;
    switch (rule) {
    case TLineSpacingRule::lsSingle:
        break;
    case TLineSpacingRule::lsOneAndHalf:
        sl = 360;
        mult = true;
        break;
    case TLineSpacingRule::lsDouble:
        sl = 480;
        mult = true;
        break;
    case TLineSpacingRule::lsAtLeast:
        sl = qRound(qAbs(value) * 20);
        break;
    case TLineSpacingRule::lsExactly:
        sl = -qRound(qAbs(value) * 20);
        break;
    case TLineSpacingRule::lsMultiple:
        sl = qRound(qAbs(value) * 240);
        mult = true;
        break;
    }
    if (sl == 0) {
        f.clearProperty(rtf::PropLineSpacing);
        f.clearProperty(rtf::PropLineMult);
        f.setLineHeight(100, QTextBlockFormat::SingleHeight);
        return;
    }
    f.setProperty(rtf::PropLineSpacing, sl);
    f.setProperty(rtf::PropLineMult, mult);
    if (mult)
        f.setLineHeight(sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (sl > 0)
        f.setLineHeight(sl / 15.0, QTextBlockFormat::MinimumHeight);
    else
        f.setLineHeight(-sl / 15.0, QTextBlockFormat::FixedHeight);
}

// Writes everything but the numbering into the block.
void writeBlock(QTextCursor& c, const QTextBlock& block, const TRxParaFormat& p) {
    QTextBlockFormat f = block.blockFormat();
    const bool rtl = f.layoutDirection() == Qt::RightToLeft;
    switch (p.alignment) {
    case TParaAlignment::paLeftJustify:
        f.setAlignment(rtl ? Qt::AlignRight : Qt::AlignLeft);
        break;
    case TParaAlignment::paRightJustify:
        f.setAlignment(rtl ? Qt::AlignLeft : Qt::AlignRight);
        break;
    case TParaAlignment::paCenter:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case TParaAlignment::paJustify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    f.setLeftMargin(px(p.firstIndent + p.leftIndent));
    f.setTextIndent(-px(p.leftIndent));
    f.setRightMargin(px(p.rightIndent));
    f.setTopMargin(px(p.spaceBefore));
    f.setBottomMargin(px(p.spaceAfter));
    writeLineSpacing(f, p.lineSpacingRule, p.lineSpacing);
    const TRxParaFormat old = formatOf(block);
    if (old.tabs != p.tabs) {
        QList<QTextOption::Tab> tabs;
        for (qsizetype i = 0; i < p.tabs.size() && i < kMaxTabStops; ++i)
            tabs.append(QTextOption::Tab(px(p.tabs[i]), QTextOption::LeftTab));
        f.setTabPositions(tabs);
        f.clearProperty(rtf::PropTabKinds);
    }
    c.setPosition(block.position());
    c.setBlockFormat(f);
}

// Numbering of all the blocks together: one list for the run.
void writeNumbering(QTextCursor& c, const QList<QTextBlock>& blocks, const TRxParaFormat& p) {
    if (blocks.isEmpty())
        return;
    if (p.numbering == TRxNumbering::nsNone) {
        for (const QTextBlock& b : blocks) {
            TRxParaFormat bf = formatOf(b);
            if (QTextList* list = b.textList())
                list->remove(b);
            // The offset goes; the first line keeps its place.
            bf.leftIndent = 0;
            writeBlock(c, b, bf);
            QTextBlockFormat f = b.blockFormat();
            f.setIndent(0);
            c.setPosition(b.position());
            c.setBlockFormat(f);
        }
        return;
    }
    QTextListFormat lf;
    lf.setStyle(styleOf(p.numbering));
    lf.setIndent(1);
    if (p.numbering != TRxNumbering::nsBullet) {
        lf.setProperty(rtf::PropListStart, p.numberingStart);
        setNumberingStyle(lf, p.numberingStyle);
    }
    lf.setProperty(kPropNumberingTab, p.numberingTab);
    QTextList* shared = blocks.first().textList();
    for (const QTextBlock& b : blocks) {
        if (b.textList() != shared)
            shared = nullptr;
    }
    if (shared && shared->count() == blocks.size()) {
        shared->setFormat(lf);
    } else {
        c.setPosition(blocks.first().position());
        c.setPosition(blocks.last().position(), QTextCursor::KeepAnchor);
        c.createList(lf);
    }
    const int minOffset = qRound(kMinNumberingOffset / 20.0);
    for (const QTextBlock& b : blocks) {
        TRxParaFormat bf = formatOf(b);
        if (bf.leftIndent < minOffset) {
            bf.leftIndent = minOffset;
            writeBlock(c, b, bf);
        }
    }
}

} // namespace

// ---- reading: the first touched paragraph

TRxParaFormat TRxParaAttributes::Get() const {
    const QList<QTextBlock> blocks = m_owner->selectedBlocks();
    return blocks.isEmpty() ? TRxParaFormat{} : formatOf(blocks.first());
}

TParaAlignment TRxParaAttributes::Alignment() const {
    return Get().alignment;
}
int TRxParaAttributes::FirstIndent() const {
    return Get().firstIndent;
}
int TRxParaAttributes::LeftIndent() const {
    return Get().leftIndent;
}
int TRxParaAttributes::RightIndent() const {
    return Get().rightIndent;
}
int TRxParaAttributes::SpaceBefore() const {
    return Get().spaceBefore;
}
int TRxParaAttributes::SpaceAfter() const {
    return Get().spaceAfter;
}
TLineSpacingRule TRxParaAttributes::LineSpacingRule() const {
    return Get().lineSpacingRule;
}
double TRxParaAttributes::LineSpacing() const {
    return Get().lineSpacing;
}
TRxNumbering TRxParaAttributes::Numbering() const {
    return Get().numbering;
}
int TRxParaAttributes::NumberingStart() const {
    return Get().numberingStart;
}
int TRxParaAttributes::NumberingStyle() const {
    return Get().numberingStyle;
}
int TRxParaAttributes::NumberingTab() const {
    return Get().numberingTab;
}
int TRxParaAttributes::TabCount() const {
    return int(Get().tabs.size());
}

int TRxParaAttributes::Tab(int index) const {
    const QList<int> tabs = Get().tabs;
    return index >= 0 && index < tabs.size() ? tabs[index] : 0;
}

// ---- writing: every touched paragraph, one property

namespace {

void changeEach(TMyCustomRichEdit* owner, const std::function<void(TRxParaFormat&)>& change) {
    const QList<QTextBlock> blocks = owner->selectedBlocks();
    owner->changeBlocks([&](QTextCursor& c) {
        for (const QTextBlock& b : blocks) {
            TRxParaFormat p = formatOf(b);
            change(p);
            writeBlock(c, b, p);
        }
    });
}

// The numbering of the touched paragraphs with one property changed.
void changeNumbering(TMyCustomRichEdit* owner, const std::function<void(TRxParaFormat&)>& change) {
    const QList<QTextBlock> blocks = owner->selectedBlocks();
    if (blocks.isEmpty())
        return;
    TRxParaFormat p = formatOf(blocks.first());
    change(p);
    owner->changeBlocks([&](QTextCursor& c) { writeNumbering(c, blocks, p); });
}

} // namespace

void TRxParaAttributes::SetAlignment(TParaAlignment a) {
    changeEach(m_owner, [&](TRxParaFormat& p) { p.alignment = a; });
}

void TRxParaAttributes::SetFirstIndent(int points) {
    changeEach(m_owner, [&](TRxParaFormat& p) { p.firstIndent = points; });
}

void TRxParaAttributes::SetLeftIndent(int points) {
    changeEach(m_owner, [&](TRxParaFormat& p) { p.leftIndent = points; });
}

void TRxParaAttributes::SetRightIndent(int points) {
    changeEach(m_owner, [&](TRxParaFormat& p) { p.rightIndent = points; });
}

void TRxParaAttributes::SetSpaceBefore(int points) {
    changeEach(m_owner, [&](TRxParaFormat& p) { p.spaceBefore = points; });
}

void TRxParaAttributes::SetSpaceAfter(int points) {
    changeEach(m_owner, [&](TRxParaFormat& p) { p.spaceAfter = points; });
}

void TRxParaAttributes::SetLineSpacing(TLineSpacingRule rule, double value) {
    changeEach(m_owner, [&](TRxParaFormat& p) {
        p.lineSpacingRule = rule;
        p.lineSpacing = value;
    });
}

void TRxParaAttributes::SetTabs(const QList<int>& points) {
    const QList<int> tabs = points.mid(0, kMaxTabStops);
    changeEach(m_owner, [&](TRxParaFormat& p) { p.tabs = tabs; });
}

void TRxParaAttributes::SetNumbering(TRxNumbering kind) {
    changeNumbering(m_owner, [&](TRxParaFormat& p) { p.numbering = kind; });
}

void TRxParaAttributes::SetNumberingStart(int start) {
    changeNumbering(m_owner, [&](TRxParaFormat& p) { p.numberingStart = start; });
}

void TRxParaAttributes::SetNumberingStyle(int style) {
    changeNumbering(m_owner, [&](TRxParaFormat& p) { p.numberingStyle = style; });
}

void TRxParaAttributes::SetNumberingTab(int twips) {
    changeNumbering(m_owner, [&](TRxParaFormat& p) { p.numberingTab = twips; });
}

void TRxParaAttributes::Set(const TRxParaFormat& format) {
    TRxParaFormat f = format;
    f.tabs = f.tabs.mid(0, kMaxTabStops);
    const QList<QTextBlock> blocks = m_owner->selectedBlocks();
    m_owner->changeBlocks([&](QTextCursor& c) {
        for (const QTextBlock& b : blocks)
            writeBlock(c, b, f);
        writeNumbering(c, blocks, f);
    });
}

} // namespace vlr
