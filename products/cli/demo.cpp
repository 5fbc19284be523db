#include "products/cli/demo.h"

#include <string_view>

#include "board/failure.h"
#include "products/cli/session.h"
#include "products/cli/text_codec.h"

namespace velmora::cli {
namespace {

// Rows 1 to 8: both kings may castle, a white pawn waits on G7 with G8 free.
constexpr std::u16string_view kMiddleGame =
    u"R***K**R"
    u"PPP**PPP"
    u"**N*****"
    u"****P***"
    u"****p***"
    u"**n*****"
    u"pppp*pPp"
    u"r*bqkb*r";

class Demo {
 public:
  Demo(std::ostream& out, std::ostream& err)
      : out_(out), session_(out, err, ControlClass::kChessBoard) {}

  void Say(std::string_view comment) { out_ << "\n-- " << comment << '\n'; }
  // A further line of the comment Say began.
  void Note(std::string_view comment) { out_ << "   " << comment << '\n'; }

  void HostPutMove(std::u16string_view move) {
    out_ << "host sets PutMove = " << Quote(move) << '\n';
    session_.control().PutMove(std::u16string(move));
  }

  void HostPutPosition(std::u16string_view position) {
    out_ << "host sets PutPosition = " << Quote(position) << '\n';
    session_.control().PutPosition(std::u16string(position));
  }

  // The person's clicks wait in the input queue until the message loop runs them.
  void QueueClick(std::string_view square_name) {
    const auto square = ParseSquareName(static_cast<char16_t>(square_name[0]),
                                        static_cast<char16_t>(square_name[1]));
    session_.forms().Queue([this, square_name, n = SquareNumber(*square)](BoardControl& control) {
      out_ << "person clicks " << square_name << '\n';
      control.ClickSquare(n);
    });
  }

  void QueueChoice(std::int16_t k, std::string_view piece) {
    session_.forms().Queue([this, k, piece](BoardControl& control) {
      const bool open = control.surface().Chooser() != 0;
      out_ << "(the chooser over the board is " << (open ? "open" : "closed") << ")\n"
           << "person clicks the " << piece << '\n';
      control.ClickChoice(k);
    });
  }

  void RunInput() { session_.forms().RunPending(); }

  void Drag(std::string_view from, std::string_view to) {
    out_ << "person drags " << from << " to " << to << '\n';
    session_.Execute(DragOp{Square(from), Square(to)});
  }

  void HostCancelsMoves(bool cancel) {
    out_ << "host's BeforeMove handler " << (cancel ? "now sets Cancel = True" : "cancels no more")
         << '\n';
    session_.host().SetReply("Cancel", cancel ? std::optional<double>(1) : std::nullopt);
  }

  void HostSets(Property property, std::string_view name, std::u16string_view text) {
    out_ << "host sets " << name << " = " << Quote(text) << '\n';
    session_.Execute(SetOp{property, std::u16string(text)});
  }

  void HostSetsNumber(Property property, std::string_view name, std::int32_t value) {
    out_ << "host sets " << name << " = " << value << '\n';
    session_.Execute(SetOp{property, value});
  }

  void HostSetsTruth(Property property, std::string_view name, bool value) {
    out_ << "host sets " << name << " = " << (value ? "True" : "False") << '\n';
    session_.Execute(SetOp{property, value});
  }

  // Edit mode's gestures: a spare piece (its place as view/spare_pieces.h numbers it) dragged
  // onto a square, a board piece dragged off, a key typed on the focus square, a copy.
  void DragSpare(std::int16_t place, std::string_view piece, std::string_view to) {
    out_ << "person drags the spare " << piece << " to " << to << '\n';
    session_.Execute(SpareOp{place, true, Square(to)});
  }

  void DragOff(std::string_view from) {
    out_ << "person drags the piece on " << from << " off the board\n";
    session_.Execute(DragOp{Square(from), std::nullopt});
  }

  void Type(std::string_view key_name) {
    out_ << "person types " << key_name << '\n';
    session_.Execute(*ParseKeyName(key_name));
  }

  void Copy() {
    out_ << "person presses Ctrl+C\n";
    session_.Execute(CopyOp{});
  }

