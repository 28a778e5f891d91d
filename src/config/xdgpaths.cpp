#include "config/xdgpaths.h"

#include <QDir>

namespace vlr {

namespace {

// Relative values are to be ignored, as the base directory rules say.
QString fromEnvironment(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + fallback;
}

} // namespace

QString xdgConfigHome() {
    return fromEnvironment("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString xdgDataHome() {
    return fromEnvironment("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

} // namespace vlr
