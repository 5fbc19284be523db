#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "board/refusal.h"
#include "control/capabilities.h"
#include "control/property_bag.h"
#include "view/layout.h"

namespace velmora {

class BoardControl;

// The shape of a member's value as every face shows it.
enum class MemberKind : std::uint8_t { kBoolean, kLong, kString, kEnumeration, kColour, kMethod };

// Every member a host sees, in the table's order (control/member_rows.h).
enum class MemberId : std::uint8_t {
#define VELMORA_MEMBER(name, ...) k##name,
#include "control/member_rows.h"
};

// A member's value: a truth value (Boolean), a whole number (Long, an enumeration, a colour) or
// a text.
using MemberValue = std::variant<bool, std::int32_t, std::u16string>;

// One row of the table.
struct Member {
  MemberId id;
  std::u16string_view name;
  std::int32_t dispatch_id;
  MemberKind kind;
  bool chess_board_only;
  int saved;                             // the place in the saved order; 0 when not saved
  std::array<std::int32_t, 2> defaults;  // of a saved Boolean or number, by ControlClass
  std::u16string_view help;
  std::int32_t low = 0;  // a Long's, an enumeration's or a colour's range
  std::int32_t high = 0;
  std::u16string_view enumeration = {};  // an Enumeration's type, as the faces name it
};

// A Colour member's value holds an RGB colour as OLE_COLOR does: 0x00BBGGRR. OLE_COLOR's system
// colours (the high bit set) lie outside its range.
inline constexpr std::int32_t kHighestColour = 0xFFFFFF;
constexpr std::int32_t ColourValue(Rgb rgb) {
  return rgb.r | rgb.g << 8 | rgb.b << 16;
}
constexpr Rgb RgbOfColour(std::int32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16)};
}

// How many members the table has.
inline constexpr std::size_t kMemberCount = 0
#define VELMORA_MEMBER(...) +1
#include "control/member_rows.h"
    ;

// Every member, in the table's order. Defined once (members.cpp), so each name and help string
// is stored once in a library.
extern const std::array<Member, kMemberCount> kMembers;

inline const Member& MemberOf(MemberId id) {
  return kMembers[static_cast<std::size_t>(id)];
}

// The member of that name, or none.
const Member* FindMember(std::u16string_view name);

constexpr bool HasMember(ControlClass control_class, const Member& member) {
  return !member.chess_board_only || control_class == ControlClass::kChessBoard;
}

// What a saved member holds on a new control of the class.
MemberValue DefaultOf(const Member& member, ControlClass control_class);

// A host's read and write. A write sends the property-changed notice when it is taken; a
// Method's write calls it.
MemberValue ReadMember(const BoardControl& control, const Member& member);
Refused WriteMember(BoardControl& control, const Member& member, const MemberValue& value);

// A saved value as the member takes it: converted as saved values are (see property_bag.h),
// a number checked against the member's range. Throws Failure when it cannot be.
MemberValue FromSaved(const Member& member, const PropertyValue& saved);
PropertyValue ToSaved(const MemberValue& value);

}  // namespace velmora
