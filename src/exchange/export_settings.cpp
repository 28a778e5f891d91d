#include "exchange/export_settings.h"

#include "config/options.h"
#include "config/settingsfile.h"
#include "config/settingsvalue.h"
#include "core/commatext.h"
#include "core/error.h"

namespace vlr {

TExportSettings ReadExportSettings(const TSettingsFile& file, const QString& section,
                                   const TVLROptions& options) {
    const TSettingsSection s = file.readSection(section);
    TExportSettings r;
    TExportLayout& l = r.layout;
    const auto flag = [&](const char* key, bool def) {
        return parseProfileBool(s.readString(QLatin1StringView(key)), def);
    };
    const auto number = [&](const char* key, int def) {
        return parseProfileInteger(s.readString(QLatin1StringView(key)), def);
    };
    l.headerFont = readFontRecord(file, section, QStringLiteral("Header"));
    l.footerFont = readFontRecord(file, section, QStringLiteral("Footer"));
    l.separatorFont = readFontRecord(file, section, QStringLiteral("Sep"));
    if (s.contains(QStringLiteral("Separator")))
        l.separator = s.readString(QStringLiteral("Separator"));
    l.insertHeader = flag("InsertHeader", true);
    l.insertFooter = flag("InsertFooter", true);
    if (s.contains(QStringLiteral("Header")))
        l.header = fromCommaText(s.readString(QStringLiteral("Header")));
    if (s.contains(QStringLiteral("Footer")))
        l.footer = fromCommaText(s.readString(QStringLiteral("Footer")));
    l.centerHeader = flag("CenterHeader", false);
    l.centerFooter = flag("CenterFooter", false);
    l.centerSeparator = flag("SepCenter", false);
    if (flag("SepPage", false))
        l.separation = TSeparation::PageBreak;
    else if (flag("SepNothing", false))
        l.separation = TSeparation::Nothing;
    else
        l.separation = TSeparation::Text;
    r.zoom = flag("Zoom", false);
    if (s.contains(QStringLiteral("Zoom2")))
        r.zoom2 = flag("Zoom2", false);
    if (s.contains(QStringLiteral("TVWidth")))
        r.tvWidth = number("TVWidth", 0);
    r.exportPictures = flag("ExportPics", true);
    r.tabsToNbsp = flag("TabsToNbsp", false);
    r.useBackColor = flag("UseBackColor", true);
    r.formatText = flag("FormatText", false);
    r.lineWidth = number("LineWidth", 70);
    r.vlrCompress = flag("VLRCompress", options.DefCompress);
    r.vlrEncrypt = flag("VLREncrypt", options.DefEncrypt);
    return r;
}

bool WriteExportSettings(TSettingsFile& file, const QString& section, const TExportSettings& r) {
    const TExportLayout& l = r.layout;
    TSettingsEntries e;
    const auto put = [&](const char* key, const QString& value) {
        e.append({QLatin1StringView(key), value});
    };
    const auto putBool = [&](const char* key, bool value) { put(key, formatProfileBool(value)); };
    put("Separator", l.separator);
    putBool("InsertHeader", l.insertHeader);
    putBool("InsertFooter", l.insertFooter);
    put("Header", toCommaText(l.header, true));
    put("Footer", toCommaText(l.footer, true));
    putBool("CenterHeader", l.centerHeader);
    putBool("CenterFooter", l.centerFooter);
    putBool("SepNothing", l.separation == TSeparation::Nothing);
    putBool("SepPage", l.separation == TSeparation::PageBreak);
    putBool("SepText", l.separation == TSeparation::Text);
    putBool("SepCenter", l.centerSeparator);
    putBool("Zoom", r.zoom);
    if (r.zoom2)
        putBool("Zoom2", *r.zoom2);
    if (r.tvWidth)
        put("TVWidth", QString::number(*r.tvWidth));
    putBool("ExportPics", r.exportPictures);
    putBool("TabsToNbsp", r.tabsToNbsp);
    putBool("UseBackColor", r.useBackColor);
    putBool("FormatText", r.formatText);
    put("LineWidth", QString::number(r.lineWidth));
    putBool("VLRCompress", r.vlrCompress);
    putBool("VLREncrypt", r.vlrEncrypt);
    try {
        writeFontRecord(file, section, QStringLiteral("Header"), l.headerFont);
        writeFontRecord(file, section, QStringLiteral("Footer"), l.footerFont);
        writeFontRecord(file, section, QStringLiteral("Sep"), l.separatorFont);
        file.writeValues(section, e);
        return true;
    } catch (const EVellinorError&) {
        return false;
    }
}

QStringList ReadSeparatorTexts(const TSettingsFile& file) {
    const TSettingsSection s = file.readSection(QStringLiteral("Separators"));
    QStringList texts;
    for (int i = 1; i <= 100; ++i) {
        const QString key = QStringLiteral("MRU%1").arg(i);
        if (s.contains(key))
            texts.append(s.readString(key));
    }
    return texts;
}

} // namespace vlr
