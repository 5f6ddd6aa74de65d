#include "core/CommandOutput.h"

#include "adapters/AnswerCode.h"
#include "core/CommandRunner.h"
#include "settings/ShownText.h"
#include "settings/Text.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QIODevice>
#include <QJsonDocument>

namespace CommandRunner {

Run::Run(const CommandLine &cl, QTextStream &out, QTextStream &err)
    : m_cl(cl), m_out(out), m_err(err) {
    m_json.insert(QStringLiteral("command"), CommandLine::commandName(cl.command));
}

void Run::line(const QString &text) {
    if (!m_cl.json)
        write(m_out, text);
}

void Run::say(const QString &text) {
    write(m_err, text);
}

void Run::setCode(const QString &code) {
    if (!code.isEmpty() && !m_json.contains(QStringLiteral("code")))
        m_json.insert(QStringLiteral("code"), code);
}

void Run::fail(const QString &reason, qint64 number, const QString &code) {
    setCode(code.isEmpty() ? AnswerCode::Failed : code);
    write(m_err, number != 0 ? QStringLiteral("%1 (%2)").arg(reason).arg(number) : reason);
    const QString earlier = m_json.value(QStringLiteral("reason")).toString();
    m_json.insert(QStringLiteral("reason"),
                  earlier.isEmpty() ? reason : earlier + QLatin1Char('\n') + reason);
    if (number != 0 && !m_json.contains(QStringLiteral("number")))
        m_json.insert(QStringLiteral("number"), double(number));
    m_failed = true;
}

int Run::finish(int status) {
    if (status == Done && m_failed)
        status = Refused;
    // Nothing was changed unless the command said it changed something.
    const CommandLine::Command command = m_cl.command;
    using C = CommandLine::Command;
    const bool changes = command == C::Apply || command == C::Dhcp || command == C::SetProfile ||
                         command == C::DeleteProfile || command == C::ImportProfiles;
    if (changes && !m_json.contains(QStringLiteral("changed")))
        m_json.insert(QStringLiteral("changed"), false);
    setCode(status == Done ? AnswerCode::Done : AnswerCode::Failed);
    if (m_cl.dryRun)
        m_json.insert(QStringLiteral("dryRun"), true); // refused ones too: nothing was touched
    m_json.insert(QStringLiteral("status"), status);
    if (m_cl.json) {
        m_out << ShownText::oneLineJson(m_json);
        m_out.flush();
    }
    if (m_out.status() != QTextStream::Ok) {
        // Scripts must not read a lost answer as success; what was changed stays changed.
        const QIODevice *device = m_out.device();
        write(m_err, Text::tr("Çıktı yazılamadı (%1); komut yine de sonuna dek çalıştı, "
                              "yaptığı değişiklik geri alınmadı.")
                         .arg(device ? device->errorString() : QString()));
        if (status == Done)
            status = Refused;
    }
    m_err.flush();
    return status;
}

int Run::refuse(const QString &reason, qint64 number, const QString &code) {
    fail(reason, number, code);
    return finish(Refused);
}

void Run::write(QTextStream &stream, const QString &text) {
    stream << ShownText::escaped(text) << '\n';
    stream.flush();
}

QJsonArray refusalsJson(const QList<AdapterCommands::Refusal> &refusals) {
    QJsonArray items;
    for (const AdapterCommands::Refusal &r : refusals)
        items.append(QJsonObject{{QStringLiteral("adapter"), r.adapter},
                                 {QStringLiteral("method"), r.method},
                                 {QStringLiteral("code"), r.code},
                                 {QStringLiteral("detail"), r.detail}});
    return items;
}

// Records `name` as the current profile (empty: none) after the adapters changed; a failure
// fails the run.
QString unwritableCode(const IniError &error) {
    return error.number == IniErrorNumber::DiskFull ? AnswerCode::DiskFull
                                                    : AnswerCode::SettingsUnwritable;
}

bool recordCurrent(Run &run, clsIni &ini, const QString &name) {
    using namespace modNetProfiles;
    if (ini.ReadString(CurrentProfileSection, ProfileNameKey, QString()) == name ||
        ini.WriteString(CurrentProfileSection, ProfileNameKey, name) != 0)
        return true;
    const QString what =
        name.isEmpty() ? Text::tr("ayar dosyasındaki etkin profil silinemedi")
                       : Text::tr("\"%1\" etkin profil olarak ayar dosyasına yazılamadı").arg(name);
    run.fail(Text::tr("Ağ bağdaştırıcıları değişti, ancak %1: Hata %2 (%3)")
                 .arg(what)
                 .arg(ini.lastError().number)
                 .arg(ini.lastError().description),
             0, unwritableCode(ini.lastError()));
    return false;
}

} // namespace CommandRunner
