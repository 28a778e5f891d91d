#pragma once
// The general error dialog: an internal failure's text and place, details on
// request, and the entry written to error.log beside the settings file.
#include "core/error_report.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace vlr {

class TErrorDialog final : public QDialog {
    Q_OBJECT
public:
    // logNote: where the entry was written, or why it was not.
    TErrorDialog(QWidget* parent, const InternalErrorReport& report, const QString& logNote);

    QPlainTextEdit* details() const { return m_details; }
    QPushButton* detailsButton() const { return m_detailsButton; }

private:
    void toggleDetails();

    QPlainTextEdit* m_details;
    QPushButton* m_detailsButton;
};

// The reporter of the running program: appends to the error log in the
// settings folder, then shows the dialog over the active window.
class TGuiErrorReporter final : public ErrorReporter {
public:
    explicit TGuiErrorReporter(QString logFolder) : m_logFolder(std::move(logFolder)) {}
    void report(const InternalErrorReport& report) noexcept override;

private:
    QString m_logFolder;
};

} // namespace vlr
