#pragma once
// The two options that live outside the settings file, in their XDG form:
// starting with the session (an autostart entry running the program with
// "/MIN") and opening *.vlr files (a shared-mime-info package for the type
// plus a desktop entry). Each reads true when its files exist; turning one
// off removes them, and removing what is not there is no error.
#include <QString>
#include <QStringList>
#include <functional>

namespace vlr {

inline const QString kNotebookMimeType = QStringLiteral("application/x-vellinor-notebook");

class TDesktopIntegration {
public:
    // Runs a helper program (update-mime-database, update-desktop-database)
    // with its arguments.
    using ToolRunner = std::function<void(const QString& program, const QStringList& arguments)>;

    // Defaults: the running program, $XDG_CONFIG_HOME and $XDG_DATA_HOME.
    TDesktopIntegration();
    TDesktopIntegration(QString programPath, QString configHome, QString dataHome);

    // By default a helper runs only when it is installed, with a time limit.
    void setToolRunner(ToolRunner runner) { m_runner = std::move(runner); }

    QString autostartFile() const;
    QString mimePackageFile() const;
    QString desktopEntryFile() const;

    bool autoRun() const;
    bool associated() const;
    // False when the files could not be written or removed.
    bool setAutoRun(bool on);
    bool setAssociated(bool on);

    // The program path as one argument of a desktop entry's Exec key, quoted
    // and escaped as desktop entries require.
    static QString execArgument(const QString& path);

private:
    QString m_programPath;
    QString m_configHome;
    QString m_dataHome;
    ToolRunner m_runner;
};

} // namespace vlr
