#include "Wmi.h"

#include <QRegularExpression>

namespace Wmi {

namespace {

QString normalized(const QString &text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.simplified().toLower().replace(blanks, QStringLiteral(" "));
}

bool isOurNamespace(const QString &nameSpace) {
    return nameSpace.compare(QStringLiteral("root\\cimv2"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool SWbemServices::ExecQuery(const QString &query, WmiAdapterList &adapters, WmiError &error,
                              int flags) {
    adapters.clear();
    if (flags & ~(ReturnImmediately | ForwardOnly)) {
        error = {InvalidParameter, QStringLiteral("Geçersiz sorgu seçeneği: %1").arg(flags)};
        return false;
    }
    QString q = normalized(query);
    q.replace(QStringLiteral(" = "), QStringLiteral("="));
    const QString prefix = QStringLiteral("select * from ");
    if (!q.startsWith(prefix)) {
        error = {InvalidQuery, QStringLiteral("Geçersiz sorgu: %1").arg(query)};
        return false;
    }
    const QString rest = q.mid(prefix.size());
    if (!rest.startsWith(QStringLiteral("win32_networkadapterconfiguration"))) {
        error = {InvalidClass, QStringLiteral("Bilinmeyen sınıf: %1").arg(query)};
        return false;
    }
    if (rest != QStringLiteral("win32_networkadapterconfiguration where ipenabled=true")) {
        error = {InvalidQuery, QStringLiteral("Desteklenmeyen sorgu koşulu: %1").arg(query)};
        return false;
    }
    return m_backend.ipEnabledAdapters(adapters, error);
}

std::unique_ptr<SWbemServices>
SWbemLocator::ConnectServer(const QString &server, const QString &nameSpace, WmiError &error) {
    const QString host = server.trimmed().toLower();
    if (!(host.isEmpty() || host == QLatin1String(".") || host == QLatin1String("localhost"))) {
        error = {ServerUnavailable,
                 QStringLiteral("Yalnızca bu bilgisayara bağlanılabilir: %1").arg(server)};
        return nullptr;
    }
    if (!isOurNamespace(nameSpace)) {
        error = {InvalidNamespace, QStringLiteral("Geçersiz ad alanı: %1").arg(nameSpace)};
        return nullptr;
    }
    if (!m_backend.connect(error))
        return nullptr;
    return std::make_unique<SWbemServices>(m_backend);
}

std::unique_ptr<SWbemServices> GetObject(AdapterBackend &backend, const QString &moniker,
                                         WmiError &error) {
    const QString prefix = QStringLiteral("winmgmts:\\\\.\\");
    if (!moniker.startsWith(prefix, Qt::CaseInsensitive) ||
        !isOurNamespace(moniker.mid(prefix.size()))) {
        error = {InvalidSyntax, QStringLiteral("Geçersiz WMI adı: %1").arg(moniker)};
        return nullptr;
    }
    if (!backend.connect(error))
        return nullptr;
    return std::make_unique<SWbemServices>(backend);
}

QString resultText(qint32 code) {
    switch (code) {
    case 0:
        return QStringLiteral("başarılı");
    case 1:
        return QStringLiteral("başarılı, bilgisayar yeniden başlatılmalı");
    case 64:
        return QStringLiteral("bu yöntem bu sistemde desteklenmiyor");
    case 65:
        return QStringLiteral("bilinmeyen hata");
    case 66:
        return QStringLiteral("geçersiz alt ağ maskesi");
    case 67:
        return QStringLiteral("bilgi işlenirken hata oluştu");
    case 68:
        return QStringLiteral("geçersiz giriş değeri");
    case 69:
        return QStringLiteral("beşten fazla ağ geçidi verildi");
    case 70:
        return QStringLiteral("geçersiz IP adresi");
    case 71:
        return QStringLiteral("geçersiz ağ geçidi (modem) adresi");
    case 72:
        return QStringLiteral("sistem ayarlarına erişilemedi");
    case 79:
        return QStringLiteral("geçersiz güvenlik değeri");
    case 80:
        return QStringLiteral("TCP/IP yapılandırılamadı");
    case 81:
        return QStringLiteral("DHCP yapılandırılamadı");
    case 84:
        return QStringLiteral("bu bağdaştırıcıda IP etkin değil");
    case 91:
        return QStringLiteral("erişim reddedildi, yönetici yetkisi gerekiyor");
    case 92:
        return QStringLiteral("bellek yetersiz");
    case 94:
        return QStringLiteral("bağdaştırıcı bulunamadı");
    case 95:
        return QStringLiteral("ağ hizmetine bağlanılamadı");
    case 96:
        return QStringLiteral("DNS hizmetine bağlanılamadı");
    case 100:
        return QStringLiteral("bu bağdaştırıcıda DHCP etkin değil");
    default:
        return QStringLiteral("bilinmeyen sonuç kodu");
    }
}

} // namespace Wmi
