#include "ApplyReport.h"

namespace ApplyReport {

using Kind = AdapterCommands::ApplyOutcome::Kind;

QString outcomeText(const AdapterCommands::ApplyOutcome &outcome, const QString &name,
                    const QString &selection, const QString &backendName) {
    QString notApplied = QStringLiteral("\"%s\" profili uygulanmadı.");
    notApplied.replace(QStringLiteral("%s"), name);
    switch (outcome.kind) {
    case Kind::Applied:
        return {};
    case Kind::InvalidProfile:
        return notApplied + QStringLiteral(" Ağ ayarlarına dokunulmadı.\n") + outcome.reason;
    case Kind::NoAdapterChosen:
        return notApplied + QStringLiteral("\nAğ bağdaştırıcısı seçilmedi.");
    case Kind::DhcpNotConfirmed:
        return notApplied +
               (outcome.refusals.isEmpty()
                    ? QStringLiteral("\nBu bilgisayarda IP etkin ağ bağdaştırıcısı bulunamadı.")
                    : QStringLiteral("\nBağdaştırıcılar önce otomatik IP'ye (DHCP) geçirilemedi, "
                                     "bu yüzden sabit ayarlar yazılmadı:\n") +
                          AdapterCommands::describe(outcome.refusals));
    case Kind::PlatformError:
        return notApplied + QStringLiteral("\nAğ ayarlarına ulaşılamadı (%1): Hata %2 (%3)")
                                .arg(backendName)
                                .arg(outcome.error.number)
                                .arg(outcome.error.description);
    case Kind::NothingMatched:
        return notApplied + QStringLiteral("\nSeçilen ağ bağdaştırıcısı (%1) artık bulunamıyor. "
                                           "Bütün bağdaştırıcılar otomatik IP'de (DHCP) kaldı.")
                                .arg(AdapterCommands::descriptionOf(selection));
    case Kind::Refused:
        return QStringLiteral("\"%1\" profili tam uygulanamadı:\n%2\nProfil etkin olarak "
                              "kaydedilmedi. 10 saniye sonra internet bağlantısı denetlenecek.")
            .arg(name, AdapterCommands::describe(outcome.refusals));
    }
    return {};
}

bool isNotice(Kind kind) {
    return kind == Kind::NoAdapterChosen || kind == Kind::DhcpNotConfirmed;
}

QString refusedProfileText(const QString &name, const QString &reason) {
    return QStringLiteral("\"%1\" profili uygulanamaz; ağ ayarlarına dokunulmadı.\n%2\n"
                          "Profili DÜZENLE ile açıp düzeltin ve kaydedin.")
        .arg(name, reason);
}

QString dhcpFailedText(const AdapterCommands::DhcpReset &reset, const QString &backendName) {
    return QStringLiteral("Otomatik IP'ye (DHCP) geçilemedi: ağ ayarlarına ulaşılamadı (%1).\n"
                          "Hata %2 (%3)")
        .arg(backendName)
        .arg(reset.error.number)
        .arg(reset.error.description);
}

QString dhcpRefusedText(const AdapterCommands::DhcpReset &reset) {
    return QStringLiteral("Bazı ağ bağdaştırıcıları otomatik IP'ye (DHCP) geçemedi:\n%1")
        .arg(AdapterCommands::describe(reset.refusals));
}

} // namespace ApplyReport
