#include "core/ProfileRules.h"

#include "core/AddressRules.h"
#include "settings/Text.h"

#include <QRegularExpression>

namespace ProfileRules {

using modNetProfiles::FieldCount;

std::optional<Problem> saveProblem(const QString &name,
                                   const modNetProfiles::ProfileFields &fields) {
    const int blank = AddressRules::VerificaCampi(name, fields);
    if (blank == -2)
        return Problem{Problem::Kind::BlankName, -1, Text::tr("Profilin adı boş olamaz."),
                       QStringLiteral("invalid-name")};
    if (blank >= 0)
        return Problem{Problem::Kind::BlankBox, blank,
                       Text::tr("%1 adresi boş; yalnızca DNS 2 boş bırakılabilir.")
                           .arg(AddressRules::rowName(blank / 4)),
                       QStringLiteral("missing-address")};
    if (const int box = AddressRules::firstOctetAbove255(fields); box >= 0)
        return Problem{Problem::Kind::OctetTooLarge, box,
                       AddressRules::octetTooLargeText(box, fields[std::size_t(box)]),
                       QStringLiteral("invalid-address")};
    if (const std::optional<QString> problem = modNetProfiles::profileNameProblem(name))
        return Problem{Problem::Kind::UnstorableName, -1, *problem, QStringLiteral("invalid-name")};
    return std::nullopt;
}

std::optional<QString> fieldsFromAddresses(const QStringList &addresses,
                                           modNetProfiles::ProfileFields &fields) {
    static const QRegularExpression dotted(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    fields.fill(QString());
    for (int row = 0; row < FieldCount / 4; ++row) {
        const QString text = addresses.value(row).trimmed();
        if (text.isEmpty())
            continue; // a blank row: the rules above say whether it may be
        const QRegularExpressionMatch m = dotted.match(text);
        if (!m.hasMatch())
            return Text::tr("%1: \"%2\" bir IPv4 adresi değil (noktayla ayrılmış dört sayı, "
                            "her biri 0-255).")
                .arg(AddressRules::rowName(row), text);
        for (int part = 0; part < 4; ++part)
            fields[std::size_t(row * 4 + part)] = m.captured(part + 1);
    }
    return std::nullopt;
}

} // namespace ProfileRules
