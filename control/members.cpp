#include "control/members.h"

#include <cmath>

#include "board/failure.h"
#include "control/board_control.h"

namespace velmora {

namespace member_table {

#define VELMORA_WIDE(text) u##text
#define VELMORA_NAME(name) VELMORA_WIDE(#name)

struct Range {
  std::u16string_view member;
  std::int32_t low;
  std::int32_t high;
};

constexpr Range kRanges[] = {
#define VELMORA_RANGE(member, low, high) {VELMORA_NAME(member), low, high},
#include "control/member_rows.h"
};

struct NamedValue {
  std::u16string_view enumeration;
  std::u16string_view name;
  std::int32_t value;
};

struct Enumeration {
  std::u16string_view member;
  std::u16string_view name;
};

constexpr Enumeration kEnumerations[] = {
#define VELMORA_ENUMERATION(member, name) {VELMORA_NAME(member), VELMORA_NAME(name)},
#include "control/member_rows.h"
};

constexpr NamedValue kNamedValues[] = {
#define VELMORA_NAMED_VALUE(enumeration, name, value) \
  {VELMORA_NAME(enumeration), VELMORA_NAME(name), value},
#include "control/member_rows.h"
};

// A Long's range from its range row; an enumeration's from its named values; a colour's RGB.
constexpr Member Ranged(Member member) {
  for (const Range& range : kRanges) {
    if (range.member == member.name) {
      member.low = range.low;
      member.high = range.high;
    }
  }
  if (member.kind == MemberKind::kColour) member.high = kHighestColour;
  for (const Enumeration& enumeration : kEnumerations) {
    if (enumeration.member == member.name) member.enumeration = enumeration.name;
  }
  bool first = true;
  for (const NamedValue& named : kNamedValues) {
    if (member.enumeration.empty() || named.enumeration != member.enumeration) continue;
    member.low = first || named.value < member.low ? named.value : member.low;
    member.high = first || named.value > member.high ? named.value : member.high;
    first = false;
  }
  return member;
}

// The classes column: a member of both classes, or of a ChessBoard only.
constexpr bool Both = false;
constexpr bool ChessBoard = true;

}  // namespace member_table

constexpr std::array<Member, kMemberCount> kMembers = {{
#define VELMORA_MEMBER(name, id, kind, classes, saved, first_default, board_default, help) \
  member_table::Ranged({MemberId::k##name,                                                 \
                        VELMORA_NAME(name),                                                \
                        static_cast<std::int32_t>(id),                                     \
                        MemberKind::k##kind,                                               \
                        member_table::classes,                                             \
                        saved,                                                             \
                        {first_default, board_default},                                    \
                        VELMORA_WIDE(help)}),
#include "control/member_rows.h"
}};

#undef VELMORA_NAME
#undef VELMORA_WIDE

namespace {

// How the faces reach a member of the control: a read and a host write.
struct Access {
  MemberValue (*read)(const BoardControl&);
  Refused (*write)(BoardControl&, const MemberValue&);
};

#define VELMORA_ACCESS(name, type)                                                  \
  Access{[](const BoardControl& control) -> MemberValue { return control.name(); }, \
         [](BoardControl& control, const MemberValue& value) -> Refused {           \
           return control.name(std::get<type>(value));                              \
         }},
#define VELMORA_ACCESS_Boolean(name) VELMORA_ACCESS(name, bool)
#define VELMORA_ACCESS_Long(name) VELMORA_ACCESS(name, std::int32_t)
#define VELMORA_ACCESS_Enumeration(name) VELMORA_ACCESS(name, std::int32_t)
#define VELMORA_ACCESS_Colour(name) VELMORA_ACCESS(name, std::int32_t)
#define VELMORA_ACCESS_String(name) VELMORA_ACCESS(name, std::u16string)
#define VELMORA_ACCESS_Method(name)                                 \
  Access{[](const BoardControl&) -> MemberValue { return false; },  \
         [](BoardControl& control, const MemberValue&) -> Refused { \
           control.name();                                          \
           return std::nullopt;                                     \
         }},

constexpr Access kAccess[] = {
#define VELMORA_MEMBER(name, id, kind, ...) VELMORA_ACCESS_##kind(name)
#include "control/member_rows.h"
};

static_assert(std::size(kAccess) == std::size(kMembers));

constexpr bool SavedInOrder() {
  int last = 0;
  for (const Member& member : kMembers) {
    if (member.saved == 0) continue;
    if (member.saved != last + 1) return false;
    last = member.saved;
  }
  return true;
}
static_assert(SavedInOrder(), "the saved order follows the table's, without gaps");

constexpr bool EnumerationsNamed() {
  for (const Member& member : kMembers) {
    if ((member.kind == MemberKind::kEnumeration) == member.enumeration.empty()) return false;
  }
  return true;
}
static_assert(EnumerationsNamed(), "each enumeration, and only an enumeration, names its type");

const Access& AccessOf(const Member& member) {
  return kAccess[static_cast<std::size_t>(member.id)];
}

}  // namespace

const Member* FindMember(std::u16string_view name) {
  for (const Member& member : kMembers) {
    if (member.name == name) return &member;
  }
  return nullptr;
}

MemberValue DefaultOf(const Member& member, ControlClass control_class) {
  const std::int32_t value = member.defaults[static_cast<std::size_t>(control_class)];
  switch (member.kind) {
    case MemberKind::kBoolean:
      return value != 0;
    case MemberKind::kLong:
    case MemberKind::kEnumeration:
    case MemberKind::kColour:
      return value;
    case MemberKind::kString:
    case MemberKind::kMethod:
      break;
  }
  return std::u16string();
}

MemberValue ReadMember(const BoardControl& control, const Member& member) {
  return AccessOf(member).read(control);
}

Refused WriteMember(BoardControl& control, const Member& member, const MemberValue& value) {
  return AccessOf(member).write(control, value);
}

MemberValue FromSaved(const Member& member, const PropertyValue& saved) {
  switch (member.kind) {
    case MemberKind::kBoolean:
      return ToTruth(saved);
    case MemberKind::kLong:
    case MemberKind::kEnumeration:
    case MemberKind::kColour: {
      const double number = ToNumber(saved);
      if (!(number >= member.low && number <= member.high) || number != std::floor(number)) {
        throw Failure(Failure::kInvalidArgument, "Invalid property value");
      }
      return static_cast<std::int32_t>(number);
    }
    case MemberKind::kString:
    case MemberKind::kMethod:
      break;
  }
  return ToText(saved);
}

PropertyValue ToSaved(const MemberValue& value) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return static_cast<double>(*number);
  if (const auto* truth = std::get_if<bool>(&value)) return *truth;
  return std::get<std::u16string>(value);
}

}  // namespace velmora
