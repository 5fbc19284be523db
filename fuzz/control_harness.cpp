#include "fuzz/control_harness.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "board/failure.h"
#include "fuzz/input_texts.h"

namespace velmora::fuzz {
namespace {

// Host code may call back into the control from its handlers; deeper than this it stops, as
// any real host's recursion would have to.
constexpr int kMaxReactionDepth = 4;

constexpr std::u16string_view kKeys[] = {u"Enabled", u"GetMove", u"PutMove", u"PutPosition"};
constexpr std::u16string_view kChoiceLetters = u"QRBNqrbn";

bool IsColumnLetter(char16_t c) {
  return c >= u'A' && c <= u'H';
}
bool IsRowDigit(char16_t c) {
  return c >= u'1' && c <= u'8';
}

// The checks below decide validity on their own, so a fault in the control's parsing shows.
bool IsValidPosition(std::u16string_view text) {
  if (text.size() != 64) return false;
  for (char16_t c : text) {
    if (!IsCellCharacter(c)) return false;
  }
  return true;
}

bool IsOnBoardMove(std::u16string_view text) {
  return text.size() == 5 && IsColumnLetter(text[0]) && IsRowDigit(text[1]) &&
         IsColumnLetter(text[3]) && IsRowDigit(text[4]);
}

std::size_t IndexOf(std::int16_t row, std::int16_t col) {
  return static_cast<std::size_t>((row - 1) * 8 + (col - 1));
}

std::int16_t NumberOf(std::int16_t row, std::int16_t col) {
  return static_cast<std::int16_t>(IndexOf(row, col) + 1);
}

std::u16string NameOf(std::int16_t row, std::int16_t col) {
  return {static_cast<char16_t>(u'@' + col), static_cast<char16_t>(u'0' + row)};
}

// The board after one displacement: the from-cell empties, then its old character overwrites
// the to-cell.
std::u16string Displaced(std::u16string position, std::size_t from, std::size_t to,
                         char16_t piece) {
  position[from] = kEmptyCell;
  position[to] = piece;
  return position;
}

std::u16string AfterHostMove(const std::u16string& position, std::u16string_view text) {
  const std::size_t from =
      IndexOf(static_cast<std::int16_t>(text[1] - u'0'), static_cast<std::int16_t>(text[0] - u'@'));
  const std::size_t to =
      IndexOf(static_cast<std::int16_t>(text[4] - u'0'), static_cast<std::int16_t>(text[3] - u'@'));
  return Displaced(position, from, to, position[from]);
}

// The squares as a full repaint from `s.position` leaves them; the spare holder is kept.
void RepaintFromBoard(Snapshot& s) {
  for (std::size_t n = 1; n <= 64; ++n) s.pictures[n] = *PictureForCell(s.position[n - 1]);
}

const std::u16string& CellOf(const Snapshot& s, Property property) {
  switch (property) {
    case Property::kPutPosition:
      return s.put_position;
    case Property::kPutMove:
      return s.put_move;
    default:
      return s.get_move;
  }
}

std::u16string& CellOf(Snapshot& s, Property property) {
  return const_cast<std::u16string&>(CellOf(std::as_const(s), property));
}

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "\n*** invariant violated: %s\n", what);
  std::abort();
}

}  // namespace

void CheckingObserver::PictureChanged(std::int16_t square) {
  if (square < 1 || square > 64) Broken("a picture change was reported for no square");
}

void CheckingObserver::VisibilityChanged(ControlName control) {
  if (control != ControlName::kWhitePanel && control != ControlName::kBlackPanel &&
      control != ControlName::kPromptBackdrop) {
    Broken("a control other than the prompt changed its visibility");
  }
}

ControlHarness::ControlHarness() {
  CreateControl();
}

ControlHarness::~ControlHarness() = default;

