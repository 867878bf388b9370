#pragma once

// Code tables that name coded values, and the numeric rule for edit fields.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarnwick::core {

inline constexpr const char* kNoIniFile = "*NO INI FILE!*";

// Nation and unit-class names, read from the settings file at start-up.
struct NameTables {
    NameTables();
    std::array<std::string, 100> nationNames; // [1..99]; [0] unused
    std::array<std::string, 256> unitClassNames; // [0..255]
};

std::string WeaponClassName(std::uint8_t code); // fallback "Unknown Class"
std::string MoveClassName(std::uint8_t code); // fallback "UNKNOWN"
std::string BuyPageName(std::uint8_t code); // fallback "Unknown"
std::string FormTypeName(std::uint8_t code); // fallback "Unknown"
std::string NationName(const NameTables& tables, int number); // "Unknown" outside 1..99
std::string UnitClassName(const NameTables& tables, std::uint8_t code);

// A text that is no integer: what() is "'<text>' is not a valid integer value".
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const std::string& text);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// A page field whose text is no number; a commit stores nothing then.
struct FieldError {
    std::string field; // the field's caption
    std::string text; // as typed
    // "Crew: '5-' is not a valid integer value"
    std::string message() const;
};

// Keeps digits and minus signs in order; an empty result becomes "0".
std::string DigitsOnly(std::string_view text);

// A whole text as a signed 32-bit decimal ("-12", "7"); throws EConvertError.
std::int32_t StrToInt(std::string_view text);

// DigitsOnly, convert, then clamp (max tested first). Throws EConvertError.
std::int32_t ClampValue(std::int32_t min, std::int32_t max, std::string_view text);
std::string ClampText(std::int32_t min, std::int32_t max, std::string_view text);

// "007", "012", "123": slot numbers as lists, labels and dialogs show them.
std::string ThreeDigits(int n);
// "07", "12": nation numbers in file-list rows and buffer rows.
std::string TwoDigits(int n);

} // namespace tarnwick::core
