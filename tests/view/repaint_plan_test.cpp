#include "view/repaint_plan.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

using N = ControlName;

std::vector<PixelBox> BoxesFor(RepaintPlan& plan, const Surface& surface,
                               const SurfaceReport& report, double scale = 1) {
  const RepaintBoxes boxes = plan.For(PixelGrid(DeviceScale::Times(scale)), surface, report);
  return {boxes.begin(), boxes.end()};
}

PixelBox BoxOf(ControlRef ref, double scale = 1) {
  return PixelGrid(DeviceScale::Times(scale)).BoxOf(*FindControl(ref));
}

TEST(RepaintPlan, EachReportRepaintsTheControlThatShowsIt) {
  struct Case {
    SurfaceReport report;
    std::vector<ControlRef> shown_by;
  };
  const Case cases[] = {
      {SurfaceReport::Picture(13), {{N::kSquarePicture, 13}}},
      {SurfaceReport::Picture(64), {{N::kSquarePicture, 64}}},
      {SurfaceReport::MoveDisplay(), {{N::kMoveDisplay}}},
      {SurfaceReport::Visibility(N::kBlackPanel), {{N::kBlackPanel}}},
      {SurfaceReport::Visibility(N::kPromptBackdrop), {{N::kPromptBackdrop}}},
      {SurfaceReport::Enabled(), {}},
  };
  for (const double scale : {1.0, 1.5, 2.0}) {
    for (const Case& c : cases) {
      RepaintPlan plan;
      std::vector<PixelBox> expected;
      for (const ControlRef ref : c.shown_by) expected.push_back(BoxOf(ref, scale));
      EXPECT_EQ(BoxesFor(plan, Surface(), c.report, scale), expected)
          << static_cast<int>(c.report.kind) << " at " << scale;
    }
  }
}

TEST(RepaintPlan, TheFocusMarkRepaintsWhereItWasAndWhereItIsOnlyWhenItMoves) {
  RepaintPlan plan;
  Surface surface;
  EXPECT_TRUE(BoxesFor(plan, surface, SurfaceReport::Focus()).empty()) << "no mark yet";
  surface.SetFocusMark(1);
  EXPECT_EQ(BoxesFor(plan, surface, SurfaceReport::Focus()),
            (std::vector<PixelBox>{BoxOf({N::kSquarePicture, 1})}));
  EXPECT_TRUE(BoxesFor(plan, surface, SurfaceReport::Focus()).empty()) << "it did not move";
  surface.SetFocusMark(9);
  EXPECT_EQ(BoxesFor(plan, surface, SurfaceReport::Focus()),
            (std::vector<PixelBox>{BoxOf({N::kSquarePicture, 1}), BoxOf({N::kSquarePicture, 9})}));
  surface.SetFocusMark(0);
  EXPECT_EQ(BoxesFor(plan, surface, SurfaceReport::Focus()),
            (std::vector<PixelBox>{BoxOf({N::kSquarePicture, 9})}));
}

}  // namespace
}  // namespace velmora