void ControlHarness::CreateControl() {
  control_ = BoardControl::Create(forms_, host_);
  watch_ = control_;
  live_ = control_.get();
  forms_.Attach(control_);
  control_->SetSurfaceObserver(&observer_);
  // A person at the keyboard: the control has the focus, so keys move it and show its mark.
  control_->SurfaceFocus(true);
  // Until the first repaint the design's empty squares show the transparent icon.
  const Snapshot fresh = Take(*live_);
  may_differ_ = Mismatches(fresh);
  for (std::size_t n = 1; n <= 64; ++n) {
    if (may_differ_[n] &&
        (fresh.position[n - 1] != kEmptyCell || fresh.pictures[n] != Picture::kTransparent)) {
      Violation("a new control shows a square other than its cell", fresh);
    }
  }
}

void ControlHarness::Run(ByteReader& in) {
  while (!in.AtEnd()) Step(in);
}

void ControlHarness::Step(ByteReader& in) {
  switch (in.Choice(15)) {
    case 0:
      Write(Property::kPutPosition, DecodeText(in, HeldTexts()));
      break;
    case 1:
      Write(Property::kPutMove, DecodeText(in, HeldTexts()));
      break;
    case 2:
      Write(Property::kGetMove, DecodeText(in, HeldTexts()));
      break;
    case 3:
      ReadProperties();
      break;
    case 4: {
      const std::uint8_t pick = in.Byte();
      ClickSquare(pick < 224 ? static_cast<std::int16_t>(pick % 64 + 1)
                             : static_cast<std::int16_t>(in.Word()));
      break;
    }
    case 5:
      ClickChoice(static_cast<std::int16_t>(in.Choice(10) - 1));
      break;
    case 6:
      SurfaceEvent(in);
      break;
    case 7:
      SetEnabled(in.Flag());
      break;
    case 8:
      Refresh();
      break;
    case 9:
      SaveAndLoad(in);
      break;
    case 10:
      QueueInput(in);
      break;
    case 11:
      forms_.RunPending();
      break;
    case 12:
      ScriptReaction(in);
      break;
    case 13:
      if (in.Flag()) {
        arg_override_ = static_cast<std::int16_t>(in.Word());
      } else {
        arg_override_.reset();
      }
      break;
    default: {
      MemoryBag bag;
      for (std::u16string_view key : kKeys) {
        if (auto value = DecodeBagValue(in, HeldTexts())) bag.Set(key, std::move(*value));
      }
      Load(bag);
      break;
    }
  }
  if (!control_) {
    if (Alive()) Violation("the control outlived the host's last reference", Take(*live_));
    CreateControl();
  }
  if (!writes_.empty() || depth_ != 0) Broken("the harness lost track of nesting");
  CheckAll();
  if (Take(Live()).state == EntryState::kPrompting)
    Violation("a prompt outlived its click", Take(Live()));
}

std::array<std::u16string, 3> ControlHarness::HeldTexts() {
  BoardControl& control = Live();
  return {control.PutPosition(), control.PutMove(), control.GetMove()};
}

void ControlHarness::CheckAll() {
  const Snapshot now = Take(Live());
  CheckBoardRows(now);
  CheckEntryAndPanels(now);
  CheckPictures(now, may_differ_);
  CheckFocus(now, TakeFocus(Live()));
  for (const std::u16string* cell : {&now.get_move, &now.put_move, &now.put_position}) {
    if (cell->size() > longest_given_) Violation("a cell grew beyond any text it was given", now);
  }
}

void ControlHarness::AllSquaresMatch(const char* what) {
  const Snapshot now = Take(Live());
  if (Mismatches(now).any()) Violation(what, now);
  may_differ_.reset();
}

// --- property writes -----------------------------------------------------------------------

void ControlHarness::Write(Property property, std::u16string text) {
  longest_given_ = std::max(longest_given_, text.size());
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  const int changes = Changes();
  const std::size_t messages = forms_.messages().size();
  const int reactions = reactions_used_;
  const int notices = host_.notices();
  WriteInProgress write{std::nullopt, text, before};
  if (property == Property::kPutMove && text != before.put_move && IsOnBoardMove(text)) {
    write.expected_position = AfterHostMove(before.position, text);
  }
  writes_.push_back(std::move(write));
  switch (property) {
    case Property::kPutPosition:
      control.PutPosition(text);
      break;
    case Property::kPutMove:
      control.PutMove(text);
      break;
    case Property::kGetMove:
      control.GetMove(text);
      break;
  }
  if (Alive()) {
    // A host move whose text GetMove already held raises no Change: check it now.
    CheckPendingHostMove();
  }
  writes_.pop_back();
  if (!Alive()) return;
  if (host_.notices() <= notices) Violation("a property write sent no notice", Take(control));
  CheckWriteOutcome(property, text, before, changes, messages, reactions);
  CheckAll();
}

