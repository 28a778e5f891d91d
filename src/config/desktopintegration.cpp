#include "config/desktopintegration.h"

#include "config/xdgpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace vlr {

namespace {

constexpr int kToolTimeoutMs = 30000;

void runInstalledTool(const QString& program, const QStringList& arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(path, arguments);
    if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
}

// Writes the file when its content differs; reports whether it changed and
// whether that worked.
bool writeIfChanged(const QString& path, const QByteArray& content, bool& changed) {
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return true;
    changed = true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

bool removeIfThere(const QString& path, bool& changed) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return true;
    changed = true;
    return QFile::remove(path);
}

// Desktop entry string values take \s \n \t \r \\ escapes.
QString escapeEntryValue(const QString& text) {
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

TDesktopIntegration::TDesktopIntegration()
    : TDesktopIntegration(QCoreApplication::applicationFilePath(), xdgConfigHome(), xdgDataHome()) {}

TDesktopIntegration::TDesktopIntegration(QString programPath, QString configHome, QString dataHome)
    : m_programPath(std::move(programPath)), m_configHome(std::move(configHome)),
      m_dataHome(std::move(dataHome)), m_runner(runInstalledTool) {}

QString TDesktopIntegration::autostartFile() const {
    return m_configHome + QStringLiteral("/autostart/vellinor.desktop");
}

QString TDesktopIntegration::mimePackageFile() const {
    return m_dataHome + QStringLiteral("/mime/packages/vellinor.xml");
}

QString TDesktopIntegration::desktopEntryFile() const {
    return m_dataHome + QStringLiteral("/applications/vellinor.desktop");
}

QString TDesktopIntegration::execArgument(const QString& path) {
    // Inside quotes, " ` $ and \ take a backslash; % is doubled everywhere.
    QString quoted = QStringLiteral("\"");
    for (QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return escapeEntryValue(quoted);
}

bool TDesktopIntegration::autoRun() const {
    return QFileInfo::exists(autostartFile());
}

bool TDesktopIntegration::associated() const {
    return QFileInfo::exists(mimePackageFile()) && QFileInfo::exists(desktopEntryFile());
}

bool TDesktopIntegration::setAutoRun(bool on) {
    bool changed = false;
    if (!on)
        return removeIfThere(autostartFile(), changed);
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Vellinor\n"
                                         "Exec=%1 /MIN\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execArgument(m_programPath));
    return writeIfChanged(autostartFile(), entry.toUtf8(), changed);
}

bool TDesktopIntegration::setAssociated(bool on) {
    bool changed = false;
    bool ok = true;
    if (on) {
        const QString mime =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "  <mime-type type=\"%1\">\n"
                           "    <comment>Vellinor notebook</comment>\n"
                           "    <comment xml:lang=\"ru\">Книжка Vellinor</comment>\n"
                           "    <glob pattern=\"*.vlr\"/>\n"
                           "  </mime-type>\n"
                           "</mime-info>\n")
                .arg(kNotebookMimeType);
        const QString entry = QStringLiteral("[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Name=Vellinor\n"
                                             "Exec=%1 %f\n"
                                             "MimeType=%2;\n"
                                             "Terminal=false\n"
                                             "NoDisplay=true\n")
                                  .arg(execArgument(m_programPath), kNotebookMimeType);
        ok = writeIfChanged(mimePackageFile(), mime.toUtf8(), changed);
        ok = writeIfChanged(desktopEntryFile(), entry.toUtf8(), changed) && ok;
    } else {
        ok = removeIfThere(mimePackageFile(), changed);
        ok = removeIfThere(desktopEntryFile(), changed) && ok;
    }
    // The desktop finds new types and handlers only through its caches.
    if (changed && m_runner) {
        if (QFileInfo::exists(m_dataHome + QStringLiteral("/mime/packages")))
            m_runner(QStringLiteral("update-mime-database"), {m_dataHome + QStringLiteral("/mime")});
        if (QFileInfo::exists(m_dataHome + QStringLiteral("/applications")))
            m_runner(QStringLiteral("update-desktop-database"),
                     {m_dataHome + QStringLiteral("/applications")});
    }
    return ok;
}

} // namespace vlr
