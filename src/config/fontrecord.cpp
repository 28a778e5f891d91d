#include "config/fontrecord.h"

#include "config/settingsvalue.h"

namespace vlr {

TFontRecord readFontRecord(const TSettingsFile& file, const QString& section, const QString& prefix) {
    const TSettingsSection s = file.readSection(section);
    const TFontRecord def;
    TFontRecord f;
    f.name = s.readString(prefix + QLatin1StringView("Name"), def.name);
    f.charset = static_cast<quint8>(
        parseProfileInteger(s.readString(prefix + QLatin1StringView("Charset")), def.charset));
    f.style = static_cast<quint8>(
        parseProfileInteger(s.readString(prefix + QLatin1StringView("Style")), def.style));
    f.size = parseProfileInteger(s.readString(prefix + QLatin1StringView("Size")), def.size);
    f.color = parseProfileColor(s.readString(prefix + QLatin1StringView("Color")), def.color);
    return f;
}

void writeFontRecord(TSettingsFile& file, const QString& section, const QString& prefix,
                     const TFontRecord& font) {
    file.writeValues(section, {
                                  {prefix + QLatin1StringView("Name"), font.name},
                                  {prefix + QLatin1StringView("Charset"), QString::number(font.charset)},
                                  {prefix + QLatin1StringView("Style"), QString::number(font.style)},
                                  {prefix + QLatin1StringView("Size"), QString::number(font.size)},
                                  {prefix + QLatin1StringView("Color"), formatProfileColor(font.color)},
                              });
}

} // namespace vlr