void ControlHarness::CheckPendingHostMove() {
  if (writes_.empty() || !writes_.back().expected_position) return;
  WriteInProgress& write = writes_.back();
  Snapshot expected = write.before;
  expected.position = *write.expected_position;
  RepaintFromBoard(expected);
  expected.put_move = write.text;
  expected.get_move = write.text;
  RequireSame("a host move did other than move one cell character and repaint", expected,
              Take(Live()));
  may_differ_.reset();
  write.expected_position.reset();
}

void ControlHarness::CheckWriteOutcome(Property property, const std::u16string& text,
                                       const Snapshot& before, int changes_before,
                                       std::size_t messages_before, int reactions_before) {
  const Snapshot now = Take(Live());
  const bool quiet = Changes() == changes_before;
  const std::size_t messages = forms_.messages().size() - messages_before;
  Snapshot expected = before;
  CellOf(expected, property) = text;
  if (text == CellOf(before, property)) {
    RequireSame("rewriting the text a cell holds ran something", before, now);
    if (!quiet || messages != 0) Violation("rewriting the text a cell holds told someone", now);
    return;
  }
  switch (property) {
    case Property::kPutPosition:
      if (!quiet) Violation("a position text raised Change", now);
      if (text.empty()) {
        RequireSame("an empty position text changed something", expected, now);
        if (messages != 0) Violation("an empty position text showed a message", now);
      } else if (!IsValidPosition(text)) {
        RequireSame("a rejected position text changed something", expected, now);
        const std::u16string_view message =
            text.size() != 64 ? u"Data Length Error" : u"Invalid Character In Piece Array";
        if (messages != 1 || forms_.messages().back() != message) {
          Violation("a rejected position text was not reported with its one message", now);
        }
      } else {
        expected.position = text;
        expected.put_position.clear();
        RepaintFromBoard(expected);
        RequireSame("a loaded position is not the text, repainted", expected, now);
        may_differ_.reset();
      }
      return;
    case Property::kPutMove:
      if (text == u"**") {
        expected.position = Board::Initial().PositionText();
        expected.put_position.clear();
        RepaintFromBoard(expected);
        RequireSame("a reset is not the initial position, repainted", expected, now);
        if (!quiet) Violation("a reset raised Change", now);
        may_differ_.reset();
      } else if (IsOnBoardMove(text)) {
        // Checked when its Change arrived; host code run since then writes properties only,
        // and every property write leaves the squares matching the board.
        AllSquaresMatch("the squares do not show the board after a host move");
      } else {
        RequireSame("a move text naming no two squares changed something", expected, now);
        if (!quiet || messages != 0)
          Violation("a move text naming no two squares told someone", now);
      }
      return;
    case Property::kGetMove:
      if (quiet) Violation("a new GetMove text raised no Change", now);
      if (reactions_used_ == reactions_before) {
        RequireSame("writing GetMove changed more than its text", expected, now);
      }
      return;
  }
}

void ControlHarness::ReadProperties() {
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  const int notices = host_.notices();
  const int changes = Changes();
  const bool enabled = control.Enabled();
  const auto texts = HeldTexts();
  if (enabled != before.enabled || texts[0] != before.put_position || texts[1] != before.put_move ||
      texts[2] != before.get_move) {
    Violation("a property read does not return its storage", before);
  }
  RequireSame("reading properties changed something", before, Take(control));
  if (host_.notices() != notices || Changes() != changes) {
    Violation("reading properties told the host", before);
  }
}

// --- clicks ---------------------------------------------------------------------------------

