#include <utility>
#include <vector>

#include "control/board_control.h"

// A control's saved members, walked from the member table in their saved order.
namespace velmora {
namespace {

// Marks the member a load applies, so its write sends no property-changed notice.
class Applying {
 public:
  Applying(const Member*& loading, const Member& member) : loading_(loading) { loading_ = &member; }
  ~Applying() { loading_ = nullptr; }
  Applying(const Applying&) = delete;
  Applying& operator=(const Applying&) = delete;

 private:
  const Member*& loading_;
};

}  // namespace

void BoardControl::LoadProperties(PropertyBag& bag) {
  const auto self = shared_from_this();
  std::vector<std::pair<const Member*, MemberValue>> later;
  for (const Member& member : kMembers) {
    if (member.saved == 0 || !HasMember(control_class_, member)) continue;
    const PropertyValue fallback = ToSaved(DefaultOf(member, control_class_));
    MemberValue value = FromSaved(member, bag.Read(member.name, fallback));
    if (member.chess_board_only) {
      later.emplace_back(&member, std::move(value));
      continue;
    }
    const Applying applying(loading_, member);
    WriteMember(*this, member, value);
  }
  for (const auto& [member, value] : later) {
    const Applying applying(loading_, *member);
    WriteMember(*this, *member, value);
  }
}

void BoardControl::SaveProperties(PropertyBag& bag) {
  const auto self = shared_from_this();
  for (const Member& member : kMembers) {
    if (member.saved == 0 || !HasMember(control_class_, member)) continue;
    bag.Write(member.name, ToSaved(ReadMember(*this, member)),
              ToSaved(DefaultOf(member, control_class_)));
  }
}

}  // namespace velmora
