#include <algorithm>

#include "control/board_control.h"
#include "view/announcement.h"

// The host's marks and the person's, which the right button draws.
namespace velmora {
namespace {

Announcement AnnounceMark(Announcement::Kind kind, const SquareMark& mark) {
  Announcement a;
  a.kind = kind;
  a.from = mark.from;
  a.to = mark.to.value_or(mark.from);
  a.colour = mark.colour;
  return a;
}

}  // namespace

// The host's marks, then the person's; a person's mark on a host mark's squares shows in its
// place.
void BoardControl::ShowMarks() {
  std::vector<SquareMark> both = settings_.marks;
  both.insert(both.end(), settings_.user_marks.begin(), settings_.user_marks.end());
  surface_.SetMarks(settings_.user_marks.empty() ? std::move(both) : DistinctMarks(both));
}

void BoardControl::DrawUserMark(const SquareMark& mark) {
  const auto self = shared_from_this();
  if (!capabilities_.user_marks || !surface_.Enabled()) return;
  auto& marks = settings_.user_marks;
  const auto same = std::find_if(marks.begin(), marks.end(),
                                 [&](const SquareMark& m) { return SameSquares(m, mark); });
  Announcement::Kind kind = Announcement::Kind::kMarked;
  if (same == marks.end()) {
    marks.push_back(mark);
  } else if (same->colour == mark.colour) {
    marks.erase(same);
    kind = Announcement::Kind::kUnmarked;
  } else {
    same->colour = mark.colour;
  }
  ShowMarks();
  surface_.Announce(AnnounceMark(kind, mark));
  Forward(EventId::kMarksChanged, {});
}

void BoardControl::ClearUserMarks() {
  const auto self = shared_from_this();
  if (!capabilities_.user_marks || !surface_.Enabled() || settings_.user_marks.empty()) return;
  settings_.user_marks.clear();
  ShowMarks();
  Announcement cleared;
  cleared.kind = Announcement::Kind::kMarksCleared;
  surface_.Announce(cleared);
  Forward(EventId::kMarksChanged, {});
}

}  // namespace velmora
