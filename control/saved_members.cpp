#include <utility>
#include <vector>

#include "control/board_control.h"

// A control's saved members, walked from the member table in their saved order.
namespace velmora {
namespace {

// Marks the write a load makes, one level below the writes under way, as quiet while it runs.
class Applying {
 public:
  Applying(QuietWrite& quiet, const Member& member, int depth) : quiet_(quiet), was_(quiet) {
    quiet_ = {&member, depth + 1};
  }
  ~Applying() { quiet_ = was_; }
  Applying(const Applying&) = delete;
  Applying& operator=(const Applying&) = delete;

 private:
  QuietWrite& quiet_;
  const QuietWrite was_;
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
    const Applying applying(quiet_, member, write_depth_);
    WriteMember(*this, member, value);
  }
  for (const auto& [member, value] : later) {
    const Applying applying(quiet_, *member, write_depth_);
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
