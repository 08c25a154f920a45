#pragma once
// Checks on the values of form fields: whole numbers written as plain decimal digits (no
// sign, blank or exponent, so "1e3", " 7" and "0x10" are refused rather than half-read),
// and text lengths counted in UTF-16 units, the unit the program's edits count in.
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvo::service {

std::optional<int64_t> ParseWholeNumber(std::string_view text, int64_t min, int64_t max);

// Length in UTF-16 units of valid UTF-8 text (a character beyond U+FFFF counts two).
size_t Utf16Units(std::string_view utf8);

// The longest start of valid UTF-8 text that fits the units, never splitting a character.
std::string_view TruncateUtf16Units(std::string_view utf8, size_t max_units);

// Valid UTF-8 without NUL characters: what may be stored and sent back in JSON.
bool IsStorableText(std::string_view text);

}  // namespace orvo::service
