#include "settings/UserFileUpgrade.h"

#include "settings/IniCodec.h"
#include "settings/IniDocument.h"
#include "settings/IniFileStore.h"
#include "settings/Text.h"
#include "settings/WholeFile.h"
#include "settings/modNetProfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace UserFileUpgrade {

namespace {

const QString kLinks = QStringLiteral("Links");

} // namespace

QString markOf(const QString &userFile) {
    return userFile + QStringLiteral(".taken-into-till");
}

Taken take(const QString &tillFile, const QString &userFile) {
    const QString mark = markOf(userFile);
    if (QFileInfo(tillFile).absoluteFilePath() == QFileInfo(userFile).absoluteFilePath() ||
        !QFileInfo(userFile).isFile() || QFileInfo::exists(mark))
        return {};
    IniError error;
    const std::optional<QByteArray> bytes = IniFileStore::read(userFile, error);
    if (!bytes)
        return {Text::tr("Önceki sürümün profilleri (%1) okunamadı: %2")
                    .arg(userFile, error.description),
                true};
    const IniDocument earlier = IniDocument::fromFileBytes(*bytes);
    const auto profiles = earlier.keys(modNetProfiles::ProfilesSection);
    const auto links = earlier.keys(kLinks);
    int added = 0;
    int held = 0;
    if (!profiles.empty() || !links.empty()) {
        const bool written = IniFileStore::update(
            tillFile,
            [&](IniDocument &doc) {
                added = held = 0;
                QSet<QString> names;
                for (const auto &[name, value] : doc.keys(modNetProfiles::ProfilesSection))
                    names.insert(IniCodec::foldName(name));
                std::vector<std::pair<QString, QString>> writes;
                for (const auto &[name, value] : profiles) {
                    if (names.contains(IniCodec::foldName(name))) {
                        ++held;
                        continue;
                    }
                    names.insert(IniCodec::foldName(name));
                    writes.emplace_back(name, value);
                }
                added = int(writes.size());
                doc.setValues(modNetProfiles::ProfilesSection, writes);
                std::vector<std::pair<QString, QString>> linkWrites;
                for (const auto &[key, value] : links) {
                    if (!doc.value(kLinks, key) && !value.isEmpty())
                        linkWrites.emplace_back(key, value);
                }
                doc.setValues(kLinks, linkWrites);
                return !writes.empty() || !linkWrites.empty();
            },
            error);
        if (!written)
            return {Text::tr("Önceki sürümün profilleri (%1) ortak listeye alınamadı, hiçbiri:\n%2")
                        .arg(userFile, error.description),
                    true};
    }
    // Marked only once they are in: a later start does not bring back what was deleted since.
    (void)WholeFile::replace(mark, QFile::encodeName(tillFile) + '\n');
    if (profiles.empty())
        return {};
    return {Text::tr("Önceki sürümün profilleri ortak listeye alındı: %1 yeni, %2 aynı adla "
                     "zaten vardı (eski dosya: %3).")
                .arg(added)
                .arg(held)
                .arg(userFile),
            false};
}

} // namespace UserFileUpgrade
