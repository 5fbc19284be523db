#pragma once

#include <array>
#include <cstdint>

#include "view/forms.h"
#include "view/layout.h"
#include "view/picture.h"

namespace velmora {

// The run-time state of the surface: what each square slot shows, which parts of the promotion
// prompt are visible, and whether the surface takes input. Everything else keeps its design
// value. Changes that are visible are reported to the one observer.
class Surface {
 public:
  Surface();

  void SetObserver(SurfaceObserver* observer) { observer_ = observer; }

  // Slot 0 is the hidden spare holder; 1 to 64 are the squares.
  Picture PictureOf(std::int16_t slot) const;
  // Assigning a picture that looks like the one the slot shows is still an assignment but no
  // visible change.
  void SetPicture(std::int16_t slot, Picture picture) {
    Picture& shown = slots_[CheckedSlot(slot)];
    const bool seen = !LookAlike(shown, picture);
    shown = picture;
    if (seen && slot != 0 && observer_) observer_->PictureChanged(slot);
  }

  // Frame1, Frame2 and Shape3 are the only controls whose visibility changes at run time.
  bool IsVisible(ControlName prompt_control) const;
  void SetVisible(ControlName prompt_control, bool visible);
  // Any control of the design: a choice is visible with its panel, the prompt controls as set,
  // everything else as designed.
  bool IsShown(const ControlSpec& spec) const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Text3's text changed: the move display shows something else now.
  void MoveDisplayChanged();

 private:
  static std::size_t CheckedSlot(std::int16_t slot);
  // The visibility flag of a prompt control; nullptr for any other control.
  template <typename Self>
  static auto PromptFlag(Self& self, ControlName control) -> decltype(&self.frame1_) {
    switch (control) {
      case ControlName::kFrame1:
        return &self.frame1_;
      case ControlName::kFrame2:
        return &self.frame2_;
      case ControlName::kShape3:
        return &self.shape3_;
      default:
        return nullptr;
    }
  }

  std::array<Picture, 65> slots_{};
  bool frame1_ = false;
  bool frame2_ = false;
  bool shape3_ = false;
  bool enabled_ = true;
  SurfaceObserver* observer_ = nullptr;
};

}  // namespace velmora