void ControlHarness::ClickSquare(std::int16_t n) {
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  const bool on_board = n >= 1 && n <= 64;
  const bool taken = on_board && before.enabled && before.state != EntryState::kPrompting;
  // The picked square shows nothing while its cell keeps the piece; a pick completed after the
  // host changed the board leaves its from-square as the host's repaint left it.
  if (taken && before.state == EntryState::kIdle) may_differ_.set(static_cast<std::size_t>(n));
  if (taken && before.state == EntryState::kPicked) {
    may_differ_.set(static_cast<std::size_t>(NumberOf(before.from_row, before.from_col)));
  }
  const std::size_t messages = forms_.messages().size();
  const int reactions = reactions_used_;
  const int disturbances = disturbances_;
  control.ClickSquare(n);
  if (!Alive()) return;
  const Snapshot now = Take(control);
  if (!taken) {
    RequireSame("an ignored square click changed something", before, now);
  } else if (before.state == EntryState::kIdle) {
    Snapshot expected = before;
    const auto at = static_cast<std::size_t>(n);
    expected.from_row = static_cast<std::int16_t>((n - 1) / 8 + 1);
    expected.from_col = static_cast<std::int16_t>((n - 1) % 8 + 1);
    const char16_t cell = before.position[at - 1];
    if (cell == kEmptyCell) {
      RequireSame("a first click on an empty square changed more than the from-square", expected,
                  now);
      if (forms_.messages().size() != messages + 1 || forms_.messages().back() != u"Empty Square") {
        Violation("a first click on an empty square was not reported", now);
      }
    } else if (reactions_used_ == reactions) {
      expected.pictures[0] = before.pictures[at];
      expected.pictures[at] = Picture::kNone;
      expected.moving_piece = cell;
      expected.pick_state = static_cast<std::int16_t>(PickState::kPicked);
      expected.state = EntryState::kPicked;
      expected.get_move = NameOf(expected.from_row, expected.from_col);
      RequireSame("a first click did not lift exactly its piece", expected, now);
    }
  } else if (CheckDestinationOutcome(
                 before, n, reactions_used_ == reactions && disturbances_ == disturbances)) {
    CheckAll();
    return;
  }
  const Snapshot after = Take(control);
  if (taken) may_differ_.set(static_cast<std::size_t>(NumberOf(after.from_row, after.from_col)));
  CheckAll();
}

bool ControlHarness::CheckDestinationOutcome(const Snapshot& before, std::int16_t n,
                                             bool undisturbed) {
  BoardControl& control = Live();
  const Snapshot now = Take(control);
  const auto to_row = static_cast<std::int16_t>((n - 1) / 8 + 1);
  const auto to_col = static_cast<std::int16_t>((n - 1) % 8 + 1);
  const char16_t moving = before.moving_piece;
  if (now.state != EntryState::kIdle) Violation("a destination click left the pick in force", now);

  Snapshot expected = before;
  expected.to_row = to_row;
  expected.to_col = to_col;
  expected.pick_state = static_cast<std::int16_t>(PickState::kIdle);
  expected.state = EntryState::kIdle;
  const std::size_t from = IndexOf(before.from_row, before.from_col);
  const std::size_t to = IndexOf(to_row, to_col);
  const std::u16string move_text =
      NameOf(before.from_row, before.from_col) + u"-" + NameOf(to_row, to_col);
  if (move_text.substr(0, 2) == move_text.substr(3)) expected.put_move.clear();

  const bool promotes = (moving == u'P' && to_row == 8) || (moving == u'p' && to_row == 1);
  if (promotes) {
    AllSquaresMatch("the squares do not show the board after a promotion");
    if (!undisturbed) return true;
    if (control.entry().promotion_chosen) {
      const std::u16string_view side =
          moving == u'P' ? kChoiceLetters.substr(0, 4) : kChoiceLetters.substr(4);
      if (side.find(now.moving_piece) == std::u16string_view::npos) {
        Violation("a pawn was promoted to a piece of the other side", now);
      }
      expected.moving_piece = now.moving_piece;
      expected.position = Displaced(before.position, from, to, now.moving_piece);
      expected.get_move = move_text;
    } else {
      expected.put_move = before.put_move;  // an abandoned move writes no text at all
    }
    RepaintFromBoard(expected);
    RequireSame(control.entry().promotion_chosen ? "a promotion did not put the chosen piece"
                                                 : "an abandoned promotion changed the board",
                expected, now);
    return true;
  }
  if ((moving == u'K' || moving == u'k') && control.entry().castle_done) {
    AllSquaresMatch("the squares do not show the board after a castling");
    for (std::size_t i = 0; i < 64; ++i) {
      if (i / 8 != from / 8 && now.position[i] != before.position[i]) {
        Violation("a castling changed another row", now);
      }
    }
    expected.position = now.position;
    expected.put_move = before.put_move;
    RepaintFromBoard(expected);
    RequireSame("a castling wrote a move text or kept the pick", expected, now);
    return true;
  }
  if (!undisturbed) return false;
  expected.position = Displaced(before.position, from, to, moving);
  expected.pictures[static_cast<std::size_t>(n)] = before.pictures[0];
  expected.get_move = move_text;
  RequireSame("a click move did not put the picked piece down", expected, now);
  return false;
}

