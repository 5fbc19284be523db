#include "control/board_control.h"

#include <string>

#include "board/fen.h"
#include "board/move_list.h"
#include "board/position_text.h"
#include "entry/flag_scope.h"
#include "view/announcement.h"

// A ChessBoard's members beyond the first class's. Apart from the first class's code, so the
// host move there compiles as lean as it did.
namespace velmora {
namespace {

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
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

Refused BoardControl::RefusedPosition(std::u16string_view text) {
  const PositionVerdict verdict = CheckPositionText(text);
  if (verdict == PositionVerdict::kNothing || verdict == PositionVerdict::kValid) return {};
  return Refusal{u"PutPosition: " + std::u16string(MessageFor(verdict))};
}

Refused BoardControl::Gate(MemberId id) const {
  const Member& member = MemberOf(id);
  if (HasMember(control_class_, member)) return std::nullopt;
  return Refusal{u"UserControl1 has no member " + std::u16string(member.name)};
}

void BoardControl::Notice(MemberId id) {
  const bool quiet =
      quiet_.member != nullptr && quiet_.member->id == id && quiet_.depth == write_depth_;
  if (!quiet) host_->PropertyChanged(MemberOf(id).name);
}

template <typename Store>
Refused BoardControl::Set(MemberId id, Store store) {
  const auto self = shared_from_this();
  const CountScope nested(write_depth_);
  if (auto refused = Gate(id)) return refused;
  store();
  ShowSettings();
  Notice(id);
  return std::nullopt;
}

void BoardControl::ShowSettings() {
  surface_.SetOrientation(settings_.orientation == 0 ? BoardOrientation::kWhiteAtBottom
                                                     : BoardOrientation::kBlackAtBottom);
  std::uint64_t last_move = 0;
  if (settings_.show_last_move && settings_.last_move) {
    last_move = (std::uint64_t{1} << (SquareNumber(settings_.last_move->from) - 1)) |
                (std::uint64_t{1} << (SquareNumber(settings_.last_move->to) - 1));
  }
  surface_.SetLastMoveSquares(last_move);
  surface_.SetCheckSquare(settings_.check_square ? SquareNumber(*settings_.check_square) : 0);
}

void BoardControl::MoveMade(MoveText move) {
  settings_.last_move = move;
  settings_.check_square.reset();
  ShowSettings();
}

void BoardControl::PositionLoaded() {
  settings_.last_move.reset();
  settings_.check_square.reset();
  ShowSettings();
}

template <typename T, typename Store>
Refused BoardControl::Take(MemberId id, Parsed<T> parsed, Store store) {
  if (auto refused = Gate(id)) return refused;
  if (const auto* refusal = std::get_if<Refusal>(&parsed)) {
    return Refusal{std::u16string(MemberOf(id).name) + u": " + refusal->reason};
  }
  return Set(id, [&] { store(std::move(std::get<T>(parsed))); });
}

Refused BoardControl::RefusedNumber(MemberId id, std::int32_t value) const {
  if (auto refused = Gate(id)) return refused;
  const Member& member = MemberOf(id);
  if (value >= member.low && value <= member.high) return std::nullopt;
  // No helper here resolves OLE_COLOR's system colours, so they are refused by name.
  if (member.kind == MemberKind::kColour) {
    return Refusal{std::u16string(member.name) +
                   u": takes an RGB colour, &HBBGGRR from 0 to &HFFFFFF, not a system colour"};
  }
  return Refusal{std::u16string(member.name) + u": must lie from " +
                 Widen(std::to_string(member.low)) + u" to " + Widen(std::to_string(member.high))};
}

Refused BoardControl::TakeInRange(MemberId id, std::int32_t value, std::int32_t& field) {
  if (auto refused = RefusedNumber(id, value)) return refused;
  return Set(id, [&] { field = value; });
}

Refused BoardControl::TakeLook(MemberId id, std::int32_t value, std::int32_t& field) {
  if (auto refused = RefusedNumber(id, value)) return refused;
  return Set(id, [&] {
    field = value;
    if (id == MemberId::kTheme) settings_.light_square = settings_.dark_square = kThemesColour;
    ShowLook();
  });
}

Refused BoardControl::DragEnabled(bool value) {
  return Set(MemberId::kDragEnabled, [&] { settings_.drag_enabled = value; });
}

std::u16string BoardControl::LegalMoves() const {
  return MoveListText(entry_.LegalMoves());
}

Refused BoardControl::LegalMoves(std::u16string_view text) {
  return Take(MemberId::kLegalMoves, ParseMoveList(text),
              [this](std::vector<MoveText> moves) { entry_.SetLegalMoves(std::move(moves)); });
}

Refused BoardControl::ShowLegalMoves(bool value) {
  return Set(MemberId::kShowLegalMoves, [&] {
    settings_.show_legal_moves = value;
    entry_.ShowDestinations(value);
  });
}

Refused BoardControl::Orientation(std::int32_t value) {
  entry_.CloseChooser();
  return TakeInRange(MemberId::kOrientation, value, settings_.orientation);
}

std::u16string BoardControl::LastMove() const {
  return settings_.last_move ? MoveTextOf(*settings_.last_move) : std::u16string();
}

Refused BoardControl::LastMove(std::u16string_view text) {
  return Take(MemberId::kLastMove, ParseLastMove(text),
              [this](std::optional<MoveText> move) { settings_.last_move = move; });
}

Refused BoardControl::ShowLastMove(bool value) {
  return Set(MemberId::kShowLastMove, [&] { settings_.show_last_move = value; });
}

std::u16string BoardControl::CheckSquare() const {
  return settings_.check_square ? SquareName(*settings_.check_square) : std::u16string();
}

Refused BoardControl::CheckSquare(std::u16string_view text) {
  const std::optional<Square> was = settings_.check_square;
  const Refused refused =
      Take(MemberId::kCheckSquare, ParseCheckSquare(text),
           [this](std::optional<Square> square) { settings_.check_square = square; });
  // Told once the glow shows, so a person who listens hears what a person who looks sees.
  if (!refused && settings_.check_square && settings_.check_square != was) {
    const Square square = *settings_.check_square;
    surface_.Announce(
        AnnounceCheck(PictureForCell(board_.Cell(square)).value_or(Picture::kNone), square));
  }
  return refused;
}

Refused BoardControl::Marks(std::u16string_view text) {
  return Take(MemberId::kMarks, ParseSquareMarks(text), [this](std::vector<SquareMark> marks) {
    settings_.marks = std::move(marks);
    ShowMarks();
  });
}

Refused BoardControl::UserMarks(std::u16string_view text) {
  return Take(MemberId::kUserMarks, ParseSquareMarks(text), [this](std::vector<SquareMark> marks) {
    settings_.user_marks = std::move(marks);
    ShowMarks();
  });
}

Refused BoardControl::AnimationTime(std::int32_t value) {
  return TakeInRange(MemberId::kAnimationTime, value, settings_.animation_time);
}

Refused BoardControl::Theme(std::int32_t value) {
  return TakeLook(MemberId::kTheme, value, settings_.theme);
}

Refused BoardControl::LightSquareColor(std::int32_t value) {
  return TakeLook(MemberId::kLightSquareColor, value, settings_.light_square);
}

Refused BoardControl::DarkSquareColor(std::int32_t value) {
  return TakeLook(MemberId::kDarkSquareColor, value, settings_.dark_square);
}

Refused BoardControl::Coordinates(std::int32_t value) {
  return TakeLook(MemberId::kCoordinates, value, settings_.coordinates);
}

Refused BoardControl::EditMode(bool value) {
  return Set(MemberId::kEditMode, [&] {
    settings_.edit_mode = value;
    // Whatever a person was doing with the pieces ends; the position stays.
    surface_.EndDrag();
    entry_.CloseChooser();
    entry_.Reset();
    surface_.SetEditMode(value);
  });
}

SquareColours BoardControl::SquareColoursInUse() const {
  const SquareColours theme = ThemeColours(static_cast<velmora::Theme>(settings_.theme));
  const auto in_use = [](std::int32_t colour, Rgb theirs) {
    return colour == kThemesColour ? theirs : RgbOfColour(colour);
  };
  return {in_use(settings_.light_square, theme.light), in_use(settings_.dark_square, theme.dark)};
}

void BoardControl::ShowLook() {
  surface_.SetLook({SquareColoursInUse(),
                    ThemeBackground(static_cast<velmora::Theme>(settings_.theme)),
                    static_cast<velmora::Coordinates>(settings_.coordinates)});
}

std::u16string BoardControl::Fen() const {
  return PlacementField(board_);
}

Refused BoardControl::Fen(std::u16string_view text) {
  entry_.CloseChooser();
  // The position cell loads it, with the announcement and repaint of any position a host puts.
  return Take(MemberId::kFen, PositionTextOfRecord(text),
              [this](std::u16string position) { position_cell_.Set(position); });
}

}  // namespace velmora
