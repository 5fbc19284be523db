#include "control/user_control.h"

#include <cmath>

#include "board/failure.h"
#include "board/fen.h"
#include "board/move_list.h"
#include "board/move_text.h"
#include "board/position_text.h"
#include "view/accessible_parts.h"
#include "view/announcement.h"
#include "view/draw_board.h"

namespace velmora {
namespace {

constexpr std::u16string_view kEnabledKey = u"Enabled";
constexpr std::u16string_view kGetMoveKey = u"GetMove";
constexpr std::u16string_view kPutMoveKey = u"PutMove";
constexpr std::u16string_view kPutPositionKey = u"PutPosition";
constexpr std::u16string_view kDragEnabledKey = u"DragEnabled";
constexpr std::u16string_view kLegalMovesKey = u"LegalMoves";
constexpr std::u16string_view kShowLegalMovesKey = u"ShowLegalMoves";
constexpr std::u16string_view kOrientationKey = u"Orientation";
constexpr std::u16string_view kLastMoveKey = u"LastMove";
constexpr std::u16string_view kShowLastMoveKey = u"ShowLastMove";
constexpr std::u16string_view kCheckSquareKey = u"CheckSquare";
constexpr std::u16string_view kMarksKey = u"Marks";
constexpr std::u16string_view kUserMarksKey = u"UserMarks";
constexpr std::u16string_view kAnimationTimeKey = u"AnimationTime";
constexpr std::u16string_view kFenKey = u"Fen";

constexpr std::int32_t kLastOrientation = 1;

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}
constexpr std::int32_t kLongestAnimation = 2000;

BoardSettings DefaultSettings(const Flavour& flavour) {
  BoardSettings settings;
  settings.drag_enabled = flavour.drag_enabled;
  settings.show_legal_moves = flavour.show_legal_moves;
  settings.orientation = flavour.orientation;
  settings.show_last_move = flavour.show_last_move;
  settings.animation_time = flavour.animation_time;
  return settings;
}

// A whole number within a range, as a saved value; anything else fails the load.
std::int32_t ToWholeNumber(const PropertyValue& value, std::int32_t low, std::int32_t high) {
  const double number = ToNumber(value);
  if (!(number >= low && number <= high) || number != std::floor(number)) {
    throw Failure(Failure::kInvalidArgument, "Invalid property value");
  }
  return static_cast<std::int32_t>(number);
}

Parsed<std::optional<MoveText>> ParseLastMove(std::u16string_view text) {
  if (text.empty()) return std::optional<MoveText>();
  if (const auto move = ParseMoveTextToken(text)) return std::optional<MoveText>(*move);
  return Refusal{Quoted(text) + u" is not a move text such as E2-E4"};
}

Parsed<std::optional<Square>> ParseCheckSquare(std::u16string_view text) {
  if (text.empty()) return std::optional<Square>();
  if (text.size() == 2) {
    if (const auto square = ParseSquareAnyCase(text[0], text[1])) {
      return std::optional<Square>(*square);
    }
  }
  return Refusal{Quoted(text) + u" is not a square name such as E1"};
}

}  // namespace

std::shared_ptr<UserControl1> UserControl1::Create(FormsPort& forms, HostPort& host,
                                                   ControlClass control_class) {
  // Ports that outlive the control need no owner: empty owners, the same pointers.
  return Create(std::shared_ptr<FormsPort>(std::shared_ptr<void>(), &forms),
                std::shared_ptr<HostPort>(std::shared_ptr<void>(), &host), control_class);
}

std::shared_ptr<UserControl1> UserControl1::Create(std::shared_ptr<FormsPort> forms,
                                                   std::shared_ptr<HostPort> host,
                                                   ControlClass control_class) {
  std::shared_ptr<UserControl1> control(
      new UserControl1(std::move(forms), std::move(host), FlavourOf(control_class)));
  control->InitControl();
  return control;
}

std::shared_ptr<UserControl1> UserControl1::Create(FormsPort& forms, HostPort& host) {
  return Create(forms, host, ControlClass::kUserControl1);
}

std::shared_ptr<UserControl1> UserControl1::Create(std::shared_ptr<FormsPort> forms,
                                                   std::shared_ptr<HostPort> host) {
  return Create(std::move(forms), std::move(host), ControlClass::kUserControl1);
}

UserControl1::UserControl1(std::shared_ptr<FormsPort> forms, std::shared_ptr<HostPort> host,
                           const Flavour& flavour)
    : flavour_(flavour),
      settings_(DefaultSettings(flavour)),
      forms_(std::move(forms)),
      host_(std::move(host)),
      focus_(surface_),
      entry_(board_, surface_, focus_, host_move_cell_, move_display_cell_, *forms_),
      keys_(surface_, entry_, focus_) {
  position_cell_.Bind([this] { OnPositionText(); });
  host_move_cell_.Bind([this] { OnHostMove(); });
  move_display_cell_.Bind([this] { OnGetMove(); });
  if (flavour_.later_members) {
    entry_.SetVeto([this](Square from, Square to, char16_t promotion) {
      return AllowsMove(from, to, promotion);
    });
  }
}

