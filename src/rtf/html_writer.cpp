#include "rtf/html_writer.h"

#include "rtf/font_kinds.h"
#include "rtf/list_numbers.h"
#include "rtf/pictures.h"

#include "rtf/properties.h"
#include "rtf/state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace vlr::rtf {

using namespace Qt::StringLiterals;

namespace {

void escapeInto(QString& out, QStringView text, bool tabsAsNbsp) {
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '&':
            out += u"&amp;"_s;
            break;
        case '<':
            out += u"&lt;"_s;
            break;
        case '>':
            out += u"&gt;"_s;
            break;
        case '"':
            out += u"&quot;"_s;
            break;
        case '\'':
            out += u"&#39;"_s;
            break;
        case 0x00A0:
            out += u"&nbsp;"_s;
            break;
        case 0x2028:
            out += u"<BR>\r\n"_s;
            break;
        case '\t':
            out += tabsAsNbsp ? u"&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"_s : u"&#9;"_s;
            break;
        case QChar::ObjectReplacementCharacter:
            break;
        default:
            if (ch.unicode() < 0x20)
                out += u"&#"_s + QString::number(ch.unicode()) + u';';
            else
                out += ch;
        }
    }
}

QString escaped(QStringView text) {
    QString s;
    escapeInto(s, text, false);
    return s;
}

QString cssColor(const QColor& c) {
    return c.name(QColor::HexRgb);
}

class HtmlWriter {
public:
    HtmlWriter(const QTextDocument* doc, const ConvertDataOptions& o) : doc_(doc), o_(o) {}
    QByteArray run();

private:
    void frame(QTextFrame* f);
    void table(QTextTable* t);
    void block(const QTextBlock& b);
    void image(const QTextImageFormat& f);
    QString spanStyle(const QTextCharFormat& f) const;

    const QTextDocument* doc_;
    const ConvertDataOptions& o_;
    QString out_;
    int pictureCount_ = 0;
};

QString HtmlWriter::spanStyle(const QTextCharFormat& f) const {
    QString s;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().trimmed().isEmpty())
        s += u"font-family:"_s + cssFontFamily(families.first()) + u';';
    if (f.fontPointSize() > 0)
        s += u"font-size:"_s + QString::number(f.fontPointSize()) + u"pt;"_s;
    if (f.fontWeight() >= QFont::DemiBold)
        s += u"font-weight:bold;"_s;
    if (f.fontItalic())
        s += u"font-style:italic;"_s;
    const bool ul = f.underlineStyle() != QTextCharFormat::NoUnderline &&
                    f.underlineStyle() != QTextCharFormat::SpellCheckUnderline;
    if (ul || f.fontStrikeOut()) {
        s += u"text-decoration:"_s;
        if (ul)
            s += u" underline"_s;
        if (f.fontStrikeOut())
            s += u" line-through"_s;
        s += u';';
    }
    if (f.foreground().style() != Qt::NoBrush)
        s += u"color:"_s + cssColor(f.foreground().color()) + u';';
    if (f.background().style() != Qt::NoBrush)
        s += u"background-color:"_s + cssColor(f.background().color()) + u';';
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s += u"vertical-align:super;"_s;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s += u"vertical-align:sub;"_s;
    return s;
}

void HtmlWriter::image(const QTextImageFormat& f) {
    if (!o_.pictures || o_.folder.isEmpty())
        return;
    // Original PNG and JPEG bytes are written as they came; other pictures,
    // metafiles as drawn included, as PNG. Objects that show nothing are left out.
    QByteArray bytes = f.property(PropPictData).toByteArray();
    const int kind = f.intProperty(PropPictKind);
    const bool original = !bytes.isEmpty() && (kind == Picture::Png || kind == Picture::Jpeg);
    QImage img;
    if (!original) {
        const QVariant res = doc_->resource(QTextDocument::ImageResource, QUrl(f.name()));
        img = res.userType() == QMetaType::QImage    ? res.value<QImage>()
              : res.userType() == QMetaType::QPixmap ? res.value<QPixmap>().toImage()
                                                     : QImage();
        if (img.isNull() || img.cacheKey() == placeholderImage().cacheKey())
            return;
    }
    QString base = QFileInfo(o_.fileName).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("note");
    const QString ext = original && kind == Picture::Jpeg ? QStringLiteral("jpg") : QStringLiteral("png");
    const QString name = base + u"_"_s + QString::number(++pictureCount_) + u'.' + ext;
    const QString path = QDir(o_.folder).filePath(name);
    if (original) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return;
    } else if (!img.save(path, "PNG")) {
        return;
    }
    out_ += u"<IMG src=\""_s + escaped(QString::fromUtf8(QUrl::toPercentEncoding(name))) + u"\" width="_s +
            QString::number(qRound(f.width())) + u" height="_s + QString::number(qRound(f.height())) +
            u" alt=\"\">"_s;
}

