#include "rtf/document_sink.h"

#include "rtf/pictures.h"
#include "rtf/properties.h"
#include "rtf/table_layout.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace vlr::rtf {

namespace {

QTextCharFormat::UnderlineStyle qtUnderline(int kind) {
    switch (kind) {
    case UlNone:
        return QTextCharFormat::NoUnderline;
    case UlDotted:
    case UlThickDotted:
        return QTextCharFormat::DotLine;
    case UlDash:
    case UlLongDash:
    case UlThickDash:
    case UlThickLongDash:
        return QTextCharFormat::DashUnderline;
    case UlDashDot:
    case UlThickDashDot:
        return QTextCharFormat::DashDotLine;
    case UlDashDotDot:
    case UlThickDashDotDot:
        return QTextCharFormat::DashDotDotLine;
    case UlWave:
    case UlDoubleWave:
    case UlHeavyWave:
        return QTextCharFormat::WaveUnderline;
    default:
        return QTextCharFormat::SingleUnderline;
    }
}

QTextListFormat::Style qtListStyle(ListKind kind) {
    switch (kind) {
    case ListKind::Bullet:
        return QTextListFormat::ListDisc;
    case ListKind::LowerAlpha:
        return QTextListFormat::ListLowerAlpha;
    case ListKind::UpperAlpha:
        return QTextListFormat::ListUpperAlpha;
    case ListKind::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case ListKind::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDecimal;
    }
}

// The bullet shape nearest to the document's own character; the character
// itself is kept so that it is written back.
QTextListFormat::Style bulletStyle(QChar bullet) {
    switch (bullet.unicode()) {
    case u'o':
    case 0x25E6:
    case 0x25CB:
        return QTextListFormat::ListCircle;
    case 0x25AA:
    case 0x25A0:
    case 0x25C6:
    case 0x2751:
    case 0x2756:
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

// A list item whose indent leaves room for its number is shown where its
// own \li and \fi put it; others keep Qt's list indent so the number shows.
bool showsOwnListGeometry(const ParaState& p) {
    constexpr int kNumberRoom = 240; // twips: a number and its gap
    return p.list.kind != ListKind::None && p.li >= kNumberRoom;
}

QTextListFormat listFormat(const ListInfo& info) {
    QTextListFormat f;
    f.setStyle(info.kind == ListKind::Bullet ? bulletStyle(info.bullet) : qtListStyle(info.kind));
    if (info.kind == ListKind::Bullet && !info.bullet.isNull() && info.bullet != QChar(0x2022))
        f.setProperty(PropListBullet, QString(info.bullet));
    f.setIndent(info.level + 1);
    if (info.indent)
        f.setProperty(PropListIndent, info.indent);
    if (info.kind != ListKind::Bullet) {
        f.setProperty(PropListStart, info.start);
        f.setNumberPrefix(info.prefix);
        f.setNumberSuffix(info.suffix);
    }
    return f;
}

// The faces to try for a font of the table, best first: its own name, the
// alternative it names, the name without a script suffix ("Times New Roman
// CYR"), then the generic face of its family class, so that a missing face
// falls back to one of the same kind instead of the default sans face.
QStringList fontFamilies(const FontEntry& font) {
    QStringList families{font.name};
    if (!font.alt.trimmed().isEmpty())
        families.append(font.alt.trimmed());
    static const QLatin1String suffixes[] = {
        QLatin1String(" CYR"),      QLatin1String(" Cyr"),      QLatin1String(" Greek"),
        QLatin1String(" CE"),       QLatin1String(" Baltic"),   QLatin1String(" Tur"),
        QLatin1String(" (Arabic)"), QLatin1String(" (Hebrew)"), QLatin1String(" (Vietnamese)")};
    for (QLatin1String suffix : suffixes) {
        if (font.name.endsWith(suffix)) {
            families.append(font.name.chopped(suffix.size()));
            break;
        }
    }
    if (font.family == "froman")
        families.append(QStringLiteral("serif"));
    else if (font.family == "fswiss")
        families.append(QStringLiteral("sans-serif"));
    else if (font.family == "fmodern")
        families.append(QStringLiteral("monospace"));
    else if (font.pitch == 1)
        families.append(QStringLiteral("monospace"));
    families.removeDuplicates();
    return families;
}

} // namespace

DocumentSink::DocumentSink(QTextCursor& cursor, bool wholeDocument) : c_(cursor), whole_(wholeDocument) {
    if (wholeDocument) {
        base_.setFontPointSize(12); // RTF's default size, \fs24
    } else {
        base_ = cursor.charFormat();
        base_.setAnchor(false);
        base_.clearProperty(QTextFormat::AnchorHref);
        base_.clearProperty(QTextFormat::ObjectType);
        base_.clearProperty(QTextFormat::ImageName);
        base_.clearProperty(PropRawBefore);
        base_.clearProperty(PropRawSerial);
    }
    baseBlock_ = cursor.blockFormat();
}

void DocumentSink::begin(const Tables& tables) {
    tables_ = &tables;
}

const QTextCharFormat& DocumentSink::charFormat(const CharState& s) {
    if (haveLast_ && s == lastState_)
        return lastFormat_;
    QTextCharFormat f = base_;
    const int fontNum = s.font >= 0 ? s.font : tables_->defaultFont;
    auto font = tables_->fonts.constFind(fontNum);
    if (font != tables_->fonts.constEnd() && !font->name.isEmpty()) {
        f.setFontFamilies(fontFamilies(*font));
        if (font->charset >= 0)
            f.setProperty(PropFontCharset, font->charset);
        if (!font->family.isEmpty())
            f.setProperty(PropFontFamilyWord, font->family);
        if (font->pitch)
            f.setProperty(PropFontPitch, font->pitch);
    } else if (whole_) {
        // No font of its own: the document's default face, said explicitly so
        // that writing the text back names the same face.
        f.setFontFamilies(QStringList{c_.document()->defaultFont().family()});
    }
    if (s.fontSize > 0)
        f.setFontPointSize(s.fontSize / 2.0);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setUnderlineStyle(qtUnderline(s.underline));
    if (s.underline != UlNone && s.underline != UlSingle)
        f.setProperty(PropUnderlineKind, int(s.underline));
    else
        f.clearProperty(PropUnderlineKind);
    f.setFontStrikeOut(s.strike != 0);
    if (s.strike == 2)
        f.setProperty(PropStrikeDouble, true);
    const auto& colors = tables_->colors;
    if (s.color > 0 && size_t(s.color) < colors.size() && colors[size_t(s.color)].isValid())
        f.setForeground(colors[size_t(s.color)]);
    else
        f.clearForeground();
    if (s.highlight > 0 && size_t(s.highlight) < colors.size() && colors[size_t(s.highlight)].isValid())
        f.setBackground(colors[size_t(s.highlight)]);
    else
        f.clearBackground();
    f.setVerticalAlignment(s.vertical == 1   ? QTextCharFormat::AlignSuperScript
                           : s.vertical == 2 ? QTextCharFormat::AlignSubScript
                                             : QTextCharFormat::AlignNormal);
    if (s.up != 0) {
        f.setProperty(PropUp, s.up);
        const int size = s.fontSize > 0 ? s.fontSize : 24;
        f.setBaselineOffset(s.up * 100.0 / size);
    }
    if (s.protect)
        f.setProperty(PropProtect, true);
    if (s.disabled)
        f.setProperty(PropDisabled, true);
    if (s.lang > 0)
        f.setProperty(PropLang, s.lang);
    if (s.caps)
        f.setFontCapitalization(s.caps == 1 ? QFont::AllUppercase : QFont::SmallCaps);
    if (s.footnoteRef)
        f.setProperty(PropFootnoteRef, s.footnoteRef);
    if (!s.href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(s.href);
    }
    lastState_ = s;
    lastFormat_ = f;
    haveLast_ = true;
    return lastFormat_;
}

QTextBlockFormat DocumentSink::blockFormat(const ParaState& p) const {
    QTextBlockFormat f;
    switch (p.align) {
    case Align::Left:
        f.setAlignment(Qt::AlignLeft);
        break;
    case Align::Right:
        f.setAlignment(Qt::AlignRight);
        break;
    case Align::Center:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case Align::Justify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    // Twips to pixels at 96 dpi; kept as reals so the twips come back exactly.
    if (p.li)
        f.setLeftMargin(p.li / 15.0);
    if (showsOwnListGeometry(p)) {
        // Qt puts the number left of the first line and adds the list's
        // indent to the margin: every line starts at \li, the number ends
        // just before it (where \fi puts it), and the block's indent takes
        // the list's back. \fi is kept aside to be written again.
        if (p.fi)
            f.setProperty(PropListFirstIndent, p.fi);
        f.setIndent(-(p.list.level + 1));
    } else if (p.fi) {
        f.setTextIndent(p.fi / 15.0);
    }
    if (p.ri)
        f.setRightMargin(p.ri / 15.0);
    if (p.sb)
        f.setTopMargin(p.sb / 15.0);
    if (p.sa)
        f.setBottomMargin(p.sa / 15.0);
    if (p.sl != 0) {
        f.setProperty(PropLineSpacing, p.sl);
        f.setProperty(PropLineMult, p.slmult);
        if (p.slmult)
            f.setLineHeight(qAbs(p.sl) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.sl > 0)
            f.setLineHeight(p.sl / 15.0, QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(-p.sl / 15.0, QTextBlockFormat::FixedHeight);
    }
    if (p.rtl)
        f.setLayoutDirection(Qt::RightToLeft);
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        QByteArray kinds;
        for (const TabStop& t : p.tabs) {
            QTextOption::Tab tab;
            tab.position = t.pos / 15.0;
            switch (t.kind) {
            case 1:
                tab.type = QTextOption::CenterTab;
                break;
            case 2:
                tab.type = QTextOption::RightTab;
                break;
            case 3:
                tab.type = QTextOption::DelimiterTab;
                tab.delimiter = u'.';
                break;
            default:
                tab.type = QTextOption::LeftTab;
                break;
            }
            tabs.append(tab);
            kinds.append(char(t.kind));
            kinds.append(char(t.leader));
        }
        f.setTabPositions(tabs);
        f.setProperty(PropTabKinds, kinds);
    }
    return f;
}

void DocumentSink::materialize() {
    if (cellPending_) {
        cellPending_ = false;
        needBlock_ = false;
        enterCell();
    }
    if (needBlock_) {
        needBlock_ = false;
        if (boxShown_)
            c_.insertBlock(QTextBlockFormat(), base_);
        else
            c_.insertBlock();
    }
    boxShown_ = false;
}

void DocumentSink::text(QStringView text, const CharState& state) {
    materialize();
    if (!pendingRaw_.isEmpty()) {
        QTextCharFormat f = charFormat(state);
        f.setProperty(PropRawBefore, pendingRaw_);
        f.setProperty(PropRawSerial, ++rawSerial_);
        pendingRaw_.clear();
        c_.insertText(text.toString(), f);
        return;
    }
    c_.insertText(text.toString(), charFormat(state));
}

// An empty paragraph's mark carries its attributes. A cell's first
// paragraph mark is also the cell's own: its spans stay.
void DocumentSink::setEmptyBlockCharFormat(QTextCharFormat f) {
    const QTextCharFormat old = c_.blockCharFormat();
    for (const int span : {int(QTextFormat::TableCellRowSpan), int(QTextFormat::TableCellColumnSpan)}) {
        if (old.hasProperty(span))
            f.setProperty(span, old.property(span));
    }
    c_.setBlockCharFormat(f);
}

void DocumentSink::applyParagraph(const ParaState& para, const CharState& state) {
    // Inserted RTF that says nothing about paragraphs (a link, a picture)
    // leaves the paragraph it lands in as it was.
    if (!whole_ && para == ParaState{})
        return;
    QTextBlockFormat bf = blockFormat(para);
    c_.setBlockFormat(bf);
    const QTextBlock block = c_.block();
    if (block.length() <= 1)
        setEmptyBlockCharFormat(charFormat(state));
    if (para.list.kind == ListKind::None) {
        pnList_ = nullptr;
        return;
    }
    QTextList* list = nullptr;
    if (para.list.key < 0) {
        if (pnList_ && pnInfo_ == para.list)
            list = pnList_;
    } else {
        auto it = lists_.constFind(para.list.key);
        if (it != lists_.constEnd() && listInfo_.value(para.list.key) == para.list)
            list = *it;
        pnList_ = nullptr;
    }
    if (list) {
        list->add(block);
        return;
    }
    list = c_.createList(listFormat(para.list));
    if (para.list.key < 0) {
        pnList_ = list;
        pnInfo_ = para.list;
    } else {
        lists_.insert(para.list.key, list);
        listInfo_.insert(para.list.key, para.list);
    }
}

void DocumentSink::paragraphEnd(const ParaState& para, const CharState& state) {
    materialize();
    applyParagraph(para, state);
    showBoxes();
    needBlock_ = true;
}

void DocumentSink::picture(const Picture& pic, const CharState& state) {
    materialize();
    const QByteArray& key = pic.raw.isEmpty() ? pic.data : pic.raw;
    const QString name = QStringLiteral("rtfimg:") +
                         QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Md5).toHex());
    QTextDocument* doc = c_.document();
    QImage decoded;
    const QVariant known = doc->resource(QTextDocument::ImageResource, QUrl(name));
    if (known.userType() == QMetaType::QImage) {
        decoded = known.value<QImage>();
        if (decoded.cacheKey() == placeholderImage().cacheKey())
            decoded = QImage();
    } else {
        // Decoded pictures share one budget, so a small body cannot claim gigabytes.
        decoded = decodePicture(pic, pixelBudget_);
        if (!decoded.isNull())
            pixelBudget_ -= qint64(decoded.width()) * decoded.height();
        doc->addResource(QTextDocument::ImageResource, QUrl(name),
                         decoded.isNull() ? placeholderImage() : decoded);
    }
    const QSizeF shown = shownSize(pic, decoded);

    QTextImageFormat f;
    f.merge(charFormat(state));
    f.setObjectType(QTextFormat::ImageObject);
    f.setName(name);
    f.setWidth(shown.width());
    f.setHeight(shown.height());
    f.setProperty(PropPictShownW, shown.width());
    f.setProperty(PropPictShownH, shown.height());
    f.setProperty(PropPictKind, int(pic.kind));
    if (pic.raw.isEmpty())
        f.setProperty(PropPictData, pic.data);
    else
        f.setProperty(PropPictRaw, pic.raw);
    f.setProperty(PropPicW, pic.picw);
    f.setProperty(PropPicH, pic.pich);
    f.setProperty(PropPicWGoal, pic.picwgoal);
    f.setProperty(PropPicHGoal, pic.pichgoal);
    f.setProperty(PropPicScaleX, pic.scalex);
    f.setProperty(PropPicScaleY, pic.scaley);
    if (pic.object)
        f.setProperty(PropObject, true);
    if (!pendingRaw_.isEmpty()) {
        f.setProperty(PropRawBefore, pendingRaw_);
        f.setProperty(PropRawSerial, ++rawSerial_);
        pendingRaw_.clear();
    }
    c_.insertText(QString(QChar::ObjectReplacementCharacter), f);
}

void DocumentSink::rawGroup(QByteArrayView rtf) {
    pendingRaw_.append(rtf);
}

void DocumentSink::finish(const ParaState& para, const CharState& state) {
    if (whole_ && tables_ && tables_->defTab > 0) {
        QTextDocument* doc = c_.document();
        QTextOption option = doc->defaultTextOption();
        option.setTabStopDistance(tables_->defTab / 15.0);
        doc->setDefaultTextOption(option);
    }
    if (whole_) {
        // A whole body's last \par is the document's own last mark.
        if (!needBlock_)
            applyParagraph(para, state);
    } else if (needBlock_) {
        // Inserted RTF ending in \par (a copied selection that took its
        // paragraph mark along) keeps that mark.
        materialize();
        if (para.pageBreakBefore) {
            QTextBlockFormat pageBreak;
            pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            c_.mergeBlockFormat(pageBreak);
        }
    }
    keepPendingRaw();
    showBoxes();
    if (whole_)
        showNotes();
}

} // namespace vlr::rtf
