#pragma once

// The slot of a program-wide service that the application may replace (message boxes, the report
// runner): answers the installed service, or the fallback while none is installed. Neither is
// owned; both must outlive their use.
template<typename Service> class InstalledService
{
public:
    explicit InstalledService(Service &fallback)
        : m_fallback(fallback)
    {}

    Service &current() const { return m_installed ? *m_installed : m_fallback; }
    // nullptr returns to the fallback.
    void install(Service *service) { m_installed = service; }

private:
    Service &m_fallback;
    Service *m_installed = nullptr;
};
