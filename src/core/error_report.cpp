#include "core/error_report.h"

#include "core/error.h"
#include "core/messages.h"
#include "core/service_slot.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace vlr {

namespace {

StderrErrorReporter g_stderrReporter;
ServiceSlot<ErrorReporter> g_reporter(g_stderrReporter);

QString typeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : type.name());
}

} // namespace

InternalErrorReport describeError(const std::exception& error, const QString& place,
                                  const QDateTime& when) noexcept {
    InternalErrorReport report;
    try {
        report.when = when;
        report.place = place;
        report.type = typeName(typeid(error));
        if (const auto* own = dynamic_cast<const EVellinorError*>(&error)) {
            report.text = own->text();
            report.origin = own->place();
        } else {
            // what() of foreign exceptions may be any bytes; fromUtf8 replaces what is not UTF-8.
            report.text = QString::fromUtf8(error.what());
        }
    } catch (...) {
        // Out of memory while describing: report what is already there.
    }
    return report;
}

QString errorLogEntry(const InternalErrorReport& report) {
    QString entry =
        QStringLiteral("[%1] %2").arg(report.when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")),
                                      report.place.isEmpty() ? QStringLiteral("?") : report.place);
    if (!report.origin.isEmpty() && report.origin != report.place)
        entry += QStringLiteral(" (raised in %1)").arg(report.origin);
    entry += QLatin1Char('\n');
    if (!report.type.isEmpty())
        entry += report.type + QStringLiteral(": ");
    entry += withLineBreaks(report.text) + QStringLiteral("\n\n");
    return entry;
}

bool appendErrorLog(const QString& folder, const InternalErrorReport& report) noexcept {
    try {
        if (folder.isEmpty() || !QDir().mkpath(folder))
            return false;
        QFile log(QDir(folder).filePath(kErrorLogName));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        const QByteArray bytes = errorLogEntry(report).toUtf8();
        return log.write(bytes) == bytes.size() && log.flush();
    } catch (...) {
        return false;
    }
}

void StderrErrorReporter::report(const InternalErrorReport& report) noexcept {
    try {
        const QByteArray entry = errorLogEntry(report).toUtf8();
        std::fputs(entry.constData(), stderr);
        std::fflush(stderr);
    } catch (...) {
        std::fputs("internal error (could not be described)\n", stderr);
    }
}

ErrorReporter& errorReporter() {
    return g_reporter.get();
}

ErrorReporter* setErrorReporter(ErrorReporter* reporter) {
    return g_reporter.install(reporter);
}

void reportInternalError(const std::exception& error, const QString& place) noexcept {
    errorReporter().report(describeError(error, place));
}

} // namespace vlr
