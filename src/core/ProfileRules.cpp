#include "core/ProfileRules.h"

#include "adapters/AnswerCode.h"
#include "core/AddressRules.h"
#include "settings/Text.h"

#include <algorithm>
#include <array>

namespace ProfileRules {

using modNetProfiles::FieldCount;

std::optional<Problem> saveProblem(const QString &name,
                                   const modNetProfiles::ProfileFields &fields) {
    const int blank = AddressRules::VerificaCampi(name, fields);
    if (blank == -2)
        return Problem{Problem::Kind::BlankName, -1, Text::tr("Profilin adı boş olamaz."),
                       AnswerCode::InvalidName};
    if (blank >= 0)
        return Problem{Problem::Kind::BlankBox, blank,
                       Text::tr("%1 adresi boş; yalnızca DNS 2 boş bırakılabilir.")
                           .arg(AddressRules::rowName(blank / 4)),
                       AnswerCode::MissingAddress};
    if (const int box = AddressRules::firstOctetAbove255(fields); box >= 0)
        return Problem{Problem::Kind::OctetTooLarge, box,
                       AddressRules::octetTooLargeText(box, fields[std::size_t(box)]),
                       AnswerCode::InvalidAddress};
    if (const std::optional<QString> problem = modNetProfiles::profileNameProblem(name))
        return Problem{Problem::Kind::UnstorableName, -1, *problem, AnswerCode::InvalidName};
    return std::nullopt;
}

std::optional<QString> fieldsFromAddresses(const QStringList &addresses,
                                           modNetProfiles::ProfileFields &fields) {
    // Four groups of one to three ASCII digits, separated by dots (a group above 255 is said
    // by the rules above, with its box).
    const auto dotted = [](QStringView text, std::array<QStringView, 4> &parts) {
        int count = 0;
        for (const QStringView part : text.tokenize(u'.')) {
            const bool digits = !part.isEmpty() && part.size() <= 3 &&
                                std::all_of(part.begin(), part.end(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
            if (count == 4 || !digits)
                return false;
            parts[std::size_t(count++)] = part;
        }
        return count == 4;
    };
    fields.fill(QString());
    std::array<QStringView, 4> parts;
    for (int row = 0; row < FieldCount / 4; ++row) {
        const QString text = addresses.value(row).trimmed();
        if (text.isEmpty())
            continue; // a blank row: the rules above say whether it may be
        if (!dotted(text, parts))
            return Text::tr("%1: \"%2\" bir IPv4 adresi değil (noktayla ayrılmış dört sayı, "
                            "her biri 0-255).")
                .arg(AddressRules::rowName(row), text);
        for (int part = 0; part < 4; ++part)
            fields[std::size_t(row * 4 + part)] = parts[std::size_t(part)].toString();
    }
    return std::nullopt;
}

} // namespace ProfileRules
