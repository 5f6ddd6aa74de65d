#include "adapters/ApplyReport.h"

#include "adapters/AnswerCode.h"
#include "settings/ShownText.h"
#include "settings/Text.h"
#include "settings/modNetProfiles.h"

namespace ApplyReport {

using Kind = AdapterCommands::ApplyOutcome::Kind;

QString outcomeText(const AdapterCommands::ApplyOutcome &outcome, const QString &name,
                    const QString &selection, const QString &backendName, int checkInSeconds) {
    QString notApplied = Text::tr("\"%s\" profili uygulanmadı.");
    notApplied.replace(QStringLiteral("%s"), name);
    switch (outcome.kind) {
    case Kind::Applied:
        return {};
    case Kind::InvalidProfile:
        return notApplied + Text::tr(" Ağ ayarlarına dokunulmadı.\n") + outcome.reason;
    case Kind::NoAdapterChosen:
        return notApplied + Text::tr("\nAğ bağdaştırıcısı seçilmedi.");
    case Kind::DhcpNotConfirmed:
        return notApplied +
               (outcome.refusals.isEmpty()
                    ? Text::tr("\nBu bilgisayarda IP etkin ağ bağdaştırıcısı bulunamadı.")
                    : Text::tr("\nBağdaştırıcılar önce otomatik IP'ye (DHCP) geçirilemedi, "
                               "bu yüzden sabit ayarlar yazılmadı:\n") +
                          AdapterCommands::describe(outcome.refusals));
    case Kind::PlatformError:
        return notApplied + Text::tr("\nAğ ayarlarına ulaşılamadı (%1): Hata %2 (%3)")
                                .arg(backendName)
                                .arg(outcome.error.number)
                                .arg(outcome.error.description);
    case Kind::NothingMatched:
        return notApplied + Text::tr("\nSeçilen ağ bağdaştırıcısı (%1) artık bulunamıyor. "
                                     "Bütün bağdaştırıcılar otomatik IP'de (DHCP) kaldı.")
                                .arg(AdapterCommands::descriptionOf(selection));
    case Kind::TrialBusy:
        return notApplied + Text::tr(" Ağ ayarlarına dokunulmadı.\n") + outcome.reason +
               Text::tr("\nO değişiklik bitince yeniden deneyin.");
    case Kind::NoSafetyNet:
        return notApplied +
               Text::tr(" Ağ ayarlarına dokunulmadı.\nUzaktan bir değişiklik, denenmeden "
                        "yapılmaz: %1")
                   .arg(outcome.reason);
    case Kind::AddressInUse:
        return notApplied +
               Text::tr("\n%1 adresini ağda başka bir cihaz kullanıyor: adres "
                        "denendiğinde o cihaz yanıt verdi.\n")
                   .arg(outcome.address) +
               (outcome.adaptersChanged
                    ? Text::tr("Ağ bağdaştırıcıları önceki ayarlarına döndürülemedi%1;\n"
                               "şu an otomatik IP'deler (DHCP) ya da adressizler.")
                          .arg(outcome.trial.problem.isEmpty()
                                   ? QString()
                                   : QStringLiteral(" (%1)").arg(outcome.trial.problem))
                    : Text::tr("Ağ bağdaştırıcıları önceki ayarlarına döndürüldü.")) +
               Text::tr("\nProfile boş bir IP adresi verin ya da bu adresi kullanan "
                        "cihazı bulun.");
    case Kind::Refused:
        return Text::tr("\"%1\" profili tam uygulanamadı:\n%2\nProfil etkin olarak "
                        "kaydedilmedi.")
                   .arg(name, AdapterCommands::describe(outcome.refusals)) +
               (checkInSeconds < 0 ? QString()
                                   : Text::tr(" %1 saniye sonra internet bağlantısı denetlenecek.")
                                         .arg(checkInSeconds));
    }
    return {};
}

bool isNotice(Kind kind) {
    return kind == Kind::NoAdapterChosen || kind == Kind::DhcpNotConfirmed;
}

QString refusedProfileText(const QString &name, const QString &reason) {
    return Text::tr("\"%1\" profili uygulanamaz; ağ ayarlarına dokunulmadı.\n%2\n"
                    "Profili DÜZENLE ile açıp düzeltin ve kaydedin.")
        .arg(name, reason);
}

std::optional<QString> refusedNameText(const QString &name) {
    const std::optional<QString> problem = modNetProfiles::profileNameProblem(name);
    if (!problem)
        return std::nullopt;
    constexpr int Shown = 60;
    QString shown = ShownText::escaped(name);
    if (shown.size() > Shown)
        shown = shown.left(Shown) + QStringLiteral("…");
    return Text::tr("\"%1\" profili uygulanamaz; ağ ayarlarına dokunulmadı.\nProfilin adı "
                    "kullanılamaz: %2\nAyar dosyasında adı düzeltin ya da profili yeni bir "
                    "adla KOPYALA ile kaydedip bunu SİL ile silin.")
        .arg(shown, *problem);
}

QString dhcpFailedText(const AdapterCommands::DhcpReset &reset, const QString &backendName) {
    if (!reset.trial.busy.isEmpty())
        return Text::tr("Otomatik IP'ye (DHCP) geçilmedi; ağ ayarlarına dokunulmadı.\n%1\n"
                        "O değişiklik bitince yeniden deneyin.")
            .arg(reset.trial.busy);
    return Text::tr("Otomatik IP'ye (DHCP) geçilemedi: ağ ayarlarına ulaşılamadı (%1).\n"
                    "Hata %2 (%3)")
        .arg(backendName)
        .arg(reset.error.number)
        .arg(reset.error.description);
}

QString dhcpRefusedText(const AdapterCommands::DhcpReset &reset) {
    return Text::tr("Bazı ağ bağdaştırıcıları otomatik IP'ye (DHCP) geçemedi:\n%1")
        .arg(AdapterCommands::describe(reset.refusals));
}

QString fallbackRefusedText(const AdapterCommands::DhcpReset &reset, const QString &name) {
    QStringList kept;
    for (const AdapterCommands::Refusal &r : reset.refusals) {
        if (!kept.contains(r.adapter))
            kept.append(r.adapter);
    }
    return Text::
        tr("İnternet bağlantısı yok, ancak \"%1\" tam geri alınamadı:\n"
           "şu ağ bağdaştırıcıları otomatik IP'ye (DHCP) geçmedi ve sabit ayarlarında kaldı: %2\n"
           "%3")
            .arg(name, kept.join(QStringLiteral(", ")), AdapterCommands::describe(reset.refusals));
}

QString unsavedText(const QStringList &adapters) {
    return Text::tr("değişiklik şu ağ bağdaştırıcılarında kalıcı olarak yazılamadı,\n"
                    "bilgisayar yeniden başlayınca kaybolur: %1")
        .arg(adapters.join(QStringLiteral(", ")));
}

QString hiddenText(const QString &adapter, const QString &file) {
    return Text::tr("%1 bağlantısını programınkinden önce gelen %2 dosyası ayarlıyor;\n"
                    "değişiklik onun arkasında kalacağı için yapılmadı. O dosyayı kaldırın ya da "
                    "adını değiştirin.")
        .arg(adapter, file);
}

QString trialProblemText(const AdapterCommands::Trial &trial, int seconds) {
    if (trial.keepUnsaved)
        return Text::tr("Ağ ayarları değişti, ancak %1").arg(trial.keepProblem);
    if (!trial.keepProblem.isEmpty())
        return Text::tr("Değişiklik kalıcı yapılamadı: %1\nSistem ağ ayarlarını en geç %2 "
                        "saniye içinde değişiklikten önceki haline döndürecek.")
            .arg(trial.keepProblem)
            .arg(seconds);
    if (trial.problem.isEmpty())
        return {};
    return Text::tr("Değişiklik denemeye alınamadı: %1\nDeğişiklik yine de "
                    "yapıldı; program ilk %2 saniye içinde kapanırsa kendiliğinden geri "
                    "alınmaz.")
        .arg(trial.problem)
        .arg(seconds);
}

QString errorCode(const WmiError &error) {
    return error.number == WmiResult::HiddenByFile ? AnswerCode::HiddenByFile
                                                   : AnswerCode::PlatformError;
}

QString outcomeCode(const AdapterCommands::ApplyOutcome &outcome) {
    using Kind = AdapterCommands::ApplyOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Applied:
        return AnswerCode::Applied;
    case Kind::NoAdapterChosen:
        return AnswerCode::NoAdapterChosen;
    case Kind::DhcpNotConfirmed:
        return AnswerCode::DhcpNotConfirmed;
    case Kind::PlatformError:
        return errorCode(outcome.error);
    case Kind::NothingMatched:
        return AnswerCode::NoSuchAdapter;
    case Kind::Refused:
        return AnswerCode::AdapterRefused;
    case Kind::InvalidProfile:
        return AnswerCode::InvalidProfile;
    case Kind::TrialBusy:
        return AnswerCode::Busy;
    case Kind::AddressInUse:
        return AnswerCode::AddressInUse;
    case Kind::NoSafetyNet:
        return AnswerCode::NoSafetyNet;
    }
    return AnswerCode::PlatformError;
}

QString gatewaySilentText(const AdapterCommands::GatewayJudgement &judged) {
    return Text::tr("MODEM IP %1, %2 üzerinde cevap vermedi:\n"
                    "bu ayarlarla ağa çıkılamaz, değişiklik geri alındı.")
        .arg(judged.gateway, judged.adapters.join(QStringLiteral(", ")));
}

} // namespace ApplyReport
