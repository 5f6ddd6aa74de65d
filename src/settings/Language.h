#pragma once

#include <QString>
#include <functional>
#include <optional>

class QCoreApplication;
class QTranslator;

// The language the program speaks: Turkish, its own, or English for everybody else.
namespace Language {

enum class Choice { Turkish, English };

// "tr" or "en" as given to --language; nothing for any other text.
std::optional<Choice> fromOption(const QString &value);

// The desktop's language, as the C library finds it: the locale (LC_ALL, then LC_MESSAGES, then
// LANG); unless that is C or POSIX, LANGUAGE's first entry that is not empty comes before it.
// Turkish where it is Turkish ("tr_TR", "tr-TR") or not set (C, POSIX), else English.
Choice fromEnvironment(const std::function<QString(const char *)> &variable);
Choice fromEnvironment();

// The option where one was given (and is valid), else the environment's.
Choice choose(const QString &option);

// Makes every later text come in that language: the program's translation for English, Qt's
// own Turkish one ("Tamam", not "OK") for Turkish. The translator installed (the application
// owns it), or nothing where it could not be loaded: the texts then stay as they are written.
QTranslator *install(QCoreApplication &app, Choice choice);

} // namespace Language
