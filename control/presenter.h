#pragma once

#include <cstdint>
#include <optional>

#include "control/board_control.h"
#include "view/display_list.h"
#include "view/forms.h"
#include "view/pixel_grid.h"
#include "view/repaint_plan.h"

namespace velmora {

// What a presenter asks of the front end it shows a control on: to repaint a box, and to be
// woken at a time on the front end's own clock. What assistive technology hears of reaches it
// too, each after the repaint it causes; a front end that tells nobody leaves them alone.
class Screen {
 public:
  virtual ~Screen() = default;

  // The device box shows something else now: paint it again (the presenter's display list).
  virtual void Repaint(const PixelBox& box) = 0;
  // Call the presenter's Tick at `ms` (or as soon as may be, when that has passed); none: no
  // wake-up is wanted any more.
  virtual void WakeAt(std::optional<std::int64_t> ms) = 0;

  // The move display's text changed.
  virtual void MoveDisplayChanged() {}
  // The promotion choices were shown (true) or hidden, on the prompt's panel or the chooser.
  virtual void ChoicesShown(bool) {}
  // The control was enabled or disabled; told before the repaint, so the front end's own
  // enabled state follows first.
  virtual void EnabledChanged() {}
  // Another part (never 0) has the keyboard focus now.
  virtual void PartFocused(std::int16_t) {}
  // The selected square went from the first to the second (0 for none); told of every pick
  // that starts or ends, even onto the same square.
  virtual void SelectionMoved(std::int16_t, std::int16_t) {}
  // What a part is called changed.
  virtual void NameChanged(std::int16_t) {}
  // A button part was pressed or released.
  virtual void PressedChanged(std::int16_t) {}
  virtual void Announce(const Announcement&) {}
};

// The one way a control's surface reaches a front end: the control's observer while attached,
// it turns every reported change into the boxes on the pixel grid that show it and asks the
// screen to repaint those, builds the display list a paint draws, and runs the animation
// clock: each Tick advances the control and asks to be woken when it next wants a frame.
class Presenter : public SurfaceObserver {
 public:
  // `area`: the front end's device pixels; `factor`: its dots per inch over 96.
  Presenter(BoardControl& control, Screen& screen, const PixelBox& area, double factor)
      : control_(control),
        screen_(screen),
        area_(area),
        factor_(factor),
        grid_(ScaleOnArea(control.surface(), area, factor)) {}
  // On a scale that stays as given whatever the surface's look (a picture's, say).
  Presenter(BoardControl& control, Screen& screen, const DeviceScale& scale)
      : control_(control), screen_(screen), grid_(scale) {}
  ~Presenter() override { Detach(); }
  Presenter(const Presenter&) = delete;
  Presenter& operator=(const Presenter&) = delete;

  // Becomes the control's observer, and asks to be woken for slides already on their way (a
  // window made again, say); until Detach, or the presenter goes, which lands them: nothing
  // would move them on.
  void Attach();
  void Detach();

  const PixelGrid& grid() const { return grid_; }
  // The front end's area or dots per inch changed: the grid follows (a board alone fills the
  // area anew); false when the grid stays as it was.
  bool SetArea(const PixelBox& area, double factor);

  // The surface as it looks now, for a canvas to paint.
  DisplayList Display() const { return DisplayOf(control_); }
  // The same for a control drawn where no presenter shows it (a container's own device).
  static DisplayList DisplayOf(const BoardControl& control);

  // It is `now_ms` on the front end's clock (the time it was woken for, or later).
  void Tick(std::int64_t now_ms);

  void PictureChanged(std::int16_t square) override { Repaint(SurfaceReport::Picture(square)); }
  void MoveDisplayChanged() override;
  void VisibilityChanged(ControlName control) override;
  void EnabledChanged() override;
  void BoardTurned() override;
  void ChooserChanged() override;
  void DragChanged() override { Repaint(SurfaceReport::Drag()); }
  void MarkChanged(std::int16_t from, std::int16_t to) override {
    Repaint(SurfaceReport::Mark(from, to));
  }
  void SlideChanged(std::size_t slot) override { Repaint(SurfaceReport::Slide(slot)); }
  bool SlidesQueued() override {
    screen_.WakeAt(control_.NextTickAt());
    return true;
  }
  void FocusMoved() override;
  void SelectionChanged() override;
  void NameChanged(std::int16_t part) override { screen_.NameChanged(part); }
  void PressedChanged(std::int16_t part) override { screen_.PressedChanged(part); }
  void Announce(const Announcement& announcement) override { screen_.Announce(announcement); }

 private:
  void Repaint(const SurfaceReport& report);

  BoardControl& control_;
  Screen& screen_;
  std::optional<PixelBox> area_;  // none on a fixed scale
  double factor_ = 1;
  PixelGrid grid_;
  RepaintPlan plan_;
  bool attached_ = false;
  std::int16_t focused_ = 0;   // the part last told as focused; 0 for none
  std::int16_t selected_ = 0;  // the square last told as selected
};

}  // namespace velmora
