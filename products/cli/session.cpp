#include "products/cli/session.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <span>
#include <sstream>

#include "board/failure.h"
#include "platform/headless/memory_bag.h"
#include "platform/headless/png_renderer.h"
#include "products/cli/property_file.h"
#include "products/cli/text_codec.h"
#include "view/accessible_parts.h"
#include "view/announcement.h"

namespace velmora::cli {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(Failure::kPlatform, "Cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw Failure(Failure::kPlatform, "Cannot write " + path);
}

// A colour as "#rrggbb", quoted as a set line takes it.
std::string FormatValue(const Member& member, const MemberValue& value) {
  if (const auto* truth = std::get_if<bool>(&value)) return *truth ? "True" : "False";
  if (const auto* number = std::get_if<std::int32_t>(&value)) {
    if (member.kind != MemberKind::kColour) return std::to_string(*number);
    const Rgb rgb = RgbOfColour(*number);
    char text[10];
    std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", rgb.r, rgb.g, rgb.b);
    return text;
  }
  return Quote(std::get<std::u16string>(value));
}

std::string NameOf(Property property) {
  const std::u16string_view name = MemberOf(property).name;
  return {name.begin(), name.end()};
}

// The middle of a square's picture on the 96 dots per inch grid, where the board draws it now.
PointerPoint MiddleOf(const BoardControl& control, const PixelGrid& grid, std::int16_t square,
                      std::int16_t held) {
  const PixelBox box = *PartBox(control.surface(), grid, square);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, held};
}

constexpr std::int16_t kLeftHeld = 1;
// Ctrl+C and Ctrl+V as a keyboard gives them: the key, Ctrl, the control character.
constexpr KeyOp kCopyKey{0x43, 2, 3};
constexpr KeyOp kPasteKey{0x56, 2, 22};

}  // namespace

std::vector<std::string> BoardRows(const Board& board) {
  std::vector<std::string> rows;
  for (std::int16_t row = 8; row >= 1; --row) {
    std::string line(1, static_cast<char>('0' + row));
    line += ' ';
    line += ToUtf8(board.RowText(row));
    rows.push_back(std::move(line));
  }
  return rows;
}

std::string FormatProperty(Property property, const BoardControl& control) {
  const Member& member = MemberOf(property);
  return NameOf(property) + " = " + FormatValue(member, ReadMember(control, member));
}

Session::Session(std::ostream& out, std::ostream& err, ControlClass control_class, PixelBox size)
    : out_(out),
      err_(err),
      host_(out),
      screen_(out),
      control_(BoardControl::Create(forms_, host_, control_class)),
      size_(size),
      presenter_(*control_, screen_, size, 1) {
  pointer_.SetDragDistance(kDragDistance);
  forms_.Attach(control_);
  presenter_.Attach();
  // A script types at the control, so the control has the keyboard focus.
  control_->SurfaceFocus(true);
  forms_.SetMessageListener(
      [this](std::u16string_view text) { out_ << "message " << Quote(text) << '\n'; });
  forms_.SetRefill([this] { return FeedPromptInput(); });
}

Session::~Session() {
  forms_.SetRefill(nullptr);
  presenter_.Detach();
}

void ScriptScreen::Announce(const Announcement& announcement) {
  out_ << "announce " << Quote(AnnouncementWords(announcement)) << '\n';
}

void Session::Fail(const std::string& what) {
  failed_ = true;
  err_ << (line_number_ > 0 ? "line " + std::to_string(line_number_) + ": " : std::string()) << what
       << '\n';
  if (!keep_going_) stopped_ = true;
}

bool Session::Execute(const Operation& op) {
  const bool failed_before = failed_;
  try {
    std::visit([this](const auto& o) { Do(o); }, op);
    StartQueuedSlides();
  } catch (const Failure& failure) {
    Fail("failure " + std::to_string(failure.code()) + ": " + failure.what());
  }
  return failed_ == failed_before;
}

std::optional<Operation> Session::TakeLine() {
  const int number = static_cast<int>(next_) + 1;
  const ParsedLine parsed = ParseLine((*lines_)[next_++]);
  if (const auto* error = std::get_if<ParseError>(&parsed)) {
    line_number_ = number;
    Fail(error->what);
    return std::nullopt;
  }
  if (const auto* op = std::get_if<Operation>(&parsed)) {
    line_number_ = number;
    return *op;
  }
  return std::nullopt;
}