  void HostTurnsBoard(bool black_at_bottom) {
    HostSetsNumber(Property::kOrientation, "Orientation", black_at_bottom ? 1 : 0);
  }

  void HostResizes(int width, int height) {
    out_ << "the host's window gives the board " << width << " x " << height << " pixels\n";
    session_.Execute(ResizeOp{width, height});
  }

  // With Shift held the person's circle is red.
  void ShiftRightClick(std::string_view square) {
    out_ << "person right-clicks " << square << " with Shift held\n";
    session_.Execute(RightOp{Square(square), Square(square), 1});
  }

  // Lets the session's clock run, so pieces still sliding land.
  void Wait(std::int32_t ms) {
    out_ << "(" << ms << " ms pass)\n";
    session_.Execute(WaitOp{ms});
  }

  void Show(Property property) { out_ << FormatProperty(property, session_.control()) << '\n'; }

  void ShowBoard() {
    for (const std::string& row : BoardRows(session_.control().board()))
      out_ << "  " << row << '\n';
    out_ << "    ABCDEFGH\n";
  }

  bool Render(const std::string& path, double scale) {
    return session_.Execute(RenderOp{path, scale});
  }

 private:
  static std::int16_t Square(std::string_view name) {
    return SquareNumber(
        *ParseSquareName(static_cast<char16_t>(name[0]), static_cast<char16_t>(name[1])));
  }

