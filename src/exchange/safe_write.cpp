#include "exchange/safe_write.h"

#include "storage/notebook_service.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace vlr {

QString CanonicalPath(const QString& path) {
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (info.exists())
        return info.canonicalFilePath();
    // A name that does not exist yet: its existing folder resolved, the rest as written.
    QStringList rest;
    while (!info.exists() && !info.isSymLink()) {
        rest.prepend(info.fileName());
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    QString base = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    for (const QString& part : std::as_const(rest))
        base = QDir(base).filePath(part);
    return QDir::cleanPath(base);
}

TWriteGuard TWriteGuard::ForNotebooks(const TNotebookService& service) {
    TWriteGuard guard;
    for (const TNodeRoot* nb : service.Notebooks()) {
        if (nb->FileName.isEmpty())
            continue;
        guard.Protect(nb->FileName);
        guard.Protect(nb->FileName + QStringLiteral("-journal"));
    }
    return guard;
}

void TWriteGuard::Protect(const QString& path) {
    m_paths.append(CanonicalPath(path));
}

bool TWriteGuard::IsProtected(const QString& path) const {
    return m_paths.contains(CanonicalPath(path));
}

TWriteResult WriteFileAtomically(const QString& path, QByteArrayView bytes, const TWriteGuard& guard) {
    if (guard.IsProtected(path))
        return {false, QStringLiteral("%1 is an open notebook").arg(path)};
    if (QFileInfo(path).isDir())
        return {false, QStringLiteral("%1 is a folder").arg(path)};
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {false, error};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace vlr
