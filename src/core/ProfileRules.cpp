#include "core/ProfileRules.h"

#include "adapters/AnswerCode.h"
#include "core/AddressRules.h"
#include "settings/Text.h"

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
    // Four groups of one to three ASCII digits, separated by dots.
    const auto dotted = [](QStringView text, std::array<QStringView, 4> &parts) {
        qsizetype at = 0;
        for (int part = 0; part < 4; ++part) {
            qsizetype end = at;
            while (end < text.size() && end - at < 4 && text[end] >= u'0' && text[end] <= u'9')
                ++end;
            if (end == at || end - at > 3)
                return false;
            parts[std::size_t(part)] = text.sliced(at, end - at);
            if (part < 3 && (end >= text.size() || text[end] != u'.'))
                return false;
            at = end + 1;
        }
        return at == text.size() + 1;
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