void ControlHarness::ClickChoice(std::int16_t k) {
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  const bool shown =
      before.enabled && k >= 0 && k <= 7 && (k < 4 ? before.white_panel : before.black_panel);
  control.ClickChoice(k);
  const Snapshot now = Take(control);
  Snapshot expected = before;
  if (shown) {
    expected.moving_piece = kChoiceLetters[static_cast<std::size_t>(k)];
    if (!control.entry().promotion_chosen) Violation("a shown choice ended no prompt", now);
  }
  RequireSame(shown ? "a choice did not take its letter" : "a choice that was not shown was taken",
              expected, now);
  CheckAll();
}

// --- surface, enabled, refresh --------------------------------------------------------------

// Arrows, Home/End, PageUp/PageDown, Space, Enter, the four choice letters, and two keys the
// control leaves alone (Tab, Escape).
constexpr std::int16_t kFuzzKeys[] = {0x25, 0x26, 0x27, 0x28, 0x24, 0x23, 0x21, 0x22,
                                      0x20, 0x0D, 'Q',  'R',  'B',  'N',  0x09, 0x1B};

void ControlHarness::SurfaceEvent(ByteReader& in) {
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  std::int16_t first = static_cast<std::int16_t>(in.Word());
  std::int16_t second = static_cast<std::int16_t>(in.Word());
  float x = static_cast<float>(static_cast<std::int16_t>(in.Word())) / 3.0f;
  float y = static_cast<float>(in.Word());
  const auto kind = static_cast<EventId>(in.Choice(8) + 1);
  // Most key codes are the control's own keys, so keys move the focus and make moves.
  if ((kind == EventId::kKeyDown || kind == EventId::kKeyUp) && first >= 0) {
    first = kFuzzKeys[static_cast<std::size_t>(first) % std::size(kFuzzKeys)];
    second = static_cast<std::int16_t>(second & 7);
  }
  const FocusView focus_before = TakeFocus(control);
  // Space or Enter on the board is a click on the focus square, with what a mouse click on it
  // may leave showing other than its cell (see ClickSquare).
  const auto clicks = [](std::int16_t key) { return key == 0x20 || key == 0x0D; };
  // The key the control acts on is the one the host's KeyDown handler leaves in the argument.
  const std::int16_t key_acted_on = arg_override_.value_or(first);
  const bool may_click = kind == EventId::kKeyDown && before.enabled &&
                         before.state != EntryState::kPrompting && clicks(key_acted_on);
  // They are marked once the host's KeyDown handler has run (see OnEvent): a write there may
  // repaint the whole board, and the key clicks after it.
  if (may_click) {
    key_click_squares_.set(static_cast<std::size_t>(focus_before.square));
    if (before.state == EntryState::kPicked) {
      key_click_squares_.set(static_cast<std::size_t>(NumberOf(before.from_row, before.from_col)));
    }
  }
  const int raised = raised_[static_cast<std::size_t>(kind)];
  const int reactions = reactions_used_;
  bool acted = false;
  switch (kind) {
    case EventId::kClick:
      control.SurfaceClick();
      break;
    case EventId::kDblClick:
      control.SurfaceDblClick();
      break;
    case EventId::kKeyDown:
      acted = control.SurfaceKeyDown(first, second);
      key_click_squares_.reset();
      break;
    case EventId::kKeyPress:
      control.SurfaceKeyPress(first);
      break;
    case EventId::kKeyUp:
      control.SurfaceKeyUp(first, second);
      break;
    case EventId::kMouseDown:
      control.SurfaceMouseDown(first, second, x, y);
      break;
    case EventId::kMouseMove:
      control.SurfaceMouseMove(first, second, x, y);
      break;
    default:
      control.SurfaceMouseUp(first, second, x, y);
      break;
  }
  if (!Alive()) return;
  if (acted && may_click) {
    const Snapshot after = Take(control);
    may_differ_.set(static_cast<std::size_t>(NumberOf(after.from_row, after.from_col)));
  }
  const bool has_args = kind != EventId::kClick && kind != EventId::kDblClick;
  if (!before.enabled) {
    RequireSame("a surface event while disabled changed something", before, Take(control));
    if (!(TakeFocus(control) == focus_before))
      Violation("a surface event while disabled moved the focus", before);
    if (raised_[static_cast<std::size_t>(kind)] != raised)
      Violation("a disabled surface raised an event", before);
  } else {
    if (raised_[static_cast<std::size_t>(kind)] != raised + 1) {
      Violation("a surface event did not reach the host once", before);
    }
    if (has_args && arg_override_ && first != *arg_override_) {
      Violation("the host's write to an event argument did not reach the surface", before);
    }
    // Nothing but an acted-on KeyDown changes anything; a click on the surface hides the mark.
    if (reactions_used_ == reactions && !acted) {
      RequireSame("a surface event changed the control", before, Take(control));
      FocusView focus_expected = focus_before;
      if (kind == EventId::kClick) focus_expected.mark = 0;
      if (!(TakeFocus(control) == focus_expected))
        Violation("a surface event moved the focus", before);
    }
  }
  CheckAll();
}

