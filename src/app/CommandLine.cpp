#include "CommandLine.h"

#include <QFileInfo>

namespace {

// Why the settings path cannot be used, if it cannot: it must name a file.
QString settingsPathProblem(const QString &path) {
    if (path.trimmed().isEmpty())
        return QStringLiteral("--settings: dosya adı boş olamaz.");
    if (path.endsWith(QLatin1Char('/')) || QFileInfo(path).isDir())
        return QStringLiteral("--settings: %1 bir klasör; ayar dosyasının adını verin.").arg(path);
    return {};
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments) {
    CommandLine cl;
    QStringList rest;
    bool settingsGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.help = true;
        } else if (arg == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size()) {
                cl.error = QStringLiteral("--settings bir dosya adı bekliyor.");
                return cl;
            }
            cl.settingsFile = arguments[++i];
            settingsGiven = true;
        } else if (arg.startsWith(QLatin1String("--settings="))) {
            cl.settingsFile = arg.mid(int(sizeof("--settings=")) - 1);
            settingsGiven = true;
        } else if (arg == QLatin1String("--report-shown")) {
            cl.reportShown = true;
        } else if (arg == QLatin1String("--backend")) {
            if (i + 1 >= arguments.size()) {
                cl.error = QStringLiteral("--backend bir ad bekliyor.");
                return cl;
            }
            cl.backend = arguments[++i];
        } else if (arg.startsWith(QLatin1String("--backend="))) {
            cl.backend = arg.mid(int(sizeof("--backend=")) - 1);
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            cl.error = QStringLiteral("Bilinmeyen seçenek: %1").arg(arg);
            return cl;
        } else {
            rest.append(arg);
        }
    }
    if (!cl.backend.isEmpty() && cl.backend != QLatin1String("networkmanager") &&
        cl.backend != QLatin1String("simulated") &&
        !cl.backend.startsWith(QLatin1String("simulated="))) {
        cl.error = QStringLiteral("Bilinmeyen --backend: %1").arg(cl.backend);
        return cl;
    }
    if (settingsGiven) {
        cl.error = settingsPathProblem(cl.settingsFile);
        if (!cl.error.isEmpty())
            return cl;
        // Exactly the file named, relative to the folder the program was started in.
        cl.settingsFile = QFileInfo(cl.settingsFile).absoluteFilePath();
    }
    cl.rest = rest.join(QLatin1Char(' '));
    const QString upper = cl.rest.toUpper();
    cl.hideOnStartup =
        upper == QLatin1String("/HIDEONSTARTUP") || upper == QLatin1String("HIDEONSTARTUP");
    return cl;
}

QString CommandLine::usage() {
    return QStringLiteral(
        "Kullanım: Nuvar_Pos_Zelvi_ip [SEÇENEKLER] [/HIDEONSTARTUP]\n"
        "\n"
        "  /HIDEONSTARTUP     pencereyi açmadan, bildirim alanında başlar\n"
        "  --settings DOSYA   program klasöründeki ayar dosyası yerine tam olarak DOSYA\n"
        "                     kullanılır (yoksa boş olarak oluşturulur)\n"
        "  --backend networkmanager\n"
        "                     ağ ayarlarını NetworkManager ile değiştirir (varsayılan)\n"
        "  --backend simulated[=DOSYA]\n"
        "                     gerçek ağa dokunmadan, DOSYA'daki benzetim bağdaştırıcılarıyla\n"
        "                     çalışır (varsayılan dosya program klasöründe\n"
        "                     simulated-computer.json)\n"
        "  --report-shown     pencere ilk göründüğünde bunu yazar ve kapanır (ölçüm için)\n"
        "  --help             bu yardımı gösterir\n"
        "\n"
        "Dış adres (MODEM IP) ve internet denetimi için adres servisi ayar dosyasında\n"
        "verilir; verilmezse satır \"SERVİS YOK\" der ve hiçbir şey denetlenmez:\n"
        "  [Links]\n"
        "  ExternalAddressUrl=http://sunucu.ornek:8080/ip.php\n"
        "Yanıt için toplam süre 10 saniyedir; yönlendirme yalnızca aynı adrese (şema,\n"
        "sunucu, port) izlenir.\n");
}
