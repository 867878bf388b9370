#include "core/rules/formationrules.h"

#include "core/data/globals.h"
#include "core/data/ooblayout.h"

#include <cstddef>
#include <stdexcept>
#include <utility>

namespace tarnwick::core {

namespace {

bool IsCompanyType(int t)
{
    return t == 2 || t == 3 || t == kBnHqType;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

const TOobFormation* SubFormation(const TOobData& oob, int member)
{
    return IsSubFormationMember(member) ? &oob.formations[static_cast<std::size_t>(member - 1000)] : nullptr;
}

RowLabel UnitNameLabel(const TOobData& oob, int value)
{
    if (value == 0)
        return {};
    if (!IsUnitSlot(value))
        return { kInvalidUnitNumber, true };
    return { oob.units[static_cast<std::size_t>(value)].name, false };
}

std::string Availability(const TOobFormation& f)
{
    return std::to_string(f.monthAvail) + "/" + std::to_string(f.yearAvail) + " to "
        + std::to_string(f.monthUnavail) + "/" + std::to_string(f.yearUnavail);
}

const OobField& FormationField(std::string_view name)
{
    for (const OobField& field : OobLayoutOf(OobTable::Formations).fields)
        if (field.name == name)
            return field;
    throw std::logic_error("no formation field " + std::string(name));
}

} // namespace

FormationKind UpdateFormationKind(int formType, int formation)
{
    FormationKind kind;
    kind.takesSubFormations = IsCompanyType(formType);
    kind.sectionsOnly = formType == 3;
    if (kind.sectionsOnly)
        kind.labelCo = "Second Rate Company (is allowed sub-formations of sections only)";
    else if (kind.takesSubFormations && formation == 1)
        kind.labelCo = "First Formation (Battle Group HQ) - allowed sub-formations BUT NOT RECOMMENDED!";
    else if (kind.takesSubFormations)
        kind.labelCo = "Company type formation (is allowed sub-formations of platoons or sections)";
    else
        kind.labelCo = "Platoon type formation (may only contain units)";
    return kind;
}

std::string FormationTypeName(int formType)
{
    if (formType < 0 || formType > 255)
        return "Unknown";
    return FormTypeName(static_cast<std::uint8_t>(formType));
}

std::optional<int> MemberValue(std::string_view text)
{
    try {
        return StrToInt(TrimBlanks(text));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

SlotLabels UpdateSlotLabels(const TOobData& oob, int slot, int value, const FormationKind& kind)
{
    SlotLabels labels;
    if (slot == 1) {
        if (value >= 1000) {
            labels.date = { "ERROR - form in slot 1!", true };
            return labels;
        }
        labels.name = UnitNameLabel(oob, value);
        labels.type.text = "unit";
        return labels;
    }

    if (value < 1000) {
        labels.name = UnitNameLabel(oob, value);
        labels.type.text = "unit";
        return labels;
    }
    const TOobFormation* sub = SubFormation(oob, value);
    labels.name = sub ? RowLabel { sub->name, false } : RowLabel { kInvalidFormationNumber, true };
    if (!kind.takesSubFormations) {
        labels.type = { "ERROR - form in plt!", true };
        return labels;
    }
    if (!sub)
        return labels; // the name says it all; there is no type to show
    const int t = sub->formType;
    if (IsCompanyType(t))
        labels.type = { "ERROR - Co in a Co!", true };
    else if (t != 0 && kind.sectionsOnly)
        labels.type = { "ERROR - Not a section!", true };
    else {
        labels.type.text = FormationTypeName(t);
        labels.date.text = Availability(*sub);
    }
    return labels;
}

std::uint8_t Totalise(const TOobData& oob, int member)
{
    if (member <= 0)
        return 0;
    if (member < 1000)
        return 1;
    const TOobFormation* sub = SubFormation(oob, member);
    if (!sub)
        return 0;
    std::uint8_t count = 0;
    for (std::uint16_t m : sub->slot)
        if (m != 0)
            ++count;
    return count;
}

int FormationTotal(const TOobData& oob, const TOobFormation& formation)
{
    int total = formation.slot[0] >= 1 && formation.slot[0] <= 999 ? 1 : 0;
    for (std::size_t n = 1; n < formation.slot.size(); ++n)
        total += Totalise(oob, formation.slot[n]);
    return total;
}

bool IsMisplacedBnHq(int formation, int formType)
{
    return formation > 1 && formType == kBnHqType;
}

std::string BnHqRepairMessage()
{
    return "Only the first formation can be the Bn HQ!\n\nThis formation code reset to "
        + FormationTypeName(kCompanyType);
}

std::string ClampSlot1Text(std::string_view text)
{
    try {
        return ClampText(0, kUnitSlots, text);
    } catch (const EConvertError&) {
        return "0";
    }
}

FormationCheck CheckFormation(
    const TOobData& oob, const FormationKind& kind, const std::array<std::string, kFormationMembers>& members)
{
    FormationCheck check;
    // A member that is empty or no number becomes "0".
    auto valueOf = [&](int n) {
        std::optional<int> v = MemberValue(members[static_cast<std::size_t>(n - 1)]);
        if (!v) {
            check.replaceText[static_cast<std::size_t>(n - 1)] = "0";
            return 0;
        }
        return *v;
    };

    const int first = valueOf(1);
    if (first > 999) {
        check.passed = false;
        check.message = "The item in slot 1 must be a UNIT and not a FORMATION";
        return check;
    }
    if (first > kUnitSlots)
        check.replaceText[0] = std::to_string(kUnitSlots);

    std::string lines;
    for (int n = 2; n <= kFormationMembers; ++n) {
        const int v = valueOf(n);
        if (v <= 999)
            continue;
        const std::string slot = std::to_string(n);
        const TOobFormation* sub = SubFormation(oob, v);
        if (!kind.takesSubFormations)
            lines += "The item in slot " + slot + " is not a UNIT\n";
        else if (!sub)
            lines += "The item in slot " + slot + " is not a valid formation number\n";
        else if (kind.sectionsOnly) {
            if (sub->formType != 0)
                lines += "The formation in slot " + slot + " is not a SECTION\n";
        } else if (IsCompanyType(sub->formType))
            lines += "The Formation In slot " + slot + " cannot be a COMPANY\n";
    }
    if (!lines.empty()) {
        check.passed = false;
        check.message = "Error(s) in formation data\n\n" + lines;
    }
    return check;
}

std::optional<FieldError> FormationFromTexts(const FormationTexts& texts, TOobFormation& out)
{
    TOobFormation f = out;
    std::string name = TrimName(texts.name);
    if (name.size() > kNameLength)
        name.resize(kNameLength);
    f.name = name;

    // In the order a message names the first field that is no number.
    const std::pair<std::string_view, const std::string*> numbers[] = {
        { "Country", &texts.nation },
        { "Avail From Yr", &texts.yearAvail },
        { "Avail From Mo", &texts.monthAvail },
        { "Avail To Yr", &texts.yearUnavail },
        { "Avail To Mo", &texts.monthUnavail },
        { "Buy Page", &texts.buyPage },
        { "Form Type", &texts.formType },
        { "Exp Mod", &texts.expMod },
        { "Mor Mod", &texts.moraleMod },
    };
    std::optional<FieldError> error;
    auto convert = [&](const OobField& field, const std::string& text) {
        if (error)
            return;
        const FieldRange range = field.range();
        try {
            SetRecordValue(field, f, ClampValue(range.low, range.high, text));
        } catch (const EConvertError&) {
            error = FieldError { std::string(field.label), text };
        }
    };
    for (const auto& [name, text] : numbers)
        convert(FormationField(name), *text);
    // Then the members, which the table lists in slot order.
    std::size_t n = 0;
    for (const OobField& field : OobLayoutOf(OobTable::Formations).fields)
        if (field.code == FieldCode::Member && n < texts.slot.size())
            convert(field, texts.slot[n++]);
    if (error)
        return error;
    out = f;
    return std::nullopt;
}

} // namespace tarnwick::core
