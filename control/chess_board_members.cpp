#include "control/board_control.h"

#include <cmath>
#include <string>

#include "board/failure.h"
#include "board/fen.h"
#include "board/move_list.h"
#include "view/announcement.h"

// A ChessBoard's members after the first four, its veto and its drags. Apart from the first
// class's code, so the host move there compiles as lean as it did.
namespace velmora {
namespace {

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
constexpr std::int32_t kLongestAnimation = 2000;

// Raises a flag for as long as it lives, a failure's way out included.
class RaisedFlag {
 public:
  explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RaisedFlag() { flag_ = false; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;

 private:
  bool& flag_;
};

std::u16string Widen(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
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

Refused BoardControl::Gate(std::u16string_view property) const {
  if (flavour_.later_members) return std::nullopt;
  return Refusal{u"UserControl1 has no member " + std::u16string(property)};
}

template <typename Store>
Refused BoardControl::Set(std::u16string_view property, Store store) {
  const auto self = shared_from_this();
  if (auto refused = Gate(property)) return refused;
  store();
  ShowSettings();
  host_->PropertyChanged(property);
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
Refused BoardControl::Take(std::u16string_view property, Parsed<T> parsed, Store store) {
  if (auto refused = Gate(property)) return refused;
  if (const auto* refusal = std::get_if<Refusal>(&parsed)) {
    return Refusal{std::u16string(property) + u": " + refusal->reason};
  }
  return Set(property, [&] { store(std::move(std::get<T>(parsed))); });
}

Refused BoardControl::TakeInRange(std::u16string_view property, std::int32_t value,
                                  std::int32_t low, std::int32_t high, std::int32_t& field) {
  if (auto refused = Gate(property)) return refused;
  if (value < low || value > high) {
    return Refusal{std::u16string(property) + u": must lie from " + Widen(std::to_string(low)) +
                   u" to " + Widen(std::to_string(high))};
  }
  return Set(property, [&] { field = value; });
}

Refused BoardControl::DragEnabled(bool value) {
  return Set(kDragEnabledKey, [&] { settings_.drag_enabled = value; });
}

std::u16string BoardControl::LegalMoves() const {
  return MoveListText(entry_.LegalMoves());
}

Refused BoardControl::LegalMoves(std::u16string_view text) {
  return Take(kLegalMovesKey, ParseMoveList(text),
              [this](std::vector<MoveText> moves) { entry_.SetLegalMoves(std::move(moves)); });
}

Refused BoardControl::ShowLegalMoves(bool value) {
  return Set(kShowLegalMovesKey, [&] {
    settings_.show_legal_moves = value;
    entry_.ShowDestinations(value);
  });
}

Refused BoardControl::Orientation(std::int32_t value) {
  return TakeInRange(kOrientationKey, value, 0, kLastOrientation, settings_.orientation);
}

std::u16string BoardControl::LastMove() const {
  return settings_.last_move ? MoveTextOf(*settings_.last_move) : std::u16string();
}

Refused BoardControl::LastMove(std::u16string_view text) {
  return Take(kLastMoveKey, ParseLastMove(text),
              [this](std::optional<MoveText> move) { settings_.last_move = move; });
}

Refused BoardControl::ShowLastMove(bool value) {
  return Set(kShowLastMoveKey, [&] { settings_.show_last_move = value; });
}

std::u16string BoardControl::CheckSquare() const {
  return settings_.check_square ? SquareName(*settings_.check_square) : std::u16string();
}

Refused BoardControl::CheckSquare(std::u16string_view text) {
  const std::optional<Square> was = settings_.check_square;
  const Refused refused =
      Take(kCheckSquareKey, ParseCheckSquare(text),
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
  return Take(kMarksKey, ParseSquareMarks(text), [this](std::vector<SquareMark> marks) {
    settings_.marks = std::move(marks);
    ShowMarks();
  });
}

Refused BoardControl::UserMarks(std::u16string_view text) {
  return Take(kUserMarksKey, ParseSquareMarks(text), [this](std::vector<SquareMark> marks) {
    settings_.user_marks = std::move(marks);
    ShowMarks();
  });
}

Refused BoardControl::AnimationTime(std::int32_t value) {
  return TakeInRange(kAnimationTimeKey, value, 0, kLongestAnimation, settings_.animation_time);
}

std::u16string BoardControl::Fen() const {
  return PlacementField(board_);
}

Refused BoardControl::Fen(std::u16string_view text) {
  // The position cell loads it, with the announcement and repaint of any position a host puts.
  return Take(kFenKey, PositionTextOfRecord(text),
              [this](std::u16string position) { position_cell_.Set(position); });
}

bool BoardControl::AllowsMove(Square from, Square to, char16_t promotion) {
  const std::u16string FromSquare = SquareName(from);
  const std::u16string ToSquare = SquareName(to);
  const std::u16string Promotion = promotion != 0 ? std::u16string(1, promotion) : u"";
  bool Cancel = false;
  Forward(EventId::kBeforeMove, {&FromSquare, &ToSquare, &Promotion, &Cancel});
  return !Cancel;
}

bool BoardControl::BeginDrag(std::int16_t n, std::int32_t x, std::int32_t y) {
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

void BoardControl::DragTo(std::int32_t x, std::int32_t y) {
  surface_.MoveDrag(x, y);
}

void BoardControl::Drop(std::int16_t n) {
  const auto self = shared_from_this();
  const auto& drag = surface_.Drag();
  if (!drag) return;
  const std::int16_t from = drag->square;
  surface_.EndDrag();
  if (n == from) return;
  // A piece put down by hand is where it belongs already: it does not slide.
  const RaisedFlag dropping(dropping_);
  ClickSquare(n);
}

void BoardControl::CancelDrag() {
  surface_.EndDrag();
}

void BoardControl::LoadLaterMembers(PropertyBag& bag) {
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
  ShowSettings();
}

void BoardControl::SaveLaterMembers(PropertyBag& bag) {
  const BoardSettings defaults = DefaultSettings(flavour_);
  bag.Write(kDragEnabledKey, settings_.drag_enabled, defaults.drag_enabled);
  bag.Write(kShowLegalMovesKey, settings_.show_legal_moves, defaults.show_legal_moves);
  bag.Write(kOrientationKey, static_cast<double>(settings_.orientation),
            static_cast<double>(defaults.orientation));
  bag.Write(kShowLastMoveKey, settings_.show_last_move, defaults.show_last_move);
  bag.Write(kAnimationTimeKey, static_cast<double>(settings_.animation_time),
            static_cast<double>(defaults.animation_time));
}

}  // namespace velmora