bool Session::Run(const std::vector<std::string>& lines, bool keep_going) {
  lines_ = &lines;
  next_ = 0;
  keep_going_ = keep_going;
  failed_ = false;
  stopped_ = false;
  while (!stopped_ && next_ < lines.size()) {
    if (const auto op = TakeLine()) Execute(*op);
  }
  lines_ = nullptr;
  line_number_ = 0;
  return !failed_;
}

bool Session::FeedPromptInput() {
  while (lines_ != nullptr && !stopped_ && next_ < lines_->size()) {
    const auto op = TakeLine();
    if (!op) continue;
    const int number = line_number_;
    forms_.Queue([this, op = *op, number](BoardControl&) {
      line_number_ = number;
      Execute(op);
    });
    return true;
  }
  return false;
}

void Session::Do(const SetOp& op) {
  if (const Refused refused = WriteMember(*control_, MemberOf(op.property), op.value)) {
    out_ << "refused " << ToUtf8(refused->reason) << '\n';
  }
}

bool Session::Absent(Property property) {
  if (HasMember(control_->control_class(), MemberOf(property))) return false;
  Fail("UserControl1 has no member " + NameOf(property));
  return true;
}

void Session::Do(const GetOp& op) {
  if (Absent(op.property)) return;
  out_ << FormatProperty(op.property, *control_) << '\n';
}

void Session::Do(const ExpectOp& op) {
  if (Absent(op.property)) return;
  const Member& member = MemberOf(op.property);
  const std::string have = FormatValue(member, ReadMember(*control_, member));
  const std::string want = FormatValue(member, op.value);
  if (have != want) Fail("expected " + NameOf(op.property) + " = " + want + ", but it is " + have);
}

void Session::Do(const ClickOp& op) {
  forms_.QueueSquareClick(op.square);
  forms_.RunPending();
}

void Session::Do(const ChooseOp& op) {
  forms_.QueueChoiceClick(op.choice);
  forms_.RunPending();
}

void Session::Do(const EventOp& op) {
  std::int16_t a = op.whole[0];
  std::int16_t b = op.whole[1];
  float x = op.point[0];
  float y = op.point[1];
  switch (op.id) {
    case EventId::kClick:
      return control_->SurfaceClick();
    case EventId::kDblClick:
      return control_->SurfaceDblClick();
    case EventId::kKeyDown:
      control_->SurfaceKeyDown(a, b);
      break;
    case EventId::kKeyUp:
      control_->SurfaceKeyUp(a, b);
      break;
    case EventId::kKeyPress:
      control_->SurfaceKeyPress(a);
      break;
    case EventId::kMouseDown:
      control_->SurfaceMouseDown(a, b, x, y);
      break;
    case EventId::kMouseMove:
      control_->SurfaceMouseMove(a, b, x, y);
      break;
    case EventId::kMouseUp:
      control_->SurfaceMouseUp(a, b, x, y);
      break;
    case EventId::kChange:
    case EventId::kBeforeMove:
    case EventId::kMarksChanged:
    case EventId::kAfterMove:
    case EventId::kPositionEdited:
      return;
  }
  // What the surface holds once the host had its say: the event's arguments are the first of
  // these.
  const std::array<EventArg, 4> all = {&a, &b, &x, &y};
  const auto args = std::span(all).first(EventArgumentNames(op.id).size());
  out_ << "after " << EventName(op.id) << ' ' << FormatArguments(op.id, args) << '\n';
}

void Session::Do(const DragOp& op) {
  LeftDrag(MiddleOf(*control_, grid(), op.from, kLeftHeld), op.to);
}

void Session::Do(const SpareOp& op) {
  // Only a board in edit mode draws the places: there is nowhere else to aim.
  if (!control_->EditMode())
    return Fail("the spare pieces stand beside the board in EditMode only");
  const PixelBox box = grid().BoxOf(ControlRef{ControlName::kSpare, op.place}, Rect{});
  const PointerPoint from{(box.left + box.right) / 2, (box.top + box.bottom) / 2, 0, kLeftHeld};
  if (op.drag) return LeftDrag(from, op.to);
  pointer_.Press(*control_, grid(), PointerButton::kLeft, false, from);
  pointer_.Release(*control_, grid(), PointerButton::kLeft, {from.x, from.y, 0, 0});
}

void Session::LeftDrag(const PointerPoint& from, std::optional<std::int16_t> target) {
  const PointerPoint to =
      target ? MiddleOf(*control_, grid(), *target, kLeftHeld) : PointerPoint{-1, -1, 0, 1};
  pointer_.Press(*control_, grid(), PointerButton::kLeft, false, from);
  pointer_.Move(*control_, grid(), {from.x + kDragDistance + 1, from.y, 0, kLeftHeld});
  pointer_.Move(*control_, grid(), to);
  pointer_.Release(*control_, grid(), PointerButton::kLeft, {to.x, to.y, 0, 0});
}

