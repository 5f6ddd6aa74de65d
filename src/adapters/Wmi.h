#pragma once

#include "adapters/AdapterBackend.h"

#include <QString>
#include <memory>

// The scripting interface of the adapter configuration, in WMI's shape: a service bound by
// its moniker or connected through a locator, and its query for the IP-enabled adapters.
namespace Wmi {

// WMI's error numbers for what can fail here.
constexpr qint64 InvalidNamespace = -2147217394;  // 0x8004100E
constexpr qint64 InvalidClass = -2147217392;      // 0x80041010
constexpr qint64 InvalidQuery = -2147217385;      // 0x80041017
constexpr qint64 InvalidSyntax = -2147217375;     // 0x80041021, a moniker that is not ours
constexpr qint64 ServerUnavailable = -2147023174; // 0x800706BA, the service cannot be reached
constexpr qint64 InvalidParameter = -2147217400;  // 0x80041008

constexpr int ReturnImmediately = 16;
constexpr int ForwardOnly = 32;

class SWbemServices {
public:
    explicit SWbemServices(AdapterBackend &backend) : m_backend(backend) {}

    // Runs a query; only the query for the IP-enabled adapter configurations is known
    // (letter case and blanks aside).
    bool ExecQuery(const QString &query, WmiAdapterList &adapters, WmiError &error, int flags = 0);

    int ImpersonationLevel() const { return m_impersonationLevel; }
    void setImpersonationLevel(int level) { m_impersonationLevel = level; }

private:
    AdapterBackend &m_backend;
    int m_impersonationLevel = 3;
};

class SWbemLocator {
public:
    explicit SWbemLocator(AdapterBackend &backend) : m_backend(backend) {}
    // Server "localhost" (or "." or empty), namespace "root\cimv2".
    std::unique_ptr<SWbemServices> ConnectServer(const QString &server, const QString &nameSpace,
                                                 WmiError &error);

private:
    AdapterBackend &m_backend;
};

// Binds the service by its moniker, "winmgmts:\\.\root\cimv2" (letter case aside).
std::unique_ptr<SWbemServices> GetObject(AdapterBackend &backend, const QString &moniker,
                                         WmiError &error);

// What a configuration method's return value means, in Turkish.
QString resultText(qint32 code);

} // namespace Wmi