void ControlHarness::SetEnabled(bool enabled) {
  BoardControl& control = Live();
  Snapshot expected = Take(control);
  const int notices = host_.notices();
  control.Enabled(enabled);
  expected.enabled = enabled;
  RequireSame("writing Enabled changed more than the surface's state", expected, Take(control));
  if (host_.notices() != notices + 1) Violation("writing Enabled sent no notice", expected);
  CheckAll();
}

void ControlHarness::Refresh() {
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  const int repaints = forms_.repaints();
  control.Refresh();
  RequireSame("Refresh changed what the squares show", before, Take(control));
  if (forms_.repaints() != repaints + 1) Violation("Refresh did not repaint once", before);
}

// --- saved properties -----------------------------------------------------------------------

void ControlHarness::SaveAndLoad(ByteReader& in) {
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  MemoryBag saved;
  control.SaveProperties(saved);
  RequireSame("saving changed something", before, Take(control));
  const PropertyValue expected[] = {before.enabled, before.get_move, before.put_move,
                                    before.put_position};
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (!saved.Has(kKeys[i]) || !(saved.Get(kKeys[i]) == expected[i])) {
      Violation("a saved value is not the property's value", before);
    }
  }
  // Hand back what was saved, with any value left out or replaced by one of any kind.
  MemoryBag handed_back;
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (in.Flag()) {
      handed_back.Set(kKeys[i], saved.Get(kKeys[i]));
    } else if (auto value = DecodeBagValue(in, HeldTexts())) {
      handed_back.Set(kKeys[i], std::move(*value));
    }
  }
  Load(handed_back);
}

