#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "control/board_control.h"
#include "fuzz/byte_reader.h"
#include "fuzz/invariants.h"
#include "platform/headless/headless_forms.h"
#include "platform/headless/memory_bag.h"

namespace velmora::fuzz {

enum class Property : std::uint8_t { kPutPosition, kPutMove, kGetMove };

// What the host does from inside an event handler: nothing, write a property, or let go of its
// last reference to the control.
struct Reaction {
  enum class Kind : std::uint8_t { kNothing, kWrite, kRelease };
  Kind kind = Kind::kNothing;
  Property property = Property::kPutMove;
  std::u16string text;
};

// The host's side of the ports: every event goes to one handler, notices are counted.
class CallbackHost : public HostPort {
 public:
  using Handler = std::function<void(EventId, std::span<const EventArg>)>;

  explicit CallbackHost(Handler handler) : handler_(std::move(handler)) {}

  void RaiseEvent(EventId id, std::span<const EventArg> args) override { handler_(id, args); }
  void PropertyChanged(std::u16string_view) override { ++notices_; }

  int notices() const { return notices_; }

 private:
  Handler handler_;
  int notices_ = 0;
};

// Tells of every visible change; a change of anything but a square or a prompt part is a fault.
class CheckingObserver : public SurfaceObserver {
 public:
  void PictureChanged(std::int16_t square) override;
  void MoveDisplayChanged() override {}
  void VisibilityChanged(ControlName control) override;
  void EnabledChanged() override {}
};

// One control on the headless platform, driven by decoded operations as a host and a person
// would drive it, with every operation's outcome checked against what the control promises.
class ControlHarness {
 public:
  ControlHarness();
  ~ControlHarness();
  ControlHarness(const ControlHarness&) = delete;
  ControlHarness& operator=(const ControlHarness&) = delete;

  // Runs operations until the input is used up.
  void Run(ByteReader& in);

 private:
  // A property write in progress; a host move is checked when its Change arrives.
  struct WriteInProgress {
    std::optional<std::u16string> expected_position;
    std::u16string text;
    Snapshot before;
  };

  void Step(ByteReader& in);

  // Operations; each checks its own outcome and the invariants.
  void Write(Property property, std::u16string text);
  void ReadProperties();
  void ClickSquare(std::int16_t n);
  void ClickChoice(std::int16_t k);
  void SurfaceEvent(ByteReader& in);
  void SetEnabled(bool enabled);
  void Refresh();
  void SaveAndLoad(ByteReader& in);
  void Load(MemoryBag& bag);
  void QueueInput(ByteReader& in);
  void ScriptReaction(ByteReader& in);

  void CheckWriteOutcome(Property property, const std::u16string& text, const Snapshot& before,
                         int changes_before, std::size_t messages_before, int reactions_before);
  // True when the click ended with a full repaint (a promotion or a castling).
  bool CheckDestinationOutcome(const Snapshot& before, std::int16_t n, bool undisturbed);

  // The host's side.
  void OnEvent(EventId id, std::span<const EventArg> args);
  void CheckPendingHostMove();
  void React();

  void CreateControl();
  bool Alive() const { return !watch_.expired(); }
  BoardControl& Live() { return *live_; }
  std::array<std::u16string, 3> HeldTexts();
  void CheckAll();
  void AllSquaresMatch(const char* what);
  int Changes() const { return raised_[static_cast<std::size_t>(EventId::kChange)]; }

  HeadlessForms forms_;
  CallbackHost host_{[this](EventId id, std::span<const EventArg> args) { OnEvent(id, args); }};
  CheckingObserver observer_;
  std::shared_ptr<BoardControl> control_;  // the host's reference
  std::weak_ptr<BoardControl> watch_;
  BoardControl* live_ = nullptr;  // valid while control_ is held or a member of it runs
  SquareSet may_differ_;
  // What the key being pressed may leave unlike its cell if it clicks (see SurfaceEvent).
  SquareSet key_click_squares_;
  std::deque<Reaction> reactions_;
  int reactions_used_ = 0;
  int disturbances_ = 0;  // queued inputs run that may change the control
  int depth_ = 0;
  std::vector<WriteInProgress> writes_;
  std::optional<std::int16_t> arg_override_;
  // Events raised, by number.
  std::array<int, static_cast<std::size_t>(EventId::kMarksChanged) + 1> raised_{};
  // The longest text handed to the control; no cell may ever hold more (32 covers a number
  // or truth value written out as text).
  std::size_t longest_given_ = 32;
};

}  // namespace velmora::fuzz
