#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "view/forms.h"

namespace velmora {

class BoardControl;

// The forms layer without a screen. Message boxes are recorded and return at once; pending
// input is a queue that ProcessPendingEvents delivers one item at a time. When the queue is
// empty it asks the refill hook for more (the command-line host feeds its next script lines
// this way) and reports closing when there is none, so a waiting prompt can never hang.
class HeadlessForms : public FormsPort {
 public:
  // One pending input: a click, a surface event or a host call, run on the control.
  using Input = std::function<void(BoardControl&)>;

  void Attach(const std::shared_ptr<BoardControl>& control) { control_ = control; }

  void Queue(Input input) { pending_.push_back(Input(std::move(input))); }
  void QueueSquareClick(std::int16_t n);
  void QueueChoiceClick(std::int16_t k);
  // The control is being closed: the next ProcessPendingEvents that reaches it says so.
  void QueueClose() { pending_.push_back(nullptr); }
  // Runs every queued input now, as a message loop would between host calls.
  void RunPending();

  // Called with an empty queue; returns false when no more input will come.
  void SetRefill(std::function<bool()> refill) { refill_ = std::move(refill); }

  // Called after each message is recorded (the command-line host prints it).
  void SetMessageListener(std::function<void(std::u16string_view)> listener) {
    message_listener_ = std::move(listener);
  }

  void ShowMessage(std::u16string_view text) override;
  bool ProcessPendingEvents() override;
  void Repaint() override { ++repaints_; }
  // A clipboard of one text, as a desktop's: a copy replaces it, a paste reads it and leaves it.
  // While another program holds it open, a copy and a paste are refused as busy.
  ClipboardResult CopyText(std::u16string_view text) override {
    if (clipboard_busy_) return ClipboardResult::kBusy;
    clipboard_ = std::u16string(text);
    ++copies_;
    return ClipboardResult::kDone;
  }
  ClipboardText PastedText() override {
    if (clipboard_busy_) return {ClipboardResult::kBusy, std::nullopt};
    return {ClipboardResult::kDone, clipboard_};
  }
  // What a person copied elsewhere: the next paste reads it.
  void SetClipboard(std::u16string text) { clipboard_ = std::move(text); }
  // Another program holds the clipboard open (true) or lets it go.
  void SetClipboardBusy(bool busy) { clipboard_busy_ = busy; }

  const std::vector<std::u16string>& messages() const { return messages_; }
  int repaints() const { return repaints_; }
  int pumps() const { return pumps_; }
  const std::optional<std::u16string>& clipboard() const { return clipboard_; }
  // How many times the control copied a text.
  int copies() const { return copies_; }

 private:
  std::weak_ptr<BoardControl> control_;
  std::deque<Input> pending_;
  std::function<bool()> refill_;
  std::function<void(std::u16string_view)> message_listener_;
  std::vector<std::u16string> messages_;
  int repaints_ = 0;
  int pumps_ = 0;
  std::optional<std::u16string> clipboard_;
  bool clipboard_busy_ = false;
  int copies_ = 0;
};

}  // namespace velmora
