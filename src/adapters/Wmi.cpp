#include "adapters/Wmi.h"

#include "settings/Text.h"

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
        error = {InvalidParameter, Text::tr("Geçersiz sorgu seçeneği: %1").arg(flags)};
        return false;
    }
    QString q = normalized(query);
    q.replace(QStringLiteral(" = "), QStringLiteral("="));
    const QString prefix = QStringLiteral("select * from ");
    if (!q.startsWith(prefix)) {
        error = {InvalidQuery, Text::tr("Geçersiz sorgu: %1").arg(query)};
        return false;
    }
    const QString rest = q.mid(prefix.size());
    if (!rest.startsWith(QStringLiteral("win32_networkadapterconfiguration"))) {
        error = {InvalidClass, Text::tr("Bilinmeyen sınıf: %1").arg(query)};
        return false;
    }
    if (rest != QStringLiteral("win32_networkadapterconfiguration where ipenabled=true")) {
        error = {InvalidQuery, Text::tr("Desteklenmeyen sorgu koşulu: %1").arg(query)};
        return false;
    }
    return m_backend.ipEnabledAdapters(adapters, error);
}

std::unique_ptr<SWbemServices>
SWbemLocator::ConnectServer(const QString &server, const QString &nameSpace, WmiError &error) {
    const QString host = server.trimmed().toLower();
    if (!(host.isEmpty() || host == QLatin1String(".") || host == QLatin1String("localhost"))) {
        error = {ServerUnavailable,
                 Text::tr("Yalnızca bu bilgisayara bağlanılabilir: %1").arg(server)};
        return nullptr;
    }
    if (!isOurNamespace(nameSpace)) {
        error = {InvalidNamespace, Text::tr("Geçersiz ad alanı: %1").arg(nameSpace)};
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
        error = {InvalidSyntax, Text::tr("Geçersiz WMI adı: %1").arg(moniker)};
        return nullptr;
    }
    if (!backend.connect(error))
        return nullptr;
    return std::make_unique<SWbemServices>(backend);
}

QString resultText(qint32 code) {
    switch (code) {
    case 0:
        return Text::tr("başarılı");
    case 1:
        return Text::tr("başarılı, bilgisayar yeniden başlatılmalı");
    case 64:
        return Text::tr("bu yöntem bu sistemde desteklenmiyor");
    case 65:
        return Text::tr("bilinmeyen hata");
    case 66:
        return Text::tr("geçersiz alt ağ maskesi");
    case 67:
        return Text::tr("bilgi işlenirken hata oluştu");
    case 68:
        return Text::tr("geçersiz giriş değeri");
    case 69:
        return Text::tr("beşten fazla ağ geçidi verildi");
    case 70:
        return Text::tr("geçersiz IP adresi");
    case 71:
        return Text::tr("geçersiz ağ geçidi (modem) adresi");
    case 72:
        return Text::tr("sistem ayarlarına erişilemedi");
    case 79:
        return Text::tr("geçersiz güvenlik değeri");
    case 80:
        return Text::tr("TCP/IP yapılandırılamadı");
    case 81:
        return Text::tr("DHCP yapılandırılamadı");
    case 84:
        return Text::tr("bu bağdaştırıcıda IP etkin değil");
    case 91:
        return Text::tr("erişim reddedildi, yönetici yetkisi gerekiyor");
    case 92:
        return Text::tr("bellek yetersiz");
    case 94:
        return Text::tr("bağdaştırıcı bulunamadı");
    case 95:
        return Text::tr("ağ hizmetine bağlanılamadı");
    case 96:
        return Text::tr("DNS hizmetine bağlanılamadı");
    case 100:
        return Text::tr("bu bağdaştırıcıda DHCP etkin değil");
    default:
        return Text::tr("bilinmeyen sonuç kodu");
    }
}

} // namespace Wmi
