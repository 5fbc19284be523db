#pragma once

#include <array>
#include <optional>
#include <string>

#include "control/property_bag.h"
#include "fuzz/byte_reader.h"

namespace velmora::fuzz {

// One UTF-16 code unit, biased towards the characters the control reads (column letters, row
// digits, cell letters) and their near misses (lower case, "@", "I", "0", "9", full-width forms,
// lone surrogates), with any unit at all as one of the choices.
char16_t DecodeUnit(ByteReader& in);

// A text a host may push: empty, the reset token, five-character move texts of every shape,
// square names, 64-character positions with bad characters or a wrong length, raw units of
// any length up to 16320, or the text a cell already holds (with or without one edit).
std::u16string DecodeText(ByteReader& in, const std::array<std::u16string, 3>& held);

// A value for a property bag: absent (nullopt), or a truth value, a number (NaN and the
// infinities included), a text, or the "nothing" kind stored under the name.
std::optional<PropertyValue> DecodeBagValue(ByteReader& in,
                                            const std::array<std::u16string, 3>& held);

}  // namespace velmora::fuzz