void Session::Do(const PointerOp& op) {
  switch (op.kind) {
    case PointerOp::Kind::kPress:
      pointer_.Press(*control_, grid(), PointerButton::kLeft, false, {op.x, op.y, 0, kLeftHeld});
      return;
    case PointerOp::Kind::kMove: {
      const std::int16_t held = pointer_.following_press() ? kLeftHeld : 0;
      pointer_.Move(*control_, grid(), {op.x, op.y, 0, held});
      return;
    }
    case PointerOp::Kind::kRelease:
      pointer_.Release(*control_, grid(), PointerButton::kLeft, {op.x, op.y, 0, 0});
      return;
  }
}

void Session::Do(const RightOp& op) {
  constexpr std::int16_t kRightHeld = 2;
  PointerPoint from = MiddleOf(*control_, grid(), op.from, kRightHeld);
  from.shift = op.shift;
  PointerPoint to =
      op.to ? MiddleOf(*control_, grid(), *op.to, kRightHeld) : PointerPoint{-1, -1, 0, 2};
  to.shift = op.shift;
  pointer_.Press(*control_, grid(), PointerButton::kRight, false, from);
  pointer_.Move(*control_, grid(), to);
  to.buttons_held = 0;
  pointer_.Release(*control_, grid(), PointerButton::kRight, to);
}

void Session::Do(const WaitOp& op) {
  clock_ += op.ms;
  presenter_.Tick(clock_);
}

void Session::Do(const ReplyOp& op) {
  host_.SetReply(op.argument, op.value);
}

void Session::Do(const RefreshOp&) {
  control_->Refresh();
}

void Session::Do(const SaveOp& op) {
  MemoryBag bag;
  control_->SaveProperties(bag);
  WriteFile(op.path, FormatPropertyFile(bag.values()));
}

void Session::Do(const LoadOp& op) {
  const auto parsed = ParsePropertyFile(ReadFile(op.path));
  if (const auto* error = std::get_if<PropertyFileError>(&parsed)) {
    Fail(op.path + ":" + std::to_string(error->line) + ": " + error->what + "; nothing loaded");
    return;
  }
  MemoryBag bag;
  for (const auto& [name, value] : std::get<NamedValues>(parsed)) bag.Set(name, value);
  control_->LoadProperties(bag);
}

void Session::Do(const ResizeOp& op) {
  size_ = {0, 0, op.width, op.height};
  presenter_.SetArea(size_, 1);
}

void Session::Do(const RenderOp& op) {
  const PixelBox scaled{0, 0, static_cast<int>(std::lround(size_.right * op.scale)),
                        static_cast<int>(std::lround(size_.bottom * op.scale))};
  PngRenderer renderer(ScaleOnArea(control_->surface(), scaled, op.scale));
  WritePng(renderer.Render(presenter_.Display()), op.path);
}

void Session::Do(const BoardOp&) {
  for (const std::string& row : BoardRows(control_->board())) out_ << row << '\n';
}

void Session::Do(const KeyOp& op) {
  // Three pending inputs, as a keyboard's messages arrive: a prompt opened by the key-down
  // finds the rest of the key still queued.
  forms_.Queue([op](BoardControl& control) {
    std::int16_t key_code = op.key_code, shift = op.shift;
    control.SurfaceKeyDown(key_code, shift);
  });
  if (op.key_ascii != 0) {
    forms_.Queue([op](BoardControl& control) {
      std::int16_t key_ascii = op.key_ascii;
      control.SurfaceKeyPress(key_ascii);
    });
  }
  forms_.Queue([op](BoardControl& control) {
    std::int16_t key_code = op.key_code, shift = op.shift;
    control.SurfaceKeyUp(key_code, shift);
  });
  forms_.RunPending();
}

void Session::Do(const CopyOp&) {
  const int copies = forms_.copies();
  Do(kCopyKey);
  if (forms_.copies() == copies) {
    out_ << "copied nothing\n";
  } else {
    out_ << "copied " << Quote(*forms_.clipboard()) << '\n';
  }
}

void Session::Do(const PasteOp& op) {
  forms_.SetClipboard(op.text);
  Do(kPasteKey);
}

void Session::Do(const AccessibleOp&) {
  for (const std::string& line : AccessibleLines(*control_)) out_ << line << '\n';
}

}  // namespace velmora::cli
