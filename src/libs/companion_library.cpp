#include "libs/companion_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace vlr {

CompanionLibrary::CompanionLibrary(QString fileName) : m_fileName(std::move(fileName)) {}

QString CompanionLibrary::folder() const {
    return m_folder.isEmpty() ? QCoreApplication::applicationDirPath() : m_folder;
}

bool CompanionLibrary::loadIfNeeded(std::span<const Export> exports, std::span<QFunctionPointer> resolved) {
    return m_loaded || load(exports, resolved);
}

bool CompanionLibrary::load(std::span<const Export> exports, std::span<QFunctionPointer> resolved) {
    Q_ASSERT(exports.size() == resolved.size());
    std::fill(resolved.begin(), resolved.end(), nullptr);
    m_loaded = false;
    const QString folder = this->folder();
    if (folder.isEmpty()) {
        m_error = QStringLiteral("%1: no library folder is set").arg(m_fileName);
        return false;
    }
    const QString path = QDir(folder).absoluteFilePath(m_fileName);
    if (!QFileInfo(path).isFile()) {
        m_error = QStringLiteral("%1: file not found").arg(QDir::toNativeSeparators(path));
        return false;
    }
    m_library.setFileName(path);
    if (!m_library.load()) {
        m_error = QStringLiteral("%1: cannot be loaded: %2")
                      .arg(QDir::toNativeSeparators(path), m_library.errorString());
        return false;
    }
    QStringList missing;
    for (size_t i = 0; i < exports.size(); ++i) {
        resolved[i] = m_library.resolve(exports[i].name);
        if (!resolved[i] && exports[i].required)
            missing << QString::fromLatin1(exports[i].name);
    }
    if (!missing.isEmpty()) {
        m_error = QStringLiteral("%1: missing entry points: %2")
                      .arg(QDir::toNativeSeparators(path), missing.join(QStringLiteral(", ")));
        unload(resolved);
        return false;
    }
    m_error.clear();
    m_loaded = true;
    return true;
}

void CompanionLibrary::unload(std::span<QFunctionPointer> resolved) {
    std::fill(resolved.begin(), resolved.end(), nullptr);
    if (m_library.isLoaded())
        m_library.unload();
    m_loaded = false;
}

} // namespace vlr
