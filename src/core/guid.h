#pragma once
// Note identifiers: 16 bytes on disk in the Windows GUID layout (first three
// fields little-endian), "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" as text.
#include <QByteArray>
#include <QString>
#include <QUuid>
#include <array>

namespace vlr {

using GuidBytes = std::array<unsigned char, 16>;

GuidBytes newGuid();
GuidBytes guidFromUuid(const QUuid& id);
QUuid uuidFromGuid(const GuidBytes& bytes);
QString guidText(const GuidBytes& bytes);
// Accepts the text with or without braces; false when it is not a GUID.
bool parseGuid(const QString& text, GuidBytes& out);

} // namespace vlr