bool UserControl1::AllowsMove(Square from, Square to, char16_t promotion) {
  const std::u16string FromSquare = SquareName(from);
  const std::u16string ToSquare = SquareName(to);
  const std::u16string Promotion = promotion != 0 ? std::u16string(1, promotion) : u"";
  bool Cancel = false;
  Forward(EventId::kBeforeMove, {&FromSquare, &ToSquare, &Promotion, &Cancel});
  return !Cancel;
}

void UserControl1::InitControl() {
  const auto self = shared_from_this();
  entry_.Reset();
  entry_.ShowDestinations(settings_.show_legal_moves);
  ResetBoard(board_);
}

bool UserControl1::Enabled() const {
  return surface_.Enabled();
}

void UserControl1::Enabled(bool New_Enabled) {
  const auto self = shared_from_this();
  surface_.SetEnabled(New_Enabled);
  host_->PropertyChanged(kEnabledKey);
}

std::u16string UserControl1::GetMove() const {
  return move_display_cell_.Text();
}
std::u16string UserControl1::PutMove() const {
  return host_move_cell_.Text();
}
std::u16string UserControl1::PutPosition() const {
  return position_cell_.Text();
}

void UserControl1::GetMove(std::u16string New_GetMove) {
  WriteCell(move_display_cell_, New_GetMove, kGetMoveKey);
}
void UserControl1::PutMove(std::u16string New_PutMove) {
  WriteCell(host_move_cell_, New_PutMove, kPutMoveKey);
}
void UserControl1::PutPosition(std::u16string New_PutPosition) {
  WriteCell(position_cell_, New_PutPosition, kPutPositionKey);
}

void UserControl1::WriteCell(TextCell& cell, std::u16string_view text,
                             std::u16string_view property) {
  const auto self = shared_from_this();
  cell.Set(text);
  host_->PropertyChanged(property);
}

Refused UserControl1::Gate(std::u16string_view property) const {
  if (flavour_.later_members) return std::nullopt;
  return Refusal{u"UserControl1 has no member " + std::u16string(property)};
}

template <typename Store>
Refused UserControl1::Set(std::u16string_view property, Store store) {
  const auto self = shared_from_this();
  if (auto refused = Gate(property)) return refused;
  store();
  host_->PropertyChanged(property);
  return std::nullopt;
}

template <typename T, typename Store>
Refused UserControl1::Take(std::u16string_view property, Parsed<T> parsed, Store store) {
  if (auto refused = Gate(property)) return refused;
  if (const auto* refusal = std::get_if<Refusal>(&parsed)) {
    return Refusal{std::u16string(property) + u": " + refusal->reason};
  }
  return Set(property, [&] { store(std::move(std::get<T>(parsed))); });
}

Refused UserControl1::TakeInRange(std::u16string_view property, std::int32_t value,
                                  std::int32_t low, std::int32_t high, std::int32_t& field) {
  if (auto refused = Gate(property)) return refused;
  if (value < low || value > high) {
    return Refusal{std::u16string(property) + u": must lie from " + Widen(std::to_string(low)) +
                   u" to " + Widen(std::to_string(high))};
  }
  return Set(property, [&] { field = value; });
}

Refused UserControl1::DragEnabled(bool value) {
  return Set(kDragEnabledKey, [&] { settings_.drag_enabled = value; });
}

std::u16string UserControl1::LegalMoves() const {
  return MoveListText(entry_.LegalMoves());
}

Refused UserControl1::LegalMoves(std::u16string_view text) {
  return Take(kLegalMovesKey, ParseMoveList(text),
              [this](std::vector<MoveText> moves) { entry_.SetLegalMoves(std::move(moves)); });
}

Refused UserControl1::ShowLegalMoves(bool value) {
  return Set(kShowLegalMovesKey, [&] {
    settings_.show_legal_moves = value;
    entry_.ShowDestinations(value);
  });
}

Refused UserControl1::Orientation(std::int32_t value) {
  return TakeInRange(kOrientationKey, value, 0, kLastOrientation, settings_.orientation);
}

std::u16string UserControl1::LastMove() const {
  return settings_.last_move ? MoveTextOf(*settings_.last_move) : std::u16string();
}

Refused UserControl1::LastMove(std::u16string_view text) {
  return Take(kLastMoveKey, ParseLastMove(text),
              [this](std::optional<MoveText> move) { settings_.last_move = move; });
}

