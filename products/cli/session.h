#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "control/board_control.h"
#include "control/pointer_input.h"
#include "control/presenter.h"
#include "platform/headless/headless_forms.h"
#include "products/cli/accessible_text.h"
#include "products/cli/printing_host.h"
#include "products/cli/script.h"

namespace velmora::cli {

// What a script's control is shown on: its renders are whole pictures, so nothing is repainted;
// its clock is the script's, which `wait` moves on; announcements are printed as they happen:
// `announce "white pawn E2 to E4"`.
class ScriptScreen : public Screen {
 public:
  explicit ScriptScreen(std::ostream& out) : out_(out) {}

  void Repaint(const PixelBox&) override {}
  void WakeAt(std::optional<std::int64_t> ms) override { wake_ = ms; }
  void Announce(const Announcement& announcement) override;

  // Whether the presenter asked to be woken by `now`.
  bool Due(std::int64_t now) const { return wake_ && *wake_ <= now; }

 private:
  std::ostream& out_;
  std::optional<std::int64_t> wake_;
};

// One control instance on the headless platform with a printing host: what a script drives.
// Values, events, notices and message boxes go to `out`, one line each; errors and failures to
// `err`, naming the script line.
class Session {
 public:
  // `size`: the surface's pixels at 96 dots per inch (a board alone fills them).
  Session(std::ostream& out, std::ostream& err,
          ControlClass control_class = ControlClass::kUserControl1, PixelBox size = kDefaultSize);
  static constexpr PixelBox kDefaultSize{0, 0, 400, 400};

  // Pointer points are device pixels of the surface at 96 dots per inch; a drag starts past
  // this many.
  static constexpr int kDragDistance = 4;
  ~Session();

  // Runs a script. While a promotion prompt waits, the following lines are its pending input.
  // Stops at the first failing line unless `keep_going`. True when every line succeeded.
  bool Run(const std::vector<std::string>& lines, bool keep_going);

  // Runs one operation now; false when it failed (the reason is printed).
  bool Execute(const Operation& op);

  BoardControl& control() { return *control_; }
  HeadlessForms& forms() { return forms_; }
  PrintingHost& host() { return host_; }

 private:
  // The next script line that holds an operation, queued as pending input; false at the end.
  bool FeedPromptInput();
  // Parses the line at `next_` and moves past it; errors are reported here.
  std::optional<Operation> TakeLine();
  void Fail(const std::string& what);

  void Do(const SetOp& op);
  void Do(const GetOp& op);
  void Do(const ExpectOp& op);
  void Do(const ClickOp& op);
  void Do(const ChooseOp& op);
  void Do(const EventOp& op);
  void Do(const ReplyOp& op);
  void Do(const RefreshOp& op);
  void Do(const SaveOp& op);
  void Do(const LoadOp& op);
  void Do(const RenderOp& op);
  void Do(const BoardOp& op);
  void Do(const KeyOp& op);
  void Do(const AccessibleOp& op);
  void Do(const DragOp& op);
  void Do(const PointerOp& op);
  void Do(const RightOp& op);
  void Do(const WaitOp& op);
  void Do(const ResizeOp& op);
  void Do(const SpareOp& op);
  void Do(const CopyOp& op);
  void Do(const PasteOp& op);
  // The left button pressed at `from`, moved past the drag distance and released on a square's
  // middle, or off the board.
  void LeftDrag(const PointerPoint& from, std::optional<std::int16_t> to);
  // Starts what the last operation queued to slide: the clock has not moved since.
  void StartQueuedSlides() {
    if (screen_.Due(clock_)) presenter_.Tick(clock_);
  }
  // Pointer points are on the presenter's grid, at 96 dots per inch.
  const PixelGrid& grid() const { return presenter_.grid(); }
  // A later member on a UserControl1: reported as a failure; true when so.
  bool Absent(Property property);

  std::ostream& out_;
  std::ostream& err_;
  HeadlessForms forms_;
  PrintingHost host_;
  ScriptScreen screen_;
  std::shared_ptr<BoardControl> control_;
  PixelBox size_;
  Presenter presenter_;
  PointerInput pointer_;
  std::int64_t clock_ = 0;  // milliseconds, moved on by `wait`

  const std::vector<std::string>* lines_ = nullptr;
  std::size_t next_ = 0;
  int line_number_ = 0;  // of the operation running now; 0 outside a script
  bool keep_going_ = false;
  bool failed_ = false;
  bool stopped_ = false;
};

// The eight board rows, row 8 first: "8 rnbqkbnr".
std::vector<std::string> BoardRows(const Board& board);
// What `get` prints: `PutMove = "E2-E4"`, `Enabled = True`.
std::string FormatProperty(Property property, const BoardControl& control);

}  // namespace velmora::cli
