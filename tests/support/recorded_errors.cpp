#include "support/recorded_errors.h"

namespace vlr::test {

RecordedErrors::RecordedErrors() : m_previous(setErrorReporter(this)) {}
RecordedErrors::~RecordedErrors() {
    setErrorReporter(m_previous);
}

void RecordedErrors::report(const InternalErrorReport& report) noexcept {
    m_reports.append(report);
}

} // namespace vlr::test
