#pragma once
// A process-wide service that tests and the GUI replace: the installed one,
// else a built-in fallback.
#include <utility>

namespace vlr {

template <class Service> class ServiceSlot {
public:
    explicit ServiceSlot(Service& fallback) : m_fallback(fallback) {}

    Service& get() const { return m_installed ? *m_installed : m_fallback; }
    // Not owned; nullptr restores the fallback. Returns the previous one.
    Service* install(Service* service) { return std::exchange(m_installed, service); }

private:
    Service& m_fallback;
    Service* m_installed = nullptr;
};

} // namespace vlr
