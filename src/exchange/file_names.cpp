#include "exchange/file_names.h"

#include <QDir>
#include <QFileInfo>

namespace vlr {

QString CleanFileName(const QString& title, bool replaceChars) {
    QString name;
    name.reserve(title.size());
    for (const QChar c : title) {
        if (kForbiddenNameChars.contains(c) || c.unicode() < 32) {
            if (replaceChars)
                name += u'_';
        } else {
            name += c;
        }
    }
    return name;
}

QString WithoutTrailingDots(const QString& name) {
    qsizetype end = name.size();
    while (end > 0 && name[end - 1] == u'.')
        --end;
    return name.left(end);
}

QString FreeFileName(const QString& folder, const QString& name, const QString& extension,
                     bool numberDuplicates, const std::function<bool(const QString&)>& exists) {
    const auto pathOf = [&](const QString& n) { return QDir(folder).filePath(n + u'.' + extension); };
    if (!numberDuplicates || !exists(pathOf(name)))
        return name;
    for (int i = 2;; ++i) {
        const QString candidate = name + QStringLiteral(" %1").arg(i);
        if (!exists(pathOf(candidate)))
            return candidate;
    }
}

bool PathTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace vlr
