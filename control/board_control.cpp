#include "control/board_control.h"

#include "board/move_text.h"
#include "board/position_text.h"
#include "entry/flag_scope.h"
#include "view/accessible_parts.h"
#include "view/announcement.h"
#include "view/draw_board.h"

namespace velmora {
template <class Entry>
void BoardControl::Entered(Entry entry) {
  if (!Animating() || dropping_) return entry();
  const Board before = board_;
  const std::uint64_t host_changes = host_changes_;
  entry();
  if (host_changes_ == host_changes && !(board_ == before)) SlideChanges(before);
}

std::shared_ptr<BoardControl> BoardControl::Create(FormsPort& forms, HostPort& host,
                                                   ControlClass control_class) {
  // Ports that outlive the control need no owner: empty owners, the same pointers.
  return Create(std::shared_ptr<FormsPort>(std::shared_ptr<void>(), &forms),
                std::shared_ptr<HostPort>(std::shared_ptr<void>(), &host), control_class);
}

std::shared_ptr<BoardControl> BoardControl::Create(std::shared_ptr<FormsPort> forms,
                                                   std::shared_ptr<HostPort> host,
                                                   ControlClass control_class) {
  std::shared_ptr<BoardControl> control(
      new BoardControl(std::move(forms), std::move(host), control_class));
  control->InitControl();
  return control;
}

BoardControl::BoardControl(std::shared_ptr<FormsPort> forms, std::shared_ptr<HostPort> host,
                           ControlClass control_class)
    : control_class_(control_class),
      capabilities_(CapabilitiesOf(control_class)),
      settings_(DefaultSettings(control_class)),
      forms_(std::move(forms)),
      host_(std::move(host)),
      focus_(surface_),
      entry_(board_, surface_, focus_, host_move_cell_, move_display_cell_, *forms_, *this),
      keys_(surface_, entry_, focus_) {
  position_cell_.Bind([this] { OnPositionText(); });
  host_move_cell_.Bind([this] { OnHostMove(); });
  move_display_cell_.Bind([this] { OnGetMove(); });
  entry_.SetRules({capabilities_.move_veto, capabilities_.last_move, capabilities_.quiet,
                   capabilities_.whole_moves, capabilities_.promotion_chooser});
  if (capabilities_.board_alone) {
    surface_.SetBoardAlone();
    ShowLook();
  }
}

void BoardControl::InitControl() {
  const auto self = shared_from_this();
  entry_.Reset();
  entry_.ShowDestinations(settings_.show_legal_moves);
  ResetBoard(board_);
}

bool BoardControl::Enabled() const {
  return surface_.Enabled();
}

Refused BoardControl::Enabled(bool New_Enabled) {
  const auto self = shared_from_this();
  const CountScope nested(write_depth_);
  surface_.SetEnabled(New_Enabled);
  Notice(MemberId::kEnabled);
  return std::nullopt;
}

std::u16string BoardControl::GetMove() const {
  return move_display_cell_.Text();
}
std::u16string BoardControl::PutMove() const {
  return host_move_cell_.Text();
}
std::u16string BoardControl::PutPosition() const {
  return position_cell_.Text();
}

Refused BoardControl::GetMove(std::u16string New_GetMove) {
  return WriteCell(move_display_cell_, New_GetMove, MemberId::kGetMove);
}
Refused BoardControl::PutMove(std::u16string New_PutMove) {
  entry_.CloseChooser();
  // A host that replays a move after a takeback may write the text the cell holds.
  return WriteCell(host_move_cell_, New_PutMove, MemberId::kPutMove,
                   capabilities_.replays_host_moves);
}
Refused BoardControl::PutPosition(std::u16string New_PutPosition) {
  entry_.CloseChooser();
  if (capabilities_.quiet) {
    if (Refused refused = RefusedPosition(New_PutPosition)) return refused;
  }
  return WriteCell(position_cell_, New_PutPosition, MemberId::kPutPosition);
}

Refused BoardControl::WriteCell(TextCell& cell, std::u16string_view text, MemberId id,
                                bool even_unchanged) {
  const auto self = shared_from_this();
  const CountScope nested(write_depth_);
  cell.Set(text, even_unchanged);
  Notice(id);
  return std::nullopt;
}

void BoardControl::Refresh() {
  const auto self = shared_from_this();
  forms_->Repaint();
}

void BoardControl::OnPositionText() {
  const auto self = shared_from_this();
  surface_.EndDrag();
  const std::u16string& text = position_cell_.Text();
  const PositionVerdict verdict = CheckPositionText(text);
  if (verdict == PositionVerdict::kNothing) return;
  if (verdict != PositionVerdict::kValid) {
    forms_->ShowMessage(MessageFor(verdict));
    return;
  }
  const std::optional<Board> before = Animating() ? std::optional<Board>(board_) : std::nullopt;
  LoadPositionText(board_, text);
  PositionReplaced(before);
}

void BoardControl::PositionReplaced(const std::optional<Board>& before) {
  ++host_changes_;
  DrawBoard(board_, surface_);
  if (capabilities_.last_move) PositionLoaded();
  if (before) SlideChanges(*before);
  surface_.Announce(AnnounceNewPosition());
  position_cell_.Set(u"");
}

void BoardControl::OnHostMove() {
  const auto self = shared_from_this();
  surface_.EndDrag();
  const HostCommand command = ParseHostCommand(host_move_cell_.Text());
  switch (command.kind) {
    case HostCommandKind::kReset: {
      const std::optional<Board> before = Animating() ? std::optional<Board>(board_) : std::nullopt;
      ResetBoard(board_);
      PositionReplaced(before);
      return;
    }
    case HostCommandKind::kMove: {
      const MoveText move = command.move;
      if (Animating()) SlideHostMove(move);
      const auto words =
          AnnounceMove(board_.Cell(move.from), board_.Cell(move.to), move.from, move.to);
      ApplyMove(board_, move);
      DrawBoard(board_, surface_);
      if (words) surface_.Announce(*words);
      if (capabilities_.last_move && move.from != move.to) MoveMade(move);
      move_display_cell_.Set(host_move_cell_.Text());
      return;
    }
    case HostCommandKind::kNothing:
    case HostCommandKind::kOffBoard:
      return;
  }
}

void BoardControl::OnGetMove() {
  const auto self = shared_from_this();
  surface_.MoveDisplayChanged();
  host_->RaiseEvent(EventId::kChange, {});
}

void BoardControl::ClickSquare(std::int16_t n) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  focus_.FollowMouse(n);
  if (settings_.edit_mode) return EditClick(n);
  Entered([&] { entry_.ClickSquare(n); });
}

