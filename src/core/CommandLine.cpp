#include "core/CommandLine.h"

#include "core/Links.h"
#include "core/ProfileExport.h"
#include "settings/FileLocation.h"
#include "settings/Language.h"
#include "settings/Text.h"

#include <QFileInfo>

namespace {

struct CommandOption {
    const char *option;
    CommandLine::Command command;
};
constexpr CommandOption kCommands[] = {{"--list", CommandLine::Command::List},
                                       {"--show", CommandLine::Command::Show},
                                       {"--adapters", CommandLine::Command::Adapters},
                                       {"--apply", CommandLine::Command::Apply},
                                       {"--dhcp", CommandLine::Command::Dhcp},
                                       {"--status", CommandLine::Command::Status},
                                       {"--confirm", CommandLine::Command::Confirm},
                                       {"--undo", CommandLine::Command::Undo},
                                       {"--set-profile", CommandLine::Command::SetProfile},
                                       {"--delete-profile", CommandLine::Command::DeleteProfile},
                                       {"--import-profiles", CommandLine::Command::ImportProfiles},
                                       {"--export-profile", CommandLine::Command::ExportProfile},
                                       {"--set-link", CommandLine::Command::SetLink}};

CommandLine::Command commandOf(const QString &arg) {
    for (const CommandOption &c : kCommands) {
        if (arg == QLatin1String(c.option))
            return c.command;
    }
    return CommandLine::Command::None;
}

// Why the settings path cannot be used, if it cannot: it must name a file.
QString settingsPathProblem(const QString &path) {
    if (path.trimmed().isEmpty())
        return Text::tr("--settings: dosya adı boş olamaz.");
    if (path.endsWith(QLatin1Char('/')) || QFileInfo(path).isDir())
        return Text::tr("--settings: %1 bir klasör; ayar dosyasının adını verin.").arg(path);
    return {};
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments) {
    CommandLine cl;
    cl.json = arguments.contains(QStringLiteral("--json")); // wrong usage answers in JSON too
    QStringList rest;
    QStringList singleDash;
    bool settingsGiven = false;
    bool allGiven = false;
    bool checkAfterGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.help = true;
        } else if (arg == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size()) {
                cl.error = Text::tr("--settings bir dosya adı bekliyor.");
                return cl;
            }
            cl.settingsFile = arguments[++i];
            settingsGiven = true;
        } else if (arg.startsWith(QLatin1String("--settings="))) {
            cl.settingsFile = arg.mid(int(sizeof("--settings=")) - 1);
            settingsGiven = true;
        } else if (arg == QLatin1String("--language") ||
                   arg.startsWith(QLatin1String("--language="))) {
            const bool joined = arg.contains(QLatin1Char('='));
            if (!joined && i + 1 >= arguments.size()) {
                cl.error = Text::tr("--language tr ya da en bekliyor.");
                return cl;
            }
            cl.language = joined ? arg.section(QLatin1Char('='), 1) : arguments[++i];
            if (!Language::fromOption(cl.language)) {
                cl.error = Text::tr("--language tr ya da en bekliyor: %1").arg(cl.language);
                cl.language.clear();
                return cl;
            }
        } else if (arg == QLatin1String("--report-shown")) {
            cl.reportShown = true;
        } else if (arg == QLatin1String("--backend")) {
            if (i + 1 >= arguments.size()) {
                cl.error = Text::tr("--backend bir ad bekliyor.");
                return cl;
            }
            cl.backend = arguments[++i];
        } else if (arg.startsWith(QLatin1String("--backend="))) {
            cl.backend = arg.mid(int(sizeof("--backend=")) - 1);
        } else if (const Command c = commandOf(arg); c != Command::None) {
            if (cl.command != Command::None) {
                cl.error = Text::tr("Yalnızca bir komut verilebilir: %1").arg(arg);
                return cl;
            }
            cl.command = c;
            if (c == Command::Show || c == Command::Apply || c == Command::SetProfile ||
                c == Command::DeleteProfile || c == Command::ExportProfile) {
                if (i + 1 >= arguments.size() || arguments[i + 1].trimmed().isEmpty()) {
                    cl.error = Text::tr("%1 bir profil adı bekliyor.").arg(arg);
                    return cl;
                }
                cl.profile = arguments[++i];
            }
            if (c == Command::SetLink) {
                if (i + 2 >= arguments.size()) {
                    cl.error = Text::tr("--set-link bir ad ve bir adres bekliyor, örneğin:\n"
                                        "--set-link ExternalAddressUrl "
                                        "http://sunucu.ornek:8080/ip.php");
                    return cl;
                }
                cl.linkKey = arguments[++i];
                cl.linkValue = arguments[++i].trimmed();
                if (const std::optional<QString> problem =
                        Links::problem(cl.linkKey, cl.linkValue)) {
                    cl.error = *problem;
                    return cl;
                }
            }
            if (c == Command::ImportProfiles) {
                if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                    cl.error = Text::tr("--import-profiles bir dosya adı (ya da standart girdi "
                                        "için -) bekliyor.");
                    return cl;
                }
                cl.importFile = arguments[++i];
            }
            // The change a confirmation or an undo is meant for, as its apply named it.
            if ((c == Command::Confirm || c == Command::Undo) && i + 1 < arguments.size() &&
                !arguments[i + 1].startsWith(QLatin1Char('-')) &&
                !arguments[i + 1].startsWith(QLatin1Char('/')))
                cl.request = arguments[++i];
            // The addresses follow the name; none of them starts with "-" (an empty one may be
            // given for the second DNS server).
            while (c == Command::SetProfile && cl.addresses.size() < 5 &&
                   i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-')))
                cl.addresses.append(arguments[++i]);
        } else if (arg == QLatin1String("--adapter") || arg == QLatin1String("--from-adapter")) {
            cl.fromAdapter = arg == QLatin1String("--from-adapter");
            if (i + 1 >= arguments.size()) {
                cl.error = Text::tr("%1 bir bağdaştırıcı numarası bekliyor.").arg(arg);
                return cl;
            }
            cl.adapterIndex = arguments[++i];
            bool number = false;
            cl.adapterIndex.toUInt(&number);
            // --adapter also takes "all" and an interface's name (enp1s0).
            if (!cl.fromAdapter && cl.adapterIndex == QLatin1String("all")) {
                cl.adapterIndex.clear();
                allGiven = true;
            } else if (!cl.fromAdapter && !number) {
                if (const std::optional<QString> problem =
                        ProfileExport::interfaceProblem(cl.adapterIndex)) {
                    cl.error = *problem;
                    return cl;
                }
            } else if (!number) {
                cl.error = Text::tr("%1 bir numara bekliyor (--adapters listesindeki "
                                    "köşeli parantez içindeki sayı): %2")
                               .arg(arg, cl.adapterIndex);
                return cl;
            }
        } else if (arg == QLatin1String("--all")) {
            allGiven = true;
        } else if (arg == QLatin1String("--check")) {
            cl.check = true;
        } else if (arg == QLatin1String("--check-after")) {
            checkAfterGiven = true;
            bool number = false;
            cl.checkAfterSeconds = i + 1 < arguments.size() ? arguments[++i].toInt(&number) : -1;
            if (!number || cl.checkAfterSeconds < 0 || cl.checkAfterSeconds > 3600) {
                cl.error = Text::tr("--check-after 0 ile 3600 arasında bir saniye bekliyor.");
                return cl;
            }
        } else if (arg == QLatin1String("--confirm-within")) {
            bool number = false;
            cl.confirmWithin = i + 1 < arguments.size() ? arguments[++i].toInt(&number) : -1;
            if (!number || cl.confirmWithin < 10 || cl.confirmWithin > 3600) {
                cl.error = Text::tr("--confirm-within 10 ile 3600 arasında bir saniye bekliyor.");
                return cl;
            }
        } else if (arg == QLatin1String("--detached-run")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QLatin1Char('-'))) {
                cl.error = Text::tr("--detached-run bir istek adı bekliyor.");
                return cl;
            }
            cl.detachedRun = true;
            cl.request = arguments[++i];
        } else if (arg == QLatin1String("--format") || arg == QLatin1String("--interface")) {
            if (i + 1 >= arguments.size()) {
                cl.error = Text::tr("%1 bir değer bekliyor.").arg(arg);
                return cl;
            }
            (arg == QLatin1String("--format") ? cl.exportFormat : cl.interfaceName) =
                arguments[++i];
        } else if (arg == QLatin1String("--dry-run")) {
            cl.dryRun = true;
        } else if (arg == QLatin1String("--with-profiles")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                cl.error = Text::tr("--with-profiles bir dosya adı (ya da standart girdi için -) "
                                    "bekliyor.");
                return cl;
            }
            cl.withProfiles = arguments[++i];
        } else if (arg == QLatin1String("--yes")) {
            cl.yes = true;
        } else if (arg == QLatin1String("--json")) {
            cl.json = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            cl.error = Text::tr("Bilinmeyen seçenek: %1").arg(arg);
            return cl;
        } else {
            // "-HIDEONSTARTUP" and the like: part of the start text, which then is not the
            // switch, so the window opens as it would for any other text.
            if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1)
                singleDash.append(arg);
            rest.append(arg);
        }
    }
    if (!cl.backend.isEmpty() && cl.backend != QLatin1String("networkmanager") &&
        cl.backend != QLatin1String("networkd") && cl.backend != QLatin1String("simulated") &&
        !cl.backend.startsWith(QLatin1String("simulated="))) {
        cl.error = Text::tr("Bilinmeyen --backend: %1").arg(cl.backend);
        return cl;
    }
    // A file named relative to the folder the program was started in, wherever the command is
    // repeated from (the confirm and undo commands printed for a remote change).
    if (cl.backend.startsWith(QLatin1String("simulated=")) && cl.backend.size() > 10)
        cl.backend = QStringLiteral("simulated=") +
                     QFileInfo(cl.backend.mid(int(sizeof("simulated=")) - 1)).absoluteFilePath();
    if (settingsGiven) {
        cl.error = settingsPathProblem(cl.settingsFile);
        if (!cl.error.isEmpty())
            return cl;
        // Exactly the file named, relative to the folder the program was started in.
        cl.settingsFile = QFileInfo(cl.settingsFile).absoluteFilePath();
    }
    const bool writesProfiles =
        cl.command == Command::SetProfile || cl.command == Command::ImportProfiles;
    if (cl.command == Command::SetProfile && cl.fromAdapter != cl.addresses.isEmpty()) {
        cl.error = cl.fromAdapter
                       ? Text::tr("--set-profile AD --from-adapter NUMARA adres almaz.")
                       : Text::tr("--set-profile AD IP MASKE AĞ-GEÇİDİ DNS1 [DNS2]\n"
                                  "ya da --set-profile AD --from-adapter NUMARA bekliyor.");
        return cl;
    }
    if (cl.command == Command::SetProfile && !cl.fromAdapter && cl.addresses.size() < 4) {
        cl.error = Text::tr("--set-profile en az dört adres bekliyor (IP, maske, ağ geçidi, "
                            "DNS 1), %1 verildi.")
                       .arg(cl.addresses.size());
        return cl;
    }
    if ((!cl.exportFormat.isEmpty() || !cl.interfaceName.isEmpty()) !=
        (cl.command == Command::ExportProfile)) {
        cl.error = Text::tr("--export-profile AD --format networkd|netplan|nmstate --interface "
                            "ARABİRİM birlikte verilir.");
        return cl;
    }
    if (cl.command == Command::ExportProfile) {
        if (!ProfileExport::formatNamed(cl.exportFormat)) {
            cl.error = Text::tr("--format networkd, netplan ya da nmstate bekliyor: %1")
                           .arg(cl.exportFormat);
            return cl;
        }
        if (const std::optional<QString> problem =
                ProfileExport::interfaceProblem(cl.interfaceName)) {
            cl.error = *problem;
            return cl;
        }
    }
    if (cl.fromAdapter && cl.command != Command::SetProfile) {
        cl.error = Text::tr("--from-adapter yalnızca --set-profile ile kullanılır.");
        return cl;
    }
    const bool applyOnly = (!cl.adapterIndex.isEmpty() && !cl.fromAdapter) || allGiven ||
                           cl.check || (cl.yes && !writesProfiles) || cl.confirmWithin > 0 ||
                           cl.detachedRun ||
                           (cl.dryRun && !writesProfiles && cl.command != Command::DeleteProfile &&
                            cl.command != Command::Dhcp && cl.command != Command::SetLink);
    if (!cl.withProfiles.isEmpty() && (cl.command != Command::Apply || !cl.dryRun)) {
        cl.error = Text::tr("--with-profiles yalnızca --apply AD --dry-run ile kullanılır.");
        return cl;
    }
    if (cl.dryRun && (cl.confirmWithin > 0 || cl.check)) {
        cl.error = Text::tr("--dry-run hiçbir şeyi değiştirmez: --check ve --confirm-within ile "
                            "birlikte verilemez.");
        return cl;
    }
    if (cl.check && cl.confirmWithin > 0) {
        cl.error = Text::tr("--check ile --confirm-within birlikte verilemez: uzaktan "
                            "yapılan değişikliği --confirm doğrular.");
        return cl;
    }
    if (cl.detachedRun && cl.confirmWithin == 0) {
        cl.error = Text::tr("--detached-run yalnızca --confirm-within ile kullanılır.");
        return cl;
    }
    if (checkAfterGiven && !cl.check) {
        cl.error = Text::tr("--check-after yalnızca --check ile kullanılır.");
        return cl;
    }
    if (applyOnly && cl.command != Command::Apply) {
        cl.error = Text::tr(
            "--adapter, --all, --check, --check-after, --confirm-within, --dry-run ve --yes\n"
            "yalnızca --apply ile kullanılır (--dry-run profil yazan komutlarla,\n"
            "--yes --set-profile ve --import-profiles ile de).");
        return cl;
    }
    if (!cl.adapterIndex.isEmpty() && allGiven) {
        cl.error = Text::tr("--adapter ile --all birlikte verilemez.");
        return cl;
    }
    cl.allAdapters = allGiven;
    if (cl.json && cl.command == Command::None) {
        cl.error = Text::tr("--json bir komutla birlikte kullanılır.");
        return cl;
    }
    if (cl.command != Command::None && !rest.isEmpty()) {
        cl.error = Text::tr("Beklenmeyen: %1").arg(rest.join(QLatin1Char(' ')));
        return cl;
    }
    cl.rest = rest.join(QLatin1Char(' '));
    const QString upper = cl.rest.toUpper();
    cl.hideOnStartup =
        upper == QLatin1String("/HIDEONSTARTUP") || upper == QLatin1String("HIDEONSTARTUP");
    if (!singleDash.isEmpty())
        cl.warning = Text::tr("Uyarı: %1 bir seçenek değil; pencere normal açılıyor (gizli "
                              "başlatmak için: /HIDEONSTARTUP).")
                         .arg(singleDash.join(QLatin1Char(' ')));
    return cl;
}

