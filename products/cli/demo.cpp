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
    session_.forms().Queue([this, square_name, n = SquareNumber(*square)](UserControl1& control) {
      out_ << "person clicks " << square_name << '\n';
      control.ClickSquare(n);
    });
  }

  void QueueChoice(std::int16_t k, std::string_view piece) {
    session_.forms().Queue([this, k, piece](UserControl1& control) {
      const bool open = control.surface().IsVisible(ControlName::kWhitePanel) ||
                        control.surface().IsVisible(ControlName::kBlackPanel);
      out_ << "(the \"Promote To?\" panel is " << (open ? "open" : "closed") << ")\n"
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

  void HostSetsLegalMoves(std::u16string_view moves) {
    out_ << "host sets LegalMoves = " << Quote(moves) << '\n';
    session_.Execute(SetOp{Property::kLegalMoves, {false, std::u16string(moves)}});
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

}  // namespace

bool RunDemo(std::ostream& out, std::ostream& err, const std::string& png_path, double scale) {
  Demo demo(out, err);
  out << "A short game on one ChessBoard. Lines starting with \"event\" and \"notice\" are what\n"
         "the host receives; \"message\" is a message box the person sees.\n";

  demo.Say("The host pushes two moves; each one raises Change before its notice.");
  demo.HostPutMove(u"E2-E4");
  demo.HostPutMove(u"E7-E5");

  demo.Say("The person moves a knight with two clicks: the first square, then the move.");
  demo.QueueClick("G1");
  demo.QueueClick("F3");
  demo.RunInput();
  demo.Show(Property::kGetMove);

  demo.Say("A click on an empty square is rejected with a message box.");
  demo.QueueClick("E3");
  demo.RunInput();

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
  demo.Say("A castling writes no move text: GetMove keeps the first click.");
  demo.Show(Property::kGetMove);

  demo.Say("The pawn on G7 reaches G8: the click waits for a choice of piece.");
  demo.QueueClick("G7");
  demo.QueueClick("G8");
  demo.QueueChoice(0, "queen");
  demo.RunInput();
  demo.Show(Property::kGetMove);

  demo.Say("The host answers with a move of its own.");
  demo.HostPutMove(u"D8-H4");

  demo.Say("The host lists the legal moves; the picked queen's destinations are marked, dots on");
  out << "   empty squares and rings round the pieces it may take; others are refused.\n";
  demo.HostSetsLegalMoves(u"G8-F8 G8-H8 G8-F7 G8-H7 G8-G7 G8-G6 G8-G5 G8-G4 G8-G3 C3-D5");
  demo.QueueClick("G8");
  demo.QueueClick("A2");
  demo.RunInput();

  demo.Say("The board now, row 8 first (upper case: white):");
  demo.ShowBoard();
  if (!demo.Render(png_path, scale)) return false;
  out << "\nThe surface is drawn in " << png_path << '\n';
  return true;
}

}  // namespace velmora::cli