Refused UserControl1::ShowLastMove(bool value) {
  return Set(kShowLastMoveKey, [&] { settings_.show_last_move = value; });
}

std::u16string UserControl1::CheckSquare() const {
  return settings_.check_square ? SquareName(*settings_.check_square) : std::u16string();
}

Refused UserControl1::CheckSquare(std::u16string_view text) {
  return Take(kCheckSquareKey, ParseCheckSquare(text),
              [this](std::optional<Square> square) { settings_.check_square = square; });
}

Refused UserControl1::Marks(std::u16string_view text) {
  return Take(kMarksKey, ParseSquareMarks(text),
              [this](std::vector<SquareMark> marks) { settings_.marks = std::move(marks); });
}

Refused UserControl1::UserMarks(std::u16string_view text) {
  return Take(kUserMarksKey, ParseSquareMarks(text),
              [this](std::vector<SquareMark> marks) { settings_.user_marks = std::move(marks); });
}

Refused UserControl1::AnimationTime(std::int32_t value) {
  return TakeInRange(kAnimationTimeKey, value, 0, kLongestAnimation, settings_.animation_time);
}

std::u16string UserControl1::Fen() const {
  return PlacementField(board_);
}

Refused UserControl1::Fen(std::u16string_view text) {
  // The position cell loads it, with the announcement and repaint of any position a host puts.
  return Take(kFenKey, PositionTextOfRecord(text),
              [this](std::u16string position) { position_cell_.Set(position); });
}

void UserControl1::Refresh() {
  const auto self = shared_from_this();
  forms_->Repaint();
}

void UserControl1::OnPositionText() {
  const auto self = shared_from_this();
  surface_.EndDrag();
  const std::u16string& text = position_cell_.Text();
  const PositionVerdict verdict = CheckPositionText(text);
  if (verdict == PositionVerdict::kNothing) return;
  if (verdict != PositionVerdict::kValid) {
    forms_->ShowMessage(MessageFor(verdict));
    return;
  }
  LoadPositionText(board_, text);
  DrawBoard(board_, surface_);
  surface_.Announce(AnnounceNewPosition());
  position_cell_.Set(u"");
}

void UserControl1::OnHostMove() {
  const auto self = shared_from_this();
  surface_.EndDrag();
  const HostCommand command = ParseHostCommand(host_move_cell_.Text());
  switch (command.kind) {
    case HostCommandKind::kReset:
      ResetBoard(board_);
      DrawBoard(board_, surface_);
      surface_.Announce(AnnounceNewPosition());
      position_cell_.Set(u"");
      return;
    case HostCommandKind::kMove: {
      const MoveText move = command.move;
      const auto words =
          AnnounceMove(board_.Cell(move.from), board_.Cell(move.to), move.from, move.to);
      ApplyMove(board_, move);
      DrawBoard(board_, surface_);
      if (words) surface_.Announce(*words);
      move_display_cell_.Set(host_move_cell_.Text());
      return;
    }
    case HostCommandKind::kNothing:
    case HostCommandKind::kOffBoard:
      return;
  }
}

void UserControl1::OnGetMove() {
  const auto self = shared_from_this();
  surface_.MoveDisplayChanged();
  host_->RaiseEvent(EventId::kChange, {});
}

void UserControl1::LoadProperties(PropertyBag& bag) {
  const auto self = shared_from_this();
  surface_.SetEnabled(ToTruth(bag.Read(kEnabledKey, true)));
  move_display_cell_.Set(ToText(bag.Read(kGetMoveKey, std::u16string())));
  host_move_cell_.Set(ToText(bag.Read(kPutMoveKey, std::u16string())));
  position_cell_.Set(ToText(bag.Read(kPutPositionKey, std::u16string())));
  if (!flavour_.later_members) return;
  const BoardSettings defaults = DefaultSettings(flavour_);
  settings_.drag_enabled = ToTruth(bag.Read(kDragEnabledKey, defaults.drag_enabled));
  settings_.show_legal_moves = ToTruth(bag.Read(kShowLegalMovesKey, defaults.show_legal_moves));
  entry_.ShowDestinations(settings_.show_legal_moves);
  settings_.orientation = ToWholeNumber(
      bag.Read(kOrientationKey, static_cast<double>(defaults.orientation)), 0, kLastOrientation);
  settings_.show_last_move = ToTruth(bag.Read(kShowLastMoveKey, defaults.show_last_move));
  settings_.animation_time =
      ToWholeNumber(bag.Read(kAnimationTimeKey, static_cast<double>(defaults.animation_time)), 0,
                    kLongestAnimation);
}

