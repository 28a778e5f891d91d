#include "config/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vlr {

namespace {

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// The folder, made absolute and with its parents created; empty when it
// cannot be had.
QString usableFolder(const QString& folder) {
    if (folder.isEmpty())
        return {};
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (!QDir().mkpath(absolute))
        return {};
    return withSlash(absolute);
}

// The extension test is exact: "notes.INI" does not name a settings file.
bool namesSettingsFile(const QString& argument) {
    const QString name = QFileInfo(argument).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && QStringView(name).mid(dot) == u".ini";
}

} // namespace

TSettingsLocation locateSettingsFile(const QString& programFolder, const QStringList& arguments,
                                     const TVellinorRegistry& registry, const QString& userFolder) {
    TSettingsLocation r;
    const QString program = withSlash(programFolder);
    if (QFileInfo::exists(program + kSettingsFileName)) {
        r.portable = true;
        r.folder = program;
    } else {
        r.folder = usableFolder(registry.value(TVellinorRegistry::kConfigFolder));
        if (r.folder.isEmpty())
            r.folder = usableFolder(userFolder);
        if (r.folder.isEmpty())
            r.folder = program;
    }
    r.filePath = r.folder + kSettingsFileName;
    const QString templ = r.folder + kSettingsTemplateName;
    if (!QFileInfo::exists(r.filePath) && QFileInfo::exists(templ))
        QFile::rename(templ, r.filePath);

    if (!arguments.isEmpty() && namesSettingsFile(arguments.first())) {
        const QString& arg = arguments.first();
        r.filePath = arg.contains(u'/') ? QFileInfo(arg).absoluteFilePath() : program + arg;
    }
    return r;
}

TSettingsLocation locateSettingsFile(const QStringList& arguments) {
    return locateSettingsFile(QCoreApplication::applicationDirPath(), arguments, TVellinorRegistry());
}

void registerProgramFolder(TVellinorRegistry& registry, const QString& programFolder, bool portable) {
    if (portable || registry.keyExists())
        return;
    registry.setValue(TVellinorRegistry::kDefaultValue, withSlash(programFolder));
}

} // namespace vlr
