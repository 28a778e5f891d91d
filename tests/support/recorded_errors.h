#pragma once
// An error reporter for tests: keeps every report instead of showing it.
// Installs itself for its lifetime.
#include "core/error_report.h"

#include <QList>

namespace vlr::test {

class RecordedErrors final : public ErrorReporter {
public:
    RecordedErrors();
    ~RecordedErrors() override;

    void report(const InternalErrorReport& report) noexcept override;
    const QList<InternalErrorReport>& reports() const { return m_reports; }

private:
    ErrorReporter* m_previous;
    QList<InternalErrorReport> m_reports;
};

} // namespace vlr::test