void UserControl1::SaveProperties(PropertyBag& bag) {
  const auto self = shared_from_this();
  bag.Write(kEnabledKey, surface_.Enabled(), true);
  bag.Write(kGetMoveKey, move_display_cell_.Text(), std::u16string());
  bag.Write(kPutMoveKey, host_move_cell_.Text(), std::u16string());
  bag.Write(kPutPositionKey, position_cell_.Text(), std::u16string());
  if (!flavour_.later_members) return;
  const BoardSettings defaults = DefaultSettings(flavour_);
  bag.Write(kDragEnabledKey, settings_.drag_enabled, defaults.drag_enabled);
  bag.Write(kShowLegalMovesKey, settings_.show_legal_moves, defaults.show_legal_moves);
  bag.Write(kOrientationKey, static_cast<double>(settings_.orientation),
            static_cast<double>(defaults.orientation));
  bag.Write(kShowLastMoveKey, settings_.show_last_move, defaults.show_last_move);
  bag.Write(kAnimationTimeKey, static_cast<double>(settings_.animation_time),
            static_cast<double>(defaults.animation_time));
}

void UserControl1::ClickSquare(std::int16_t n) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  focus_.FollowMouse(n);
  entry_.ClickSquare(n);
}

void UserControl1::ClickChoice(std::int16_t k) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  focus_.FollowMouse(0);
  entry_.ClickChoice(k);
}

bool UserControl1::BeginDrag(std::int16_t n, std::int32_t x, std::int32_t y) {
  const auto self = shared_from_this();
  if (!surface_.Enabled() || !settings_.drag_enabled || n < 1 || n > 64) return false;
  const EntryState state = entry_.State();
  if (state == EntryState::kPrompting) return false;
  if (state == EntryState::kIdle) {
    if (board_.Cell(SquareOf(n)) == kEmptyCell) return false;
    ClickSquare(n);
  }
  // The pick's Change may have let the host change anything.
  if (!surface_.Enabled() || entry_.State() != EntryState::kPicked || surface_.Picked() != n) {
    return false;
  }
  surface_.StartDrag({n, x, y});
  return true;
}

void UserControl1::DragTo(std::int32_t x, std::int32_t y) {
  surface_.MoveDrag(x, y);
}

void UserControl1::Drop(std::int16_t n) {
  const auto self = shared_from_this();
  const auto& drag = surface_.Drag();
  if (!drag) return;
  const std::int16_t from = drag->square;
  surface_.EndDrag();
  if (n != from) ClickSquare(n);
}

void UserControl1::CancelDrag() {
  surface_.EndDrag();
}

void UserControl1::SurfaceFocus(bool has_focus) {
  const auto self = shared_from_this();
  focus_.SetHasFocus(has_focus);
  if (!has_focus) keys_.ReleaseAll();
}

void UserControl1::FocusPart(std::int16_t part) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  if (IsSquarePart(part)) focus_.NavigateToSquare(part);
  if (ChoiceOfPart(surface_, part)) {
    focus_.NavigateToChoice(static_cast<std::int16_t>(part - kFirstChoicePart));
  }
}

void UserControl1::ActivatePart(std::int16_t part) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  FocusPart(part);
  if (IsSquarePart(part)) entry_.ClickSquare(part);
  if (const auto k = ChoiceOfPart(surface_, part)) entry_.ClickChoice(*k);
}

void UserControl1::Forward(EventId id, std::initializer_list<EventArg> args) {
  const auto self = shared_from_this();
  if (surface_.Enabled()) host_->RaiseEvent(id, {args.begin(), args.size()});
}

void UserControl1::SurfaceClick() {
  const auto self = shared_from_this();
  if (surface_.Enabled()) focus_.FollowMouse(0);
  Forward(EventId::kClick, {});
}
void UserControl1::SurfaceDblClick() {
  Forward(EventId::kDblClick, {});
}
bool UserControl1::SurfaceKeyDown(std::int16_t& KeyCode, std::int16_t& Shift) {
  const auto self = shared_from_this();
  Forward(EventId::kKeyDown, {&KeyCode, &Shift});
  // The host's handler may have disabled the control, or taken the key.
  return surface_.Enabled() && keys_.KeyDown(KeyCode, Shift);
}
void UserControl1::SurfaceKeyPress(std::int16_t& KeyAscii) {
  Forward(EventId::kKeyPress, {&KeyAscii});
}
void UserControl1::SurfaceKeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {
  const auto self = shared_from_this();
  // The key is up whatever the host makes of it.
  keys_.KeyUp(KeyCode);
  Forward(EventId::kKeyUp, {&KeyCode, &Shift});
}
void UserControl1::SurfaceMouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {
  Forward(EventId::kMouseDown, {&Button, &Shift, &X, &Y});
}
void UserControl1::SurfaceMouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {
  Forward(EventId::kMouseMove, {&Button, &Shift, &X, &Y});
}
void UserControl1::SurfaceMouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {
  Forward(EventId::kMouseUp, {&Button, &Shift, &X, &Y});
}

}  // namespace velmora