void ControlHarness::Load(MemoryBag& bag) {
  for (const auto& [key, value] : bag.values()) {
    if (const auto* text = std::get_if<std::u16string>(&value)) {
      longest_given_ = std::max(longest_given_, text->size());
    }
  }
  BoardControl& control = Live();
  const Snapshot before = Take(control);
  const int notices = host_.notices();
  const int reactions = reactions_used_;
  bool failed = false;
  try {
    control.LoadProperties(bag);
  } catch (const Failure& failure) {
    if (failure.code() != Failure::kTypeMismatch)
      Violation("a load failed other than by type", before);
    failed = true;
  }
  if (!Alive()) return;
  const auto& reads = bag.reads();
  if (reads.size() > std::size(kKeys) || (!failed && reads.size() != std::size(kKeys))) {
    Violation("a load did not read the four values", before);
  }
  for (std::size_t i = 0; i < reads.size(); ++i) {
    if (reads[i] != kKeys[i]) Violation("a load read its values out of order", before);
  }
  // A value that cannot be converted ends the load there; nothing after it is touched.
  if (reactions_used_ == reactions && host_.notices() != notices) {
    Violation("loading sent a property-changed notice", before);
  }
  if (failed && reads.size() == 1) {
    RequireSame("a load that failed at Enabled changed something", before, Take(control));
  }
  CheckAll();
}

// --- input queued for the message loop ------------------------------------------------------

void ControlHarness::QueueInput(ByteReader& in) {
  switch (in.Choice(6)) {
    case 0: {
      const auto n = static_cast<std::int16_t>(in.Byte() % 64 + 1);
      forms_.Queue([this, n](BoardControl&) { ClickSquare(n); });
      break;
    }
    case 1: {
      const auto k = static_cast<std::int16_t>(in.Choice(10) - 1);
      forms_.Queue([this, k](BoardControl&) { ClickChoice(k); });
      break;
    }
    case 2: {
      const auto property = static_cast<Property>(in.Choice(3));
      std::u16string text = DecodeText(in, HeldTexts());
      forms_.Queue([this, property, text](BoardControl&) {
        ++disturbances_;
        Write(property, text);
      });
      break;
    }
    case 3:
      forms_.QueueClose();
      break;
    case 4: {
      const bool enabled = in.Flag();
      forms_.Queue([this, enabled](BoardControl&) {
        ++disturbances_;
        SetEnabled(enabled);
      });
      break;
    }
    default:
      forms_.Queue([this](BoardControl& control) {
        ++disturbances_;
        control.SurfaceClick();
        if (Alive()) CheckAll();
      });
      break;
  }
}

// --- the host's handlers --------------------------------------------------------------------

void ControlHarness::ScriptReaction(ByteReader& in) {
  Reaction reaction;
  switch (in.Choice(3)) {
    case 0:
      break;
    case 1:
      reaction.kind = Reaction::Kind::kWrite;
      reaction.property = static_cast<Property>(in.Choice(3));
      reaction.text = DecodeText(in, HeldTexts());
      break;
    default:
      reaction.kind = Reaction::Kind::kRelease;
      break;
  }
  reactions_.push_back(std::move(reaction));
}

void ControlHarness::OnEvent(EventId id, std::span<const EventArg> args) {
  ++raised_[static_cast<std::size_t>(id)];
  if (id == EventId::kChange) {
    CheckPendingHostMove();
  } else if (arg_override_ && !args.empty()) {
    if (auto* const* value = std::get_if<std::int16_t*>(&args.front())) **value = *arg_override_;
  }
  CheckAll();
  React();
  if (id == EventId::kKeyDown) may_differ_ |= key_click_squares_;
}

void ControlHarness::React() {
  if (depth_ >= kMaxReactionDepth || reactions_.empty()) return;
  Reaction reaction = std::move(reactions_.front());
  reactions_.pop_front();
  ++reactions_used_;
  ++depth_;
  switch (reaction.kind) {
    case Reaction::Kind::kWrite:
      Write(reaction.property, std::move(reaction.text));
      break;
    case Reaction::Kind::kRelease:
      control_.reset();
      break;
    case Reaction::Kind::kNothing:
      break;
  }
  --depth_;
}

}  // namespace velmora::fuzz
