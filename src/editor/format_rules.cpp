#include "editor/format_rules.h"

namespace vlr {

QString undoActionName(TUndoName name) {
    switch (name) {
    case TUndoName::unTyping:
        return QStringLiteral("ввод текста");
    case TUndoName::unDelete:
        return QStringLiteral("удаление");
    case TUndoName::unDragDrop:
        return QStringLiteral("перенести'и'оставить");
    case TUndoName::unCut:
        return QStringLiteral("перенос в буфер");
    case TUndoName::unPaste:
        return QStringLiteral("вставку из буфера");
    case TUndoName::unUnknown:
        break;
    }
    return QString();
}

QString undoCaption(TUndoName name) {
    return QStringLiteral("Отменить ") + undoActionName(name);
}

QString redoCaption(TUndoName name) {
    return QStringLiteral("Повторить ") + undoActionName(name);
}

std::optional<int> sizeBoxPoints(const QString& text, bool chosen) {
    QString digits;
    for (QChar ch : text)
        if (ch >= u'0' && ch <= u'9')
            digits += ch;
    bool ok = false;
    const int points = digits.toInt(&ok);
    // 1638 points is the largest size a font run can carry.
    if (!ok || points > 1638 || (chosen && points <= 0))
        return std::nullopt;
    return points;
}

namespace {

// A number of a colour-table entry; what is no number counts 0.
int tableNumber(const QByteArray& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? qBound(0, n, 255) : 0;
}

} // namespace

QList<quint32> documentColors(const QByteArray& body) {
    const QByteArray head = body.left(kDocumentColorBytes);
    QList<quint32> colors;
    if (!head.contains("\\colortbl"))
        return colors;
    static const QByteArray kOpen = "{\\colortbl ;";
    const qsizetype open = head.indexOf(kOpen);
    if (open < 0)
        return colors;
    QByteArray rest = head.mid(open + kOpen.size());
    const qsizetype close = rest.indexOf('}');
    if (close >= 0)
        rest.truncate(close);
    // After the last ";" comes the close, or a part entry where the
    // 1000-byte limit cut the table: only whole entries count.
    QList<QByteArray> entries = rest.split(';');
    entries.removeLast();
    for (const QByteArray& raw : std::as_const(entries)) {
        const QByteArray entry = raw.trimmed();
        const qsizetype green = entry.indexOf("\\green");
        const qsizetype blue = entry.indexOf("\\blue");
        if (!entry.startsWith("\\red") || green < 0 || blue < green) {
            colors << kNoColor;
            continue;
        }
        const int r = tableNumber(entry.mid(4, green - 4));
        const int g = tableNumber(entry.mid(green + 6, blue - green - 6));
        const int b = tableNumber(entry.mid(blue + 5));
        colors << quint32(r + 256 * g + 65536 * b);
    }
    return colors;
}

} // namespace vlr
