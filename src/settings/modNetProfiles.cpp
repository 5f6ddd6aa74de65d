#include "settings/modNetProfiles.h"

#include "settings/BackgroundWork.h"
#include "settings/FileLocation.h"
#include "settings/FolderLock.h"
#include "settings/IniDocument.h"
#include "settings/ProfileList.h"
#include "settings/Text.h"
#include "settings/UserPrompts.h"
#include "settings/clsIni.h"

#include <QFile>
#include <QFileInfo>

namespace modNetProfiles {

namespace {

// Reports a failed step of ProfilesLoad; only the first of a call, so that a file that
// cannot be used never holds the user in a series of messages.
void reportLoadError(UserPrompts &prompts, const IniError &error, bool &reported) {
    if (reported)
        return;
    reported = true;
    prompts.message(QStringLiteral("Error %1 (%2)\r\nin procedure ProfilesLoad of Modulo "
                                   "modNetProfiles")
                        .arg(error.number)
                        .arg(error.description),
                    UserPrompts::Icon::None);
}

} // namespace

QString settingsFilePath() {
    return FileLocation::programFile(SettingsFileName);
}

void ProfilesLoad(const QString &path, ProfileList &list, UserPrompts &prompts) {
    bool reported = false;
    // Read off the window's thread: a file of a million profiles takes a second.
    std::optional<IniError> openError;
    std::optional<IniError> readError;
    QStringList names;
    qint32 count = 0;
    BackgroundWork::runForFile(QFileInfo(path).size(), [&] {
        clsIni ini;
        if (!ini.setFileName(path, clsIni::PathRule::Exact)) // the caller's completed path
            openError = ini.lastError();
        if (!ini.ReadSection(ini.FileName(), ProfilesSection, names, count))
            readError = ini.lastError();
        names = list.arranged(names);
    });
    if (openError)
        reportLoadError(prompts, *openError, reported);
    if (readError)
        reportLoadError(prompts, *readError, reported);

    list.clear();
    for (qint32 i = 0; i < count; ++i) {
        if (!list.addItem(names.at(i))) {
            reportLoadError(prompts,
                            {IniErrorNumber::PathFileAccess,
                             Text::tr("Profil listeye eklenemedi: %1").arg(names.at(i))},
                            reported);
        }
    }
    list.endOfLoad();
}

std::optional<QString> profileNameProblem(const QString &name) {
    if (std::optional<QString> problem = IniDocument::keyNameProblem(name))
        return problem;
    if (name.size() > clsIni::MaxValueLength)
        return Text::tr("Ad en çok %1 karakter olabilir (bu ad %2 karakter);\n"
                        "daha uzun bir ad etkin profil olarak geri okunamaz.")
            .arg(clsIni::MaxValueLength)
            .arg(name.size());
    return std::nullopt;
}

QString joinFields(const ProfileFields &fields) {
    QString value;
    for (int i = 0; i < FieldCount; ++i) {
        if (i > 0)
            value += QLatin1Char('.');
        value += fields[i];
    }
    return value;
}

SaveResult ProfileSave(const QString &path, const QString &name, const ProfileFields &fields,
                       UserPrompts &prompts, const std::function<void()> &waiting) {
    clsIni ini;
    if (!ini.setFileName(path, clsIni::PathRule::Exact)) // the caller's completed path
        return {SaveResult::Outcome::Failed, ini.lastError(), {}};
    if (EditMode == 0 && !ini.ReadString(ProfilesSection, name, QString()).isEmpty()) {
        const QString question = Text::tr("\"%1\" adında bir profil zaten var.\r\nMevcut profil bu "
                                          "bilgilerle değiştirilsin mi?")
                                     .arg(name);
        if (!prompts.askYesNo(question, UserPrompts::Icon::Question))
            return {SaveResult::Outcome::Declined, {}, {}};
    }
    bool written = false;
    const auto write = [&] {
        written = ini.WriteString(ProfilesSection, name, joinFields(fields));
    };
    if (FolderLock::heldElsewhere(QFile::encodeName(QFileInfo(ini.FileName()).absolutePath()))) {
        if (waiting)
            waiting();
        BackgroundWork::run(write); // up to the lock's wait: the window paints meanwhile
    } else {
        BackgroundWork::runForFile(QFileInfo(ini.FileName()).size(), write);
    }
    if (!written)
        return {SaveResult::Outcome::Failed, ini.lastError(), {}};
    return {SaveResult::Outcome::Saved, {}, ini.lastNotice()};
}

} // namespace modNetProfiles
