#include "settings/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <optional>

namespace Language {

std::optional<Choice> fromOption(const QString &value) {
    if (value == QLatin1String("tr"))
        return Choice::Turkish;
    if (value == QLatin1String("en"))
        return Choice::English;
    return std::nullopt;
}

Choice fromEnvironment(const std::function<QString(const char *)> &variable) {
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = variable(name);
        if (!locale.isEmpty())
            break;
    }
    const QString base = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (base.isEmpty() || base == QLatin1String("C") || base == QLatin1String("POSIX"))
        return Choice::Turkish; // as the C library, which then ignores LANGUAGE too
    // LANGUAGE's first entry that is not empty (the C library skips empty ones), else the
    // locale's; a language written "tr-TR" is Turkish as "tr_TR" is.
    QString language = base;
    for (const QString &entry : variable("LANGUAGE").split(QLatin1Char(':'))) {
        if (!entry.isEmpty()) {
            language = entry;
            break;
        }
    }
    language = language.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0);
    return language.compare(QLatin1String("tr"), Qt::CaseInsensitive) == 0 ? Choice::Turkish
                                                                           : Choice::English;
}

Choice fromEnvironment() {
    return fromEnvironment([](const char *name) { return qEnvironmentVariable(name); });
}

Choice choose(const QString &option) {
    return fromOption(option).value_or(fromEnvironment());
}

QTranslator *install(QCoreApplication &app, Choice choice) {
    auto *translator = new QTranslator(&app);
    const bool loaded = choice == Choice::English
                            ? translator->load(QStringLiteral(":/i18n/zelvi_en.qm"))
                            : translator->load(QLocale(QLocale::Turkish, QLocale::Turkey),
                                               QStringLiteral("qtbase"), QStringLiteral("_"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace Language
