#include "doc_compare.h"

#include "rtf/properties.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace vlr::test {

namespace {

using namespace vlr::rtf;

// Attributes as shown: what a format leaves unsaid comes from the document's default font.
QString charKey(const QTextCharFormat& f, const QFont& def) {
    QStringList k;
    QString family = f.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = def.family();
    const qreal size = f.fontPointSize() > 0 ? f.fontPointSize() : def.pointSizeF();
    k << family << QString::number(size) << QString::number(f.fontWeight() >= QFont::DemiBold)
      << QString::number(f.fontItalic()) << QString::number(int(f.underlineStyle()))
      << f.property(PropUnderlineKind).toString() << QString::number(f.fontStrikeOut())
      << QString::number(f.boolProperty(PropStrikeDouble))
      << (f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name())
      << (f.background().style() == Qt::NoBrush ? QString() : f.background().color().name())
      << QString::number(int(f.verticalAlignment())) << f.property(PropUp).toString()
      << QString::number(f.boolProperty(PropProtect)) << QString::number(f.boolProperty(PropDisabled))
      << f.property(PropLang).toString() << QString::number(int(f.fontCapitalization()))
      << (f.isAnchor() ? f.anchorHref() : QString());
    if (f.isImageFormat()) {
        const QTextImageFormat im = f.toImageFormat();
        k << QStringLiteral("img") << QString::number(im.width()) << QString::number(im.height())
          << QString::fromLatin1(f.property(PropPictData).toByteArray().toBase64())
          << QString::fromLatin1(f.property(PropPictRaw).toByteArray().toBase64());
    }
    return k.join(u'|');
}

QString blockKey(const QTextBlock& b) {
    const QTextBlockFormat f = b.blockFormat();
    QStringList k;
    k << QString::number(int(f.alignment() & Qt::AlignHorizontal_Mask)) << QString::number(f.leftMargin())
      << QString::number(f.textIndent()) << QString::number(f.rightMargin()) << QString::number(f.topMargin())
      << QString::number(f.bottomMargin()) << QString::number(f.lineHeightType())
      << QString::number(f.lineHeight()) << QString::number(int(f.layoutDirection()))
      << QString::number(int(f.pageBreakPolicy()));
    for (const auto& t : f.tabPositions())
        k << QStringLiteral("tab%1/%2").arg(t.position).arg(int(t.type));
    if (QTextList* l = b.textList()) {
        const QTextListFormat lf = l->format();
        k << QStringLiteral("list") << QString::number(int(lf.style())) << QString::number(lf.indent())
          << lf.numberPrefix() << lf.numberSuffix()
          << lf.property(PropListIndent).toString()
          // The number shown: Qt 6.4 lists count from 1, the start is kept aside.
          << QString::number((lf.hasProperty(PropListStart) ? lf.intProperty(PropListStart) : 1) +
                             l->itemNumber(b));
    }
    if (QTextTable* t = QTextCursor(b).currentTable()) {
        const QTextTableCell c = t->cellAt(b.position());
        int depth = 0;
        for (QTextFrame* f = t; f; f = f->parentFrame())
            depth += qobject_cast<QTextTable*>(f) != nullptr;
        k << QStringLiteral("cell%1,%2 span %3x%4 of %5x%6 depth %7")
                 .arg(c.row())
                 .arg(c.column())
                 .arg(c.rowSpan())
                 .arg(c.columnSpan())
                 .arg(t->rows())
                 .arg(t->columns())
                 .arg(depth);
    }
    return k.join(u'|');
}

// Runs of equal attributes, independent of how the document split its fragments.
QList<QPair<QString, QString>> runs(const QTextBlock& b) {
    QList<QPair<QString, QString>> out;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (!f.isValid())
            continue;
        const QString key = charKey(f.charFormat(), b.document()->defaultFont());
        if (!out.isEmpty() && out.back().second == key && !f.charFormat().isImageFormat())
            out.back().first += f.text();
        else
            out.append({f.text(), key});
    }
    return out;
}

} // namespace

QString compareDocuments(const QTextDocument& a, const QTextDocument& b) {
    if (a.toRawText() != b.toRawText())
        return QStringLiteral("text differs:\n[%1]\n[%2]")
            .arg(a.toRawText().left(400), b.toRawText().left(400));
    QTextBlock x = a.begin(), y = b.begin();
    int n = 0;
    for (; x.isValid() && y.isValid(); x = x.next(), y = y.next(), ++n) {
        if (blockKey(x) != blockKey(y))
            return QStringLiteral("block %1 (%2) attributes: %3 vs %4")
                .arg(n)
                .arg(x.text().left(40), blockKey(x), blockKey(y));
        const auto rx = runs(x), ry = runs(y);
        if (rx != ry) {
            for (qsizetype i = 0; i < qMin(rx.size(), ry.size()); ++i) {
                if (rx[i] != ry[i])
                    return QStringLiteral("block %1 run %2 [%3] %4 vs [%5] %6")
                        .arg(n)
                        .arg(i)
                        .arg(rx[i].first.left(40), rx[i].second.left(300), ry[i].first.left(40),
                             ry[i].second.left(300));
            }
            return QStringLiteral("block %1: %2 runs vs %3").arg(n).arg(rx.size()).arg(ry.size());
        }
    }
    if (x.isValid() != y.isValid())
        return QStringLiteral("block count differs");
    return {};
}

} // namespace vlr::test
