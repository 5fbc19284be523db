#include "entry/click_entry.h"

#include "entry/castling.h"
#include "entry/en_passant.h"
#include "entry/flag_scope.h"
#include "entry/promotion.h"
#include "view/announcement.h"
#include "view/draw_board.h"

namespace velmora {
namespace {

constexpr std::u16string_view kEmptySquareMessage = u"Empty Square";

}  // namespace

EntryState ClickEntry::State() const {
  if (prompt_open_ || chooser_before_) return EntryState::kPrompting;
  return fields_.pick_state == PickState::kIdle ? EntryState::kIdle : EntryState::kPicked;
}

void ClickEntry::ClickSquare(std::int16_t n) {
  if (n < 1 || n > 64 || prompt_open_) return;
  if (chooser_before_) return CloseChooser();
  if (fields_.pick_state == PickState::kIdle) {
    FirstClick(n);
  } else {
    DestinationClick(n);
  }
}

void ClickEntry::ClickChoice(std::int16_t k) {
  const auto letter = ChoiceLetter(k);
  if (const std::int16_t n = surface_.Chooser(); n != 0 && chooser_before_) {
    const std::int16_t first = ChooserFirstChoice(n);
    if (!letter || k < first || k >= first + kChooserChoices) return;
    // A legal list the host wrote since the pawn was put down may leave its move out.
    if (!Listed({fields_.from_row, fields_.from_col}, SquareOf(n))) return CloseChooser();
    const EntryFields before = *chooser_before_;
    HideChooser();
    fields_.moving_piece = *letter;
    PutDown(n, before, true);
    return;
  }
  const ControlSpec* choice = FindControl({ControlName::kChoice, k});
  if (!letter || choice == nullptr || !surface_.IsShown(*choice)) return;
  fields_.moving_piece = *letter;
  fields_.promotion_chosen = true;
}

void ClickEntry::FirstClick(std::int16_t n) {
  const Square from = SquareOf(n);
  const char16_t piece = board_.Cell(from);
  if (piece == kEmptyCell && rules_.quiet) return;
  fields_.from_row = from.row;
  fields_.from_col = from.col;
  const std::u16string from_name = SquareName(from);
  if (piece == kEmptyCell) {
    forms_.ShowMessage(kEmptySquareMessage);
    return;
  }
  if (!Listed(from)) {
    surface_.Announce(AnnounceNoLegalMove(piece, from));
    return;
  }
  surface_.SetPicture(0, surface_.PictureOf(n));
  if (!rules_.whole_moves) surface_.SetPicture(n, Picture::kNone);
  fields_.moving_piece = piece;
  // The host hears of the pick while nothing is picked yet.
  get_move_.Set(from_name);
  SetPicked(n);
}

void ClickEntry::SetPicked(std::int16_t square) {
  fields_.pick_state = square != 0 ? PickState::kPicked : PickState::kIdle;
  surface_.SetPicked(square);
  surface_.SetDestinations(Destinations());
}

void ClickEntry::SetLegalMoves(std::vector<MoveText> moves) {
  legal_moves_ = std::move(moves);
  surface_.SetDestinations(Destinations());
}

void ClickEntry::ShowDestinations(bool show) {
  show_destinations_ = show;
  surface_.SetDestinations(Destinations());
}

bool ClickEntry::Listed(Square from, std::optional<Square> to) const {
  if (legal_moves_.empty()) return true;
  for (const MoveText& move : legal_moves_) {
    if (move.from == from && (!to || move.to == *to)) return true;
  }
  return false;
}

std::uint64_t ClickEntry::Destinations() const {
  const std::int16_t picked = surface_.Picked();
  if (!show_destinations_ || picked == 0) return 0;
  std::uint64_t bits = 0;
  for (const MoveText& move : legal_moves_) {
    if (move.from == SquareOf(picked)) bits |= std::uint64_t{1} << (SquareNumber(move.to) - 1);
  }
  return bits;
}

void ClickEntry::UnlistedClick(std::int16_t n) {
  const Square from{fields_.from_row, fields_.from_col};
  const Square to = SquareOf(n);
  if (board_.Cell(to) != kEmptyCell && Listed(to)) {
    // The lifted piece goes back to its square; the clicked one is lifted.
    surface_.SetPicture(SquareNumber(from), surface_.PictureOf(0));
    FirstClick(n);
    return;
  }
  surface_.Announce(AnnounceNotLegal(fields_.moving_piece, from, to));
}

void ClickEntry::DestinationClick(std::int16_t n) {
  const EntryFields before = fields_;
  const Square to = SquareOf(n);
  // The picked piece's own square is the put-back, never filtered.
  if (to != Square{fields_.from_row, fields_.from_col} &&
      !Listed({fields_.from_row, fields_.from_col}, to)) {
    UnlistedClick(n);
    return;
  }
  fields_.to_row = to.row;
  fields_.to_col = to.col;
  bool promoted = false;
  if (const auto panel = PromotionPanel(fields_.moving_piece, to.row)) {
    // A pawn put back on the last row it stands on makes no move: there is nothing to promote,
    // and no choice may later complete a move the host was never asked about.
    if (rules_.chooser && to == Square{fields_.from_row, fields_.from_col}) {
      return PutDown(n, before, false);
    }
    if (rules_.chooser) return OpenChooser(n, before);
    if (!Prompt(*panel)) {
      AbandonMove();
      return;
    }
    promoted = true;
  }
  PutDown(n, before, promoted);
}

void ClickEntry::PutDown(std::int16_t n, const EntryFields& before, bool promoted) {
  const Square to = SquareOf(n);
  const char16_t lifted = before.moving_piece;
  const Square moving_from{fields_.from_row, fields_.from_col};
  if (rules_.move_veto && moving_from != to &&
      !listener_.AllowsMove(moving_from, to, promoted ? fields_.moving_piece : char16_t{0})) {
    fields_ = before;
    return;
  }
  if (fields_.moving_piece == u'K' || fields_.moving_piece == u'k') {
    fields_.castle_done = false;
    TryCastle();
    if (fields_.castle_done) {
      SetPicked(0);
      if (rules_.move_notice) listener_.MoveMade({moving_from, to});
      if (rules_.whole_moves) ShowMove(moving_from, to, 0);
      return;
    }
  }
  surface_.SetPicture(n, surface_.PictureOf(0));
  SetPicked(0);
  const Square from{fields_.from_row, fields_.from_col};
  char16_t captured = board_.Cell(to);
  const auto passed = rules_.whole_moves ? PassedPawn(board_, lifted, from, to) : std::nullopt;
  board_.SetCell(from, kEmptyCell);
  board_.SetCell(to, fields_.moving_piece);
  if (passed) {
    captured = board_.Cell(*passed);
    board_.SetCell(*passed, kEmptyCell);
  }
  // The picked piece still shows on its square, and a taken pawn on its own.
  if (promoted || rules_.whole_moves) DrawBoard(board_, surface_);
  const char16_t promoted_to = promoted ? fields_.moving_piece : char16_t{0};
  if (const auto words = AnnounceMove(lifted, captured, from, to, promoted_to)) {
    surface_.Announce(*words);
  }
  if (rules_.move_notice && from != to) listener_.MoveMade({from, to});
  ShowMove(from, to, promoted_to);
}

void ClickEntry::ShowMove(Square from, Square to, char16_t promotion) {
  get_move_.Set(SquareName(from) + u"-" + SquareName(to));
  if (from == to) {
    put_move_.Set(u"");
  } else if (rules_.whole_moves) {
    listener_.MoveCompleted({from, to}, promotion);
  }
}

void ClickEntry::TryCastle() {
  if (fields_.to_row != fields_.from_row) return;
  const auto row = CastledRow(board_.RowText(fields_.from_row), fields_.moving_piece,
                              fields_.to_col - fields_.from_col);
  if (!row) return;
  board_.SetRow(fields_.from_row, *row);
  DrawBoard(board_, surface_);
  fields_.castle_done = true;
  surface_.Announce(
      AnnounceCastling(fields_.moving_piece, fields_.from_row, fields_.to_col - fields_.from_col));
}

bool ClickEntry::Prompt(ControlName panel) {
  FlagScope waiting(prompt_open_);
  surface_.SetVisible(panel, true);
  surface_.SetVisible(ControlName::kPromptBackdrop, true);
  focus_.PromptToggled();
  fields_.promotion_chosen = false;
  bool closing = false;
  while (!fields_.promotion_chosen && !closing) closing = forms_.ProcessPendingEvents();
  surface_.SetVisible(panel, false);
  surface_.SetVisible(ControlName::kPromptBackdrop, false);
  focus_.PromptToggled();
  return fields_.promotion_chosen;
}

void ClickEntry::OpenChooser(std::int16_t n, const EntryFields& before) {
  chooser_before_ = before;
  surface_.SetChooser(n);
  focus_.PromptToggled();
}

bool ClickEntry::HideChooser() {
  if (!chooser_before_) return false;
  chooser_before_.reset();
  surface_.SetChooser(0);
  focus_.PromptToggled();
  return true;
}

void ClickEntry::CloseChooser() {
  if (HideChooser()) AbandonMove();
}

void ClickEntry::AbandonMove() {
  SetPicked(0);
  DrawBoard(board_, surface_);
}

}  // namespace velmora