  std::ostream& out_;
  Session session_;
};

// "board.png" and "-contrast" give "board-contrast.png".
std::string PicturePath(const std::string& png_path, std::string_view suffix) {
  const bool png = png_path.ends_with(".png");
  return png_path.substr(0, png_path.size() - (png ? 4 : 0)) + std::string(suffix) + ".png";
}

// The second scene: a position set up by hand in edit mode, drawn with its spare pieces in the
// third picture, then played from.
bool SetUpAPuzzle(Demo& demo, const std::string& png_path, double scale) {
  constexpr std::int16_t kWhiteQueenPlace = 7, kWhiteRookPlace = 8;
  demo.Say(
      "The host sets up a puzzle: brown, white at the bottom again, the black king behind his");
  demo.Note("pawns, the white king alone, no marks. In edit mode the spare pieces stand left and");
  demo.Note("right of the board: black's on the left, white's and the eraser on the right.");
  demo.HostTurnsBoard(false);
  demo.HostSetsNumber(Property::kTheme, "Theme", 0);
  demo.HostSets(Property::kFen, "Fen", u"6k1/5ppp/8/8/8/8/8/4K3 w - - 0 1");
  demo.HostSets(Property::kMarks, "Marks", u"");
  demo.HostSets(Property::kUserMarks, "UserMarks", u"");
  demo.HostSetsTruth(Property::kEditMode, "EditMode", true);

  demo.Say("The person drags a white rook from the spare pieces to A1 and a queen to D1, then");
  demo.Note("thinks better of the queen and drags it off the board. Each change raises");
  demo.Note("PositionEdited; no move is asked about.");
  demo.DragSpare(kWhiteRookPlace, "white rook", "A1");
  demo.DragSpare(kWhiteQueenPlace, "white queen", "D1");
  demo.DragOff("D1");

  demo.Say("A click with no spare piece armed only moves the focus; a letter key puts a piece");
  demo.Note("there, white, or black with Shift.");
  demo.QueueClick("B2");
  demo.RunInput();
  demo.Type("P");

  demo.Say("Ctrl+C copies the position as a whole record, castling read from the home squares.");
  demo.Copy();
  const std::string third = PicturePath(png_path, "-edit");
  if (!demo.Render(third, scale)) return false;
  demo.Note("The surface is drawn in " + third + ".");

  demo.Say("The host leaves edit mode; the person plays from the new position: the rook mates on");
  demo.Note("the back row.");
  demo.HostSetsTruth(Property::kEditMode, "EditMode", false);
  demo.Drag("A1", "A8");
  demo.ShowBoard();
  return true;
}

}  // namespace

bool RunDemo(std::ostream& out, std::ostream& err, const std::string& png_path, double scale) {
  Demo demo(out, err);
  out << "A short game on one ChessBoard. Lines starting with \"event\" and \"notice\" are what\n"
         "the host receives.\n";

  demo.Say("The host pushes two moves; each one raises Change before its notice.");
  demo.HostPutMove(u"E2-E4");
  demo.HostPutMove(u"E7-E5");

  demo.Say("The person moves a knight with two clicks: the first square, then the move.");
  demo.QueueClick("G1");
  demo.QueueClick("F3");
  demo.RunInput();
  demo.Show(Property::kGetMove);

  demo.Say("A click on an empty square with nothing picked does nothing.");
  demo.QueueClick("E3");
  demo.RunInput();

  demo.Say("The host turns the board: black at the bottom. The person, now black, drags a");
  out << "   knight where the turned board draws it; the last move's squares are tinted.\n";
  demo.HostTurnsBoard(true);
  demo.Drag("B8", "C6");
  demo.Show(Property::kLastMove);
  demo.HostTurnsBoard(false);

  demo.Say("The person drags a pawn: lifting it is a pick, dropping it the move.");
  demo.Drag("D2", "D4");
  demo.Show(Property::kGetMove);

  demo.Say("The host vetoes the next move in BeforeMove: the knight stays picked, no Change.");
  demo.HostCancelsMoves(true);
  demo.QueueClick("B1");
  demo.QueueClick("C3");
  demo.RunInput();
  demo.Show(Property::kGetMove);
  demo.HostCancelsMoves(false);
  demo.Say("A click on the picked square puts the knight back.");
  demo.QueueClick("B1");
  demo.RunInput();

  demo.Say("The host loads a whole position; it reads back empty once loaded.");
  demo.HostPutPosition(kMiddleGame);
  demo.Show(Property::kPutPosition);

  demo.Say("The person castles: king E1 to G1, and the rook jumps from H1 to F1.");
  demo.QueueClick("E1");
  demo.QueueClick("G1");
  demo.RunInput();
  demo.Say("GetMove reads the king's move, as AfterMove told it.");
  demo.Show(Property::kGetMove);

  demo.Say("The pawn on G7 reaches G8: the chooser shows the four pieces down the G file.");
  demo.QueueClick("G7");
  demo.QueueClick("G8");
  demo.QueueChoice(0, "queen");
  demo.RunInput();
  demo.Show(Property::kGetMove);

  demo.Say("The host answers with a move of its own and an engine's arrow: the queen eyes F2.");
  demo.HostPutMove(u"D8-H4");
  demo.HostSets(Property::kMarks, "Marks", u"Rh4f2");

  demo.Say("The queen takes on F2; the host says the white king is in check, and its engine's");
  out << "   arrow now shows the answer: the rook takes the queen.\n";
  demo.HostPutMove(u"H4-F2");
  demo.HostSets(Property::kCheckSquare, "CheckSquare", u"G1");
  demo.HostSets(Property::kMarks, "Marks", u"Gf1f2");

  demo.Say("The host lists the legal moves: the queen on G8 has none and cannot be picked; the");
  out << "   king's destinations are marked, a ring round the piece it may take, a dot on H1.\n";
  demo.HostSets(Property::kLegalMoves, "LegalMoves", u"G1-F2 G1-H1 F1-F2");
  demo.QueueClick("G8");
  demo.QueueClick("G1");
  demo.RunInput();
  demo.Say("The person circles the pawn on E5 in red with the right button.");
  demo.ShiftRightClick("E5");
  demo.Wait(200);

  demo.Say("The board now, row 8 first (upper case: white):");
  demo.ShowBoard();
  if (!demo.Render(png_path, scale)) return false;
  out << "\nThe surface is drawn in " << png_path << '\n';

  demo.Say("The host's window changes shape; the host picks the contrast theme for low vision and");
  out << "   turns the board: it fills the new size, black at the bottom.\n";
  demo.HostResizes(560, 360);
  demo.HostSetsNumber(Property::kTheme, "Theme", 4);
  demo.HostTurnsBoard(true);
  const std::string second = PicturePath(png_path, "-contrast");
  if (!demo.Render(second, scale)) return false;
  out << "\nThe surface is drawn in " << second << '\n';
  return SetUpAPuzzle(demo, png_path, scale);
}

}  // namespace velmora::cli
