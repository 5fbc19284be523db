#include "view/hit_test.h"

#include <optional>

#include "view/spare_pieces.h"

namespace velmora {
namespace {

// A control covers [left, left + width) x [top, top + height) where it is drawn now: a point on
// the right or bottom edge belongs to the neighbour, so squares that share an edge never both
// claim a point.
bool Covers(const Surface& surface, const ControlSpec& spec, Point at) {
  const Rect r = PlacedRect(surface, spec);
  return at.x >= r.left && at.x < r.left + r.width && at.y >= r.top && at.y < r.top + r.height;
}

// What a shown control under the point makes of a press; none when the press goes through it
// (shapes and disabled text boxes take no mouse input).
std::optional<Hit> Claim(const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::kShape:
      return std::nullopt;
    case ControlKind::kTextBox:
      if (!spec.enabled) return std::nullopt;
      return Hit{Hit::Kind::kSwallowed};
    case ControlKind::kImage:
      if (spec.ref.name == ControlName::kSquarePicture)
        return Hit{Hit::Kind::kSquare, spec.ref.index};
      if (spec.ref.name == ControlName::kChoice) return Hit{Hit::Kind::kChoice, spec.ref.index};
      return Hit{Hit::Kind::kSwallowed};
    case ControlKind::kLabel:
    case ControlKind::kPanel:
      return Hit{Hit::Kind::kSwallowed};
  }
  return std::nullopt;
}

// The top-most shown part that `covers` the point and claims it.
template <typename Covers>
Hit TopmostClaim(const Surface& surface, Covers covers) {
  if (const std::int16_t chooser = surface.Chooser(); chooser != 0) {
    for (std::int16_t i = 0; i < kChooserChoices; ++i) {
      if (covers(*FindControl({ControlName::kSquarePicture, ChooserSquare(chooser, i)}))) {
        return Hit{Hit::Kind::kChoice, static_cast<std::int16_t>(ChooserFirstChoice(chooser) + i)};
      }
    }
  }
  // Reverse iterators rather than a reversed view: clang 14 cannot compile that view over the
  // standard library's span.
  const auto layout = DesignLayout();
  for (auto spec = layout.rbegin(); spec != layout.rend(); ++spec) {
    if (!surface.IsShown(*spec) || !covers(*spec)) continue;
    if (const auto hit = Claim(*spec)) return *hit;
  }
  return Hit{Hit::Kind::kSurface};
}

}  // namespace

Hit HitTest(const Surface& surface, Point at) {
  return TopmostClaim(
      surface, [&surface, at](const ControlSpec& spec) { return Covers(surface, spec, at); });
}

Hit HitTest(const Surface& surface, const PixelGrid& grid, int px, int py) {
  if (surface.EditMode()) {
    for (std::int16_t place = 0; place < kSparePlaces; ++place) {
      if (grid.BoxOf({ControlName::kSpare, place}, kSpareCell).Contains(px, py)) {
        return Hit{Hit::Kind::kSpare, place};
      }
    }
  }
  return TopmostClaim(surface, [&surface, &grid, px, py](const ControlSpec& spec) {
    return grid.BoxOf(spec.ref, PlacedRect(surface, spec)).Contains(px, py);
  });
}

}  // namespace velmora
