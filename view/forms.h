#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "view/layout.h"

namespace velmora {

struct Announcement;

// How a clipboard call went: done; refused, as another program holds the clipboard open; or
// failed otherwise (out of memory, say).
enum class ClipboardResult : std::uint8_t { kDone, kBusy, kFailed };

// What a paste read: the clipboard's text (none when it holds no text), or why it read nothing.
struct ClipboardText {
  ClipboardResult result = ClipboardResult::kDone;
  std::optional<std::u16string> text;
};

// What the core asks of the platform's forms layer. Any call may throw Failure.
class FormsPort {
 public:
  virtual ~FormsPort() = default;

  // Modal box with the text alone and one OK button; returns when the person closes it.
  virtual void ShowMessage(std::u16string_view text) = 0;
  // Delivers the user-interface events pending now, then returns. True when the control is
  // closing (the window is going away or the application quits): a wait must end.
  virtual bool ProcessPendingEvents() = 0;
  // Repaints the whole surface at once from what its controls show now.
  virtual void Repaint() = 0;
  // The text clipboard the person copies to and pastes from; a platform without one copies
  // nothing and pastes nothing.
  virtual ClipboardResult CopyText(std::u16string_view text) {
    (void)text;
    return ClipboardResult::kFailed;
  }
  virtual ClipboardText PastedText() { return {}; }
};

// Told of every visible change of the surface, so a screen repaints exactly that, and of every
// change assistive technology hears about (parts numbered as in view/accessible_parts.h).
class SurfaceObserver {
 public:
  virtual ~SurfaceObserver() = default;

  virtual void PictureChanged(std::int16_t square) = 0;     // a square's picture, 1 to 64
  virtual void MoveDisplayChanged() = 0;                    // the move display's text
  virtual void VisibilityChanged(ControlName control) = 0;  // a panel or the backdrop
  virtual void EnabledChanged() = 0;
  // A square's legal-destination mark came or went. The mark lies inside the square's picture,
  // so a screen that repaints the picture shows it.
  virtual void DestinationMarkChanged(std::int16_t square) { PictureChanged(square); }
  // A square's last-move tint or check glow came or went. Both lie inside the square's picture
  // too.
  virtual void HighlightChanged(std::int16_t square) { PictureChanged(square); }
  // The board was turned, or its colours or coordinates changed: every square and coordinate
  // label looks different.
  virtual void BoardTurned() {}
  // The promotion chooser came or went: it dims the whole board.
  virtual void ChooserChanged() { BoardTurned(); }

  // The dragged piece appeared, moved or went.
  virtual void DragChanged() {}
  // A mark came or went: a circle on one square (`from` == `to`) or an arrow between two. It
  // may cover every square of the rectangle the two squares span; an observer that knows no
  // better repaints all of their pictures.
  virtual void MarkChanged(std::int16_t from, std::int16_t to);
  // A sliding piece (see Surface::Sliding) appeared, moved or landed.
  virtual void SlideChanged(std::size_t slot) { (void)slot; }
  // Slides wait for the next Advance of the control's clock. True when the observer will
  // advance it (a front end with a clock); otherwise nothing would, and they land at once.
  virtual bool SlidesQueued() { return false; }
  // The keyboard focus moved, was gained or lost, or its mark was shown or hidden.
  virtual void FocusMoved() {}
  // A pick started or ended: the selected square is another now.
  virtual void SelectionChanged() {}
  // What part `part` is called changed.
  virtual void NameChanged(std::int16_t part) { (void)part; }
  // Part `part`, a button, was pressed or released (a spare place armed or disarmed).
  virtual void PressedChanged(std::int16_t part) { (void)part; }
  // The control completed a move, or loaded a position; reported once, as it happens.
  virtual void Announce(const Announcement& announcement) { (void)announcement; }
};

}  // namespace velmora