void HtmlWriter::block(const QTextBlock& b) {
    const QTextBlockFormat bf = b.blockFormat();
    out_ += u"<P"_s;
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        out_ += u" align=right"_s;
    else if (a & Qt::AlignHCenter)
        out_ += u" align=center"_s;
    else if (a & Qt::AlignJustify)
        out_ += u" align=justify"_s;
    QString style;
    if (bf.leftMargin() != 0)
        style += u"margin-left:"_s + QString::number(qRound(bf.leftMargin())) + u"px;"_s;
    if (bf.textIndent() != 0)
        style += u"text-indent:"_s + QString::number(qRound(bf.textIndent())) + u"px;"_s;
    if (bf.rightMargin() != 0)
        style += u"margin-right:"_s + QString::number(qRound(bf.rightMargin())) + u"px;"_s;
    style += u"margin-top:"_s + QString::number(qRound(bf.topMargin())) + u"px;"_s;
    style += u"margin-bottom:"_s + QString::number(qRound(bf.bottomMargin())) + u"px;"_s;
    out_ += u" style=\""_s + style + u"\">"_s;
    if (b.textList())
        out_ += escaped(listItemLabel(b)) + u"&nbsp;"_s;
    bool any = false;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        const QTextCharFormat f = frag.charFormat();
        if (f.isImageFormat()) {
            for (int i = 0; i < frag.length(); ++i)
                image(f.toImageFormat());
            any = true;
            continue;
        }
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        const bool link = !href.isEmpty() && safeLinkTarget(href);
        if (link)
            out_ += u"<A href=\""_s + escaped(href) + u"\">"_s;
        const QString css = spanStyle(f);
        if (!css.isEmpty())
            out_ += u"<SPAN style=\""_s + escaped(css) + u"\">"_s;
        escapeInto(out_, frag.text(), o_.tabsAsNbsp);
        if (!css.isEmpty())
            out_ += u"</SPAN>"_s;
        if (link)
            out_ += u"</A>"_s;
        any = any || frag.length() > 0;
    }
    if (!any)
        out_ += u"&nbsp;"_s;
    out_ += u"</P>\r\n"_s;
}

void HtmlWriter::table(QTextTable* t) {
    out_ += u"<TABLE border=1 cellspacing=0 cellpadding=2>\r\n"_s;
    for (int r = 0; r < t->rows(); ++r) {
        out_ += u"<TR>"_s;
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            out_ += u"<TD"_s;
            if (cell.rowSpan() > 1)
                out_ += u" rowspan="_s + QString::number(cell.rowSpan());
            if (cell.columnSpan() > 1)
                out_ += u" colspan="_s + QString::number(cell.columnSpan());
            out_ += u'>';
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (QTextFrame* child = it.currentFrame()) {
                    if (auto* inner = qobject_cast<QTextTable*>(child))
                        table(inner);
                    else
                        frame(child);
                } else if (it.currentBlock().isValid()) {
                    block(it.currentBlock());
                }
            }
            out_ += u"</TD>"_s;
        }
        out_ += u"</TR>\r\n"_s;
    }
    out_ += u"</TABLE>\r\n"_s;
}

void HtmlWriter::frame(QTextFrame* f) {
    for (auto it = f->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* t = qobject_cast<QTextTable*>(child))
                table(t);
            else
                frame(child);
        } else if (it.currentBlock().isValid()) {
            block(it.currentBlock());
        }
    }
}

QString backgroundCss(const ConvertDataOptions& o) {
    if (!o.useBackground)
        return {};
    const quint32 v = o.backgroundColor;
    if (v == 0)
        return {}; // no colour of its own
    if (v == 0x1FFFFFFF)
        return QStringLiteral("#000000");
    if (v & 0xFF000000u) {
        // System colours: only the window background has a fixed meaning here.
        return (v == 0x80000005u) ? QStringLiteral("#ffffff") : QString();
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)).name(QColor::HexRgb);
}

QByteArray HtmlWriter::run() {
    out_ += u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"_s;
    out_ += u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"_s;
    // The generator line is the caller's own markup (a META element).
    if (!o_.generator.isEmpty()) {
        out_ += o_.generator;
        if (!o_.generator.endsWith(u'\n'))
            out_ += u"\r\n"_s;
    }
    // A page without a title shows its address in the browser's tab and history.
    const QString title =
        o_.title.trimmed().isEmpty() ? QFileInfo(o_.fileName).completeBaseName() : o_.title.trimmed();
    out_ += u"<TITLE>"_s + escaped(title) + u"</TITLE>\r\n"_s;
    QString bodyCss;
    if (!o_.fontName.trimmed().isEmpty())
        bodyCss += u"font-family:"_s + cssFontFamily(o_.fontName) + u';';
    if (o_.fontSize > 0)
        bodyCss += u"font-size:"_s + QString::number(o_.fontSize) + u"pt;"_s;
    const QString bg = backgroundCss(o_);
    if (!bg.isEmpty())
        bodyCss += u"background-color:"_s + bg + u';';
    if (!bodyCss.isEmpty())
        out_ += u"<STYLE type=\"text/css\">\r\nBODY {"_s + bodyCss + u"}\r\n</STYLE>\r\n"_s;
    out_ += u"</HEAD>\r\n<BODY"_s;
    if (!bg.isEmpty())
        out_ += u" bgcolor=\""_s + bg + u"\""_s;
    out_ += u">\r\n"_s;
    frame(doc_->rootFrame());
    out_ += u"</BODY>\r\n</HTML>\r\n"_s;
    return out_.toUtf8();
}

} // namespace

bool safeLinkTarget(const QString& target) {
    // Browsers ignore white space and control characters inside a scheme
    // ("java\tscript:"), so they are removed before looking at it.
    QString t;
    for (const QChar c : target) {
        if (c.unicode() > 0x20)
            t += c;
    }
    const qsizetype colon = t.indexOf(u':');
    if (colon < 0)
        return true; // relative
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = t[i];
        if (c == u'/' || c == u'?' || c == u'#')
            return true; // the colon is not part of a scheme
    }
    const QString scheme = t.first(colon).toLower();
    static const QStringList allowed{"http", "https", "ftp",  "ftps", "mailto",
                                     "file", "news",  "nntp", "note"};
    return allowed.contains(scheme);
}

QByteArray documentToHtml(const QTextDocument* doc, const ConvertDataOptions& options) {
    return HtmlWriter(doc, options).run();
}

} // namespace vlr::rtf
