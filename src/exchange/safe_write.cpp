#include "exchange/safe_write.h"

#include "storage/notebook_service.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

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

TWriteResult WriteFileAtomically(const QString& path, QByteArrayView bytes, const TWriteGuard& guard,
                                 TDurability durability) {
    if (guard.IsProtected(path))
        return {false, QStringLiteral("%1 is an open notebook").arg(path)};
    const QFileInfo info(path);
    if (info.isDir())
        return {false, QStringLiteral("%1 is a folder").arg(path)};
    // Written through a link it would change the file linked to: the link's target is the file meant.
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    const QString folder = QFileInfo(target).absolutePath();
    QFile part;
    for (int attempt = 0; attempt < 100 && !part.isOpen(); ++attempt) {
        part.setFileName(QStringLiteral("%1/.%2.%3.part")
                             .arg(folder, QFileInfo(target).fileName())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly) && part.error() != QFileDevice::OpenError)
            break;
    }
    if (!part.isOpen())
        return {false, part.errorString()};
    bool ok = part.write(bytes.data(), bytes.size()) == bytes.size() && part.flush();
    if (ok && durability == TDurability::Synced)
        ok = ::fsync(part.handle()) == 0;
    QString error = ok ? QString() : part.errorString();
    part.close();
    if (ok && std::rename(QFile::encodeName(part.fileName()).constData(),
                          QFile::encodeName(target).constData()) != 0) {
        ok = false;
        error = QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!ok) {
        QFile::remove(part.fileName());
        return {false, error};
    }
    return {true, {}};
}

} // namespace vlr