void BoardControl::ClickChoice(std::int16_t k) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  focus_.FollowMouse(0);
  // The chooser's choice makes its move here; the prompt's is made by the click it suspended.
  Entered([&] { entry_.ClickChoice(k); });
}

void BoardControl::CloseChooser() {
  const auto self = shared_from_this();
  if (surface_.Enabled()) entry_.CloseChooser();
}

void BoardControl::SurfaceFocus(bool has_focus) {
  const auto self = shared_from_this();
  focus_.SetHasFocus(has_focus);
  if (!has_focus) keys_.ReleaseAll();
}

void BoardControl::FocusPart(std::int16_t part) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  if (IsSquarePart(part)) focus_.NavigateToSquare(part);
  if (ChoiceOfPart(surface_, part)) {
    focus_.NavigateToChoice(static_cast<std::int16_t>(part - kFirstChoicePart));
  }
}

void BoardControl::ActivatePart(std::int16_t part) {
  const auto self = shared_from_this();
  if (!surface_.Enabled()) return;
  FocusPart(part);
  if (const auto place = SpareOfPart(surface_, part)) return ClickSpare(*place);
  if (IsSquarePart(part) && settings_.edit_mode) return EditClick(part);
  if (IsSquarePart(part)) Entered([&] { entry_.ClickSquare(part); });
  if (const auto k = ChoiceOfPart(surface_, part)) Entered([&] { entry_.ClickChoice(*k); });
}

bool BoardControl::AllowsMove(Square from, Square to, char16_t promotion) {
  return RaiseMoveEvent(EventId::kBeforeMove, {from, to}, promotion);
}

void BoardControl::MoveCompleted(MoveText move, char16_t promotion) {
  RaiseMoveEvent(EventId::kAfterMove, move, promotion);
}

bool BoardControl::RaiseMoveEvent(EventId id, MoveText move, char16_t promotion) {
  const std::u16string FromSquare = SquareName(move.from);
  const std::u16string ToSquare = SquareName(move.to);
  const std::u16string Promotion = promotion != 0 ? std::u16string(1, promotion) : u"";
  bool Cancel = false;
  // AfterMove passes BeforeMove's first three.
  const EventArg args[] = {&FromSquare, &ToSquare, &Promotion, &Cancel};
  if (surface_.Enabled()) host_->RaiseEvent(id, {args, id == EventId::kBeforeMove ? 4u : 3u});
  return !Cancel;
}

void BoardControl::Forward(EventId id, std::initializer_list<EventArg> args) {
  const auto self = shared_from_this();
  if (surface_.Enabled()) host_->RaiseEvent(id, {args.begin(), args.size()});
}

void BoardControl::SurfaceClick() {
  const auto self = shared_from_this();
  if (surface_.Enabled()) {
    entry_.CloseChooser();
    focus_.FollowMouse(0);
  }
  Forward(EventId::kClick, {});
}
void BoardControl::SurfaceDblClick() {
  Forward(EventId::kDblClick, {});
}
bool BoardControl::SurfaceKeyDown(std::int16_t& KeyCode, std::int16_t& Shift) {
  const auto self = shared_from_this();
  Forward(EventId::kKeyDown, {&KeyCode, &Shift});
  // Escape puts a dragged piece down on its square, still picked.
  if (KeyCode == keys::kEscape && surface_.Drag()) {
    CancelDrag();
    return true;
  }
  // The host's handler may have disabled the control, or taken the key. Setting up takes its
  // own keys before the navigation keys.
  if (surface_.Enabled() && settings_.edit_mode && EditKey(KeyCode, Shift)) return true;
  bool acted = false;
  if (surface_.Enabled()) Entered([&] { acted = keys_.KeyDown(KeyCode, Shift); });
  return acted;
}
void BoardControl::SurfaceKeyPress(std::int16_t& KeyAscii) {
  Forward(EventId::kKeyPress, {&KeyAscii});
}
void BoardControl::SurfaceKeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {
  const auto self = shared_from_this();
  // The key is up whatever the host makes of it.
  keys_.KeyUp(KeyCode);
  Forward(EventId::kKeyUp, {&KeyCode, &Shift});
}
void BoardControl::SurfaceMouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {
  Forward(EventId::kMouseDown, {&Button, &Shift, &X, &Y});
}
void BoardControl::SurfaceMouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {
  Forward(EventId::kMouseMove, {&Button, &Shift, &X, &Y});
}
void BoardControl::SurfaceMouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {
  Forward(EventId::kMouseUp, {&Button, &Shift, &X, &Y});
}

}  // namespace velmora
