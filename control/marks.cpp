#include <algorithm>

#include "control/board_control.h"
#include "view/announcement.h"

// The host's marks and the person's, which the right button draws.
namespace velmora {
namespace {

bool SameSquares(const SquareMark& a, const SquareMark& b) {
  return a.from == b.from && a.to == b.to;
}

Announcement AnnounceMark(Announcement::Kind kind, const SquareMark& mark) {
  Announcement a;
  a.kind = kind;
  a.from = mark.from;
  a.to = mark.to.value_or(mark.from);
  a.colour = mark.colour;
  return a;
}

}  // namespace

void BoardControl::ShowMarks() {
  std::vector<SquareMark> shown = settings_.marks;
  shown.insert(shown.end(), settings_.user_marks.begin(), settings_.user_marks.end());
  surface_.SetMarks(std::move(shown));
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
