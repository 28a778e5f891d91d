#pragma once
// Internal failures that reach the top of a command: described once, written
// to the error log and shown by the installed reporter (the GUI's general
// error dialog; standard error otherwise; a recorder in tests).
#include <QDateTime>
#include <QString>

#include <exception>

namespace vlr {

struct InternalErrorReport {
    QDateTime when;
    QString place;  // where the failure was caught
    QString origin; // where it was raised, when the exception says so
    QString type;   // the exception's C++ type
    QString text;   // its English text
};

inline const QString kErrorLogName = QStringLiteral("error.log");

// Never throws.
InternalErrorReport describeError(const std::exception& error, const QString& place,
                                  const QDateTime& when = QDateTime::currentDateTime()) noexcept;
// The block appended to the error log for one failure.
QString errorLogEntry(const InternalErrorReport& report);
// Appends the entry to error.log in the folder (made when missing). False when
// it cannot be written; never throws.
[[nodiscard]] bool appendErrorLog(const QString& folder, const InternalErrorReport& report) noexcept;

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    // Must not throw: it runs inside catch blocks.
    virtual void report(const InternalErrorReport& report) noexcept = 0;
};

// Prints the report on standard error.
class StderrErrorReporter final : public ErrorReporter {
public:
    void report(const InternalErrorReport& report) noexcept override;
};

// The process-wide reporter; a StderrErrorReporter until one is installed.
ErrorReporter& errorReporter();
// Installs a reporter (not owned); nullptr restores the default. Returns the previous one.
ErrorReporter* setErrorReporter(ErrorReporter* reporter);

// For catch blocks at the top of a command: describes and reports the failure.
void reportInternalError(const std::exception& error, const QString& place) noexcept;

} // namespace vlr
