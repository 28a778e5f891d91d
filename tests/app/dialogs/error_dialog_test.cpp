// The general error dialog and the reporter that writes error.log first.
#include "app/dialogs/error_dialog.h"
#include "core/error.h"
#include "dialog_test.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vlr;
using namespace vlr::test;

TEST(ErrorDialog, ShowsTextPlaceAndDetailsOnRequest) {
    const auto report =
        describeError(EVellinorError(QStringLiteral("Error saving options!"), QStringLiteral("SaveOptions")),
                      QStringLiteral("FileOptions"));
    TErrorDialog dialog(nullptr, report, QStringLiteral("Записано в журнал ошибок: /tmp/error.log"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ошибка"));
    const QStringList labels = labelTexts(dialog);
    EXPECT_TRUE(labels.contains(QStringLiteral("Error saving options!")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Место: FileOptions")));
    EXPECT_FALSE(dialog.details()->isVisible());
    dialog.detailsButton()->click();
    EXPECT_TRUE(dialog.details()->isVisible());
    const QString details = dialog.details()->toPlainText();
    EXPECT_TRUE(details.contains(QStringLiteral("FileOptions (raised in SaveOptions)")));
    EXPECT_TRUE(details.contains(QStringLiteral("vlr::EVellinorError: Error saving options!")));
    EXPECT_TRUE(details.endsWith(QStringLiteral("Записано в журнал ошибок: /tmp/error.log")));
    dialog.detailsButton()->click();
    EXPECT_FALSE(dialog.details()->isVisible());
}

TEST(ErrorDialog, ReporterAppendsTheLogBeforeShowing) {
    QTemporaryDir settings;
    TGuiErrorReporter reporter(settings.path());
    ErrorReporter* previous = setErrorReporter(&reporter);
    for (int i = 0; i < 2; ++i) {
        QString logAtShow;
        whenModal<TErrorDialog>([&](TErrorDialog* dialog) {
            QFile log(settings.filePath(QStringLiteral("error.log")));
            if (log.open(QIODevice::ReadOnly))
                logAtShow = QString::fromUtf8(log.readAll());
            EXPECT_TRUE(
                dialog->details()->toPlainText().contains(QStringLiteral("Записано в журнал ошибок: ")));
            dialog->accept();
        });
        try {
            throw std::runtime_error("disk on fire");
        } catch (const std::exception& e) {
            reportInternalError(e, QStringLiteral("FileSave"));
        }
        EXPECT_EQ(logAtShow.count(QStringLiteral("std::runtime_error: disk on fire")), i + 1)
            << "appended, not replaced";
    }
    setErrorReporter(previous);
}
