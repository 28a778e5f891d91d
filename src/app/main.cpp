// Vellinor's process entry: one instance per user, the engine library
// required, the splash while the window is built, then the message loop.
#include "app/dialogs/error_dialog.h"
#include "app/dialogs/gui_message_service.h"
#include "app/dialogs/gui_password_prompt.h"
#include "app/dialogs/progress_window.h"
#include "app/startup/command_line.h"
#include "app/startup/engine_check.h"
#include "app/startup/instance_channel.h"
#include "app/startup/qt_translations.h"
#include "app/startup/splash.h"
#include "app/vellinor_form.h"
#include "config/settingslocation.h"
#include "core/error.h"
#include "core/error_report.h"

#include <QApplication>
#include <QIcon>

namespace {

// An internal failure reaching the event loop goes to the general error
// dialog; the program goes on.
class TVellinorApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            const QString place = receiver ? QString::fromLatin1(receiver->metaObject()->className())
                                           : QStringLiteral("Application");
            vlr::reportInternalError(error, place);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    TVellinorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellinor"));
    QApplication::setOrganizationName(QStringLiteral("Orvanta"));
    QApplication::setDesktopFileName(QStringLiteral("vellinor"));
    QApplication::setWindowIcon(vlr::TSplash::productIcon());
    vlr::installQtTranslations(app);

    vlr::TCommandLine commandLine = vlr::TCommandLine::fromApplication();
    vlr::TInstanceStart instance = vlr::startInstance(commandLine);
    if (instance.role == vlr::TInstanceRole::Second)
        return 0;

    vlr::TGuiMessageService messages;
    vlr::setMessageService(&messages);
    vlr::TGuiProgressService progress;
    vlr::setProgressService(&progress);
    vlr::TGuiPasswordPrompt passwords;
    vlr::setPasswordPrompt(&passwords);

    if (!vlr::checkEngineLibrary())
        return 1;

    std::unique_ptr<vlr::TSplash> splash;
    if (!commandLine.hasArguments())
        splash = vlr::TSplash::showNow();

    const vlr::TSettingsLocation settings = vlr::locateSettingsFile(commandLine.arguments());
    vlr::TGuiErrorReporter errors(settings.folder);
    vlr::setErrorReporter(&errors);

    int result = 0;
    {
        vlr::TVellinorForm form(settings, commandLine);
        form.SetSplash(splash.release());
        form.ConnectInstanceServer(instance.server.get());
        form.show();
        result = app.exec();
    }
    vlr::setErrorReporter(nullptr);
    vlr::setPasswordPrompt(nullptr);
    vlr::setProgressService(nullptr);
    vlr::setMessageService(nullptr);
    return result;
}
