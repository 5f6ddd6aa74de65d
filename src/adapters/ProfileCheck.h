#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <span>

// A stored profile judged as a whole before any adapter is touched: what cannot work is
// refused with the field named; what works but is most likely a typing mistake is a doubt
// that the user is asked about.
namespace ProfileCheck {

struct Result {
    std::optional<QString> refusal; // why the profile cannot be applied, naming the field
    QStringList doubts;             // each one a sentence naming the fields concerned

    bool canApply() const { return !refusal.has_value(); }
};

// Judges the twenty parts of a stored profile (address, mask, gateway, DNS 1, DNS 2; the
// second DNS server may be blank).
Result check(const QStringList &ProfileParts);
// The same of the twenty parts as they stand (no list made of them).
Result check(std::span<const QString, 20> ProfileParts);

// What is doubtful about the profile, one line each.
QString doubtText(const QString &name, const QStringList &doubts);
// The question asked before a doubtful profile is applied.
QString doubtQuestion(const QString &name, const QStringList &doubts);

} // namespace ProfileCheck