QString CommandLine::commandName(Command command) {
    for (const CommandOption &c : kCommands) {
        if (c.command == command)
            return QString::fromLatin1(c.option + 2);
    }
    return {};
}

QString CommandLine::usage(const QString &programName) {
    const QString settings = FileLocation::locate(QStringLiteral("Nuvar_Pos_Zelvi_ip.exe.config"));
    return Text::
        tr("Kullanım: %1 [SEÇENEKLER] [/HIDEONSTARTUP]\n"
           "          %1 [SEÇENEKLER] KOMUT [--json]\n"
           "\n"
           "Komutlar (pencere ve ekran olmadan çalışır, örneğin SSH üzerinden):\n"
           "  --list             profiller, pencerede olduğu gibi sıralı; etkin olan * ile\n"
           "  --show AD          profilin adresi, maskesi, ağ geçidi ve DNS sunucuları\n"
           "  --adapters         ağ bağdaştırıcıları, köşeli parantez içinde numaralarıyla\n"
           "  --apply AD [--adapter NUMARA|ARABİRİM|all] [--yes] [--check\n"
           "             [--check-after SANİYE]]\n"
           "                     profili \"ZELVİ IP UYGULA\" gibi uygular; birden çok\n"
           "                     bağdaştırıcı varsa --adapter hangisi olduğunu söyler;\n"
           "                     --yes şüpheli ama mümkün bir profili sormadan uygular;\n"
           "                     --check 10 saniye (--check-after SANİYE: 0-3600) sonra\n"
           "                     interneti denetler ve yoksa otomatik IP'ye (DHCP) geri\n"
           "                     döner (adres servisi yoksa MODEM IP cevap vermezse\n"
           "                     değişiklik geri alınır); o zamana dek değişiklik\n"
           "                     denenir: program kapanırsa ağ ayarları kendiliğinden\n"
           "                     eski hallerine döner\n"
           "  --apply AD --confirm-within SANİYE [--adapter NUMARA|ARABİRİM|all] [--yes]\n"
           "                     uzaktan (SSH) değiştirmek için: hemen döner, profili 1\n"
           "                     saniye sonra oturumdan bağımsız uygular; değişiklik\n"
           "                     SANİYE (10-3600) boyunca denenir ve --confirm ile\n"
           "                     (yeni adresten) kalıcı olur, --undo ile ya da süre\n"
           "                     dolunca geri alınır\n"
           "  --confirm [İSTEK]  uzaktan yapılan değişikliği kalıcı yapar (İSTEK: yalnızca\n"
           "                     --apply yanıtının \"request\"i olan değişikliği)\n"
           "  --undo [İSTEK]     uzaktan yapılan değişikliği hemen geri alır\n"
           "  --dhcp [--dry-run] bütün bağdaştırıcıları otomatik IP'ye (DHCP) geçirir\n"
           "  --status           etkin profil, bilgisayarın ve dış (MODEM) IP adresi,\n"
           "                     denenen bir değişikliğin kalan saniyeleri, uzaktan\n"
           "                     yapılan değişikliğin durumu\n"
           "  --apply AD --dry-run [--adapter NUMARA|ARABİRİM|all]\n"
           "                     neyin değişeceğini söyler (her bağdaştırıcı için önce ve\n"
           "                     sonra); hiçbir şeye dokunmaz; --with-profiles DOSYA:\n"
           "                     profil, DOSYA'nın içe aktarımı sonrasındaki haliyle\n"
           "  --set-profile AD IP MASKE AĞ-GEÇİDİ DNS1 [DNS2] [--yes]\n"
           "                     profili kaydeder: düzenleyicinin kurallarıyla denetler,\n"
           "                     aynı adlı profili (büyük/küçük harf ayırmadan) yerinde\n"
           "                     değiştirir ya da ekler; dosyanın kodlaması, satır sonları\n"
           "                     ve öbür satırları olduğu gibi kalır; --yes şüpheli bir\n"
           "                     profili de kaydeder\n"
           "  --set-profile AD --from-adapter NUMARA\n"
           "                     bağdaştırıcının şu anki adreslerini profil olarak kaydeder\n"
           "  --import-profiles DOSYA [--yes]\n"
           "                     birçok profili birlikte kaydeder (DOSYA: [Profiles]\n"
           "                     bölümlü bir INI parçası ya da {\"AD\": {\"address\": ...,\n"
           "                     \"mask\", \"gateway\", \"dns1\", \"dns2\"}} JSON'u; - standart\n"
           "                     girdi); biri bile uygun değilse hiçbiri yazılmaz\n"
           "  --delete-profile AD profili siler (yoksa bir şey değişmez)\n"
           "                     profil yazan komutlar --dry-run ile neyin değişeceğini\n"
           "                     söyler, hiçbir şey yazmaz\n"
           "  --set-link AD ADRES [--dry-run]\n"
           "                     [Links] değerini yazar (ExternalAddressUrl, RouterUrl,\n"
           "                     PortTestUrl); boş ADRES programın kendi değerine döner\n"
           "  --export-profile AD --format networkd|netplan|nmstate --interface ARABİRİM\n"
           "                     profili başka bir aracın dosyası olarak yazar: bir\n"
           "                     systemd-networkd .network dosyası, netplan ya da nmstate\n"
           "                     YAML'ı\n"
           "  --json             çıktı metin yerine tek bir JSON nesnesi (\"changed\" bir\n"
           "                     şeyin değişip değişmediğini, \"code\" sonucu söyler)\n"
           "Çıkış durumu: 0 tamam; 1 programın kuralları ya da bir bağdaştırıcı reddetti,\n"
           "ya da etkin profil veya çıktı yazılamadı (neden ve numara stderr'de);\n"
           "2 yanlış kullanım; 3 değişiklik kalmadı: --check otomatik IP'ye (DHCP) döndü\n"
           "ya da değişiklik doğrulanmadan geri alındı.\n"
           "\n"
           "Seçenekler:\n"
           "  /HIDEONSTARTUP     pencereyi açmadan, bildirim alanında başlar\n"
           "  --settings DOSYA   ayar dosyası yerine tam olarak DOSYA kullanılır (yoksa boş\n"
           "                     olarak oluşturulur)\n"
           "  --backend networkmanager\n"
           "                     ağ ayarlarını NetworkManager ile değiştirir (varsayılan:\n"
           "                     çalışıyorsa NetworkManager, yoksa systemd-networkd)\n"
           "  --backend networkd ağ ayarlarını systemd-networkd ile değiştirir\n"
           "  --backend simulated[=DOSYA]\n"
           "                     gerçek ağa dokunmadan, DOSYA'daki benzetim\n"
           "                     bağdaştırıcılarıyla çalışır (varsayılan: ayar dosyasının\n"
           "                     yanında simulated-computer.json)\n"
           "  --language tr|en   metinlerin dili: Türkçe ya da İngilizce (varsayılan:\n"
           "                     masaüstünün dili; Türkçe ya da ayarsızsa Türkçe)\n"
           "  --report-shown     pencere ilk göründüğünde bunu yazar ve kapanır (ölçüm için)\n"
           "  --help             bu yardımı gösterir\n"
           "\n"
           "Ayar dosyası (--settings verilmezse): %2\n"
           "Kurulu program bilgisayarın bütün kullanıcılarıyla ortak tek bir dosya kullanır\n"
           "(netdev grubundakiler yazabilir); kullanıcının kendi klasöründeki taşınabilir\n"
           "bir kopya dosyasını programın yanında tutar.\n"
           "\n"
           "Dış adres (MODEM IP) ve internet denetimi için adres servisi ayar dosyasında\n"
           "verilir; verilmezse satır \"SERVİS YOK\" der ve bir değişiklik yalnızca MODEM\n"
           "IP'nin cevabıyla denetlenir:\n"
           "  [Links]\n"
           "  ExternalAddressUrl=http://sunucu.ornek:8080/ip.php\n"
           "(--set-link ExternalAddressUrl http://sunucu.ornek:8080/ip.php yazar).\n"
           "Yanıt için toplam süre 10 saniyedir; yönlendirme yalnızca aynı adrese (şema,\n"
           "sunucu, port) ve aynı sunucunun https adresine izlenir; başka bir yere\n"
           "yönlendiren servis \"SERVİS HATASI\" gösterir.\n")
            .arg(programName, settings);
}
