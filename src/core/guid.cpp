#include "core/guid.h"

#include <QRegularExpression>

namespace vlr {

GuidBytes guidFromUuid(const QUuid& id) {
    const QByteArray be = id.toRfc4122(); // big-endian fields
    GuidBytes out{};
    // Windows layout: Data1 (4), Data2 (2), Data3 (2) little-endian; Data4 as is.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i)
        out[i] = static_cast<unsigned char>(be[order[i]]);
    return out;
}

QUuid uuidFromGuid(const GuidBytes& bytes) {
    QByteArray be(16, '\0');
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i)
        be[order[i]] = static_cast<char>(bytes[i]);
    return QUuid::fromRfc4122(be);
}

GuidBytes newGuid() {
    return guidFromUuid(QUuid::createUuid());
}

QString guidText(const GuidBytes& bytes) {
    return uuidFromGuid(bytes).toString(QUuid::WithBraces).toUpper();
}

bool parseGuid(const QString& text, GuidBytes& out) {
    static const QRegularExpression form(QStringLiteral(
        "^\\{?[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}?$"));
    QString t = text.trimmed();
    if (!form.match(t).hasMatch() || t.startsWith(QLatin1Char('{')) != t.endsWith(QLatin1Char('}')))
        return false;
    if (!t.startsWith(QLatin1Char('{')))
        t = QLatin1Char('{') + t + QLatin1Char('}');
    out = guidFromUuid(QUuid::fromString(t));
    return true;
}

} // namespace vlr
