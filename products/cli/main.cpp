// velmora: the control on the command line, without a screen.
#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "products/cli/demo.h"
#include "products/cli/script.h"
#include "products/cli/session.h"

namespace {

constexpr const char* kUsage = R"(usage:
  velmora demo [--png PATH] [--scale S]
                                      play a short game, write the board to PATH
                                      (default velmora-demo.png) at S times 96 dpi, 1 to 4
  velmora run [--keep-going] [--class ChessBoard] [--size WxH] [FILE]
                                      run a script from FILE, or stdin when none or "-", on a
                                      UserControl1, or a ChessBoard when told; a ChessBoard
                                      fills the size (default 400x400 pixels at 96 dpi)
  velmora --help

A script has one operation a line; blank lines and "#" comments are ignored:
  set <Property> <value>      Enabled True|False; GetMove, PutMove, PutPosition take a text.
                              A ChessBoard's too: DragEnabled, ShowLegalMoves, ShowLastMove
                              True|False; Orientation, AnimationTime, Theme, Coordinates a
                              number; LightSquareColor, DarkSquareColor "#rrggbb" or a number;
                              LegalMoves, LastMove, CheckSquare, Marks, UserMarks, Fen a text.
                              A value the control refuses prints  refused <reason>
  get <Property>              prints  Property = value
  expect <Property> <value>   fails the run when the property holds something else
  click <square>|spare:<n>    a click on a square: E2 or 1..64; or, in EditMode, on a spare
                              piece's place beside the board, which arms it: 0..5 the far
                              line's king queen rook bishop knight pawn, 6..11 the near
                              line's, 12 the eraser
  choose <0..7>               a click on a promotion choice
  key [Ctrl+][Shift+]<Key>    a key pressed and released: Left Right Up Down Home End PageUp
                              PageDown Space Enter Escape Delete Backspace K Q R B N P C V
                              (KeyDown, KeyPress, KeyUp)
  copy                        Ctrl+C on the control; prints  copied "<text>"  or
                              copied nothing  (in EditMode it copies the position as a FEN)
  paste <text>                the text put on the clipboard, then Ctrl+V on the control
  accessible                  what assistive technology is told: parts, names, states, focus
  event Click | DblClick | KeyDown <KeyCode> <Shift> | KeyPress <KeyAscii>
        | KeyUp <KeyCode> <Shift> | MouseDown|MouseMove|MouseUp <Button> <Shift> <X> <Y>
                              a surface event; prints what the arguments hold afterwards
  reply <Argument> <n>|off    the host's handler writes n into that argument of later events;
                              reply Cancel True|False|off answers BeforeMove (a ChessBoard's)
  drag <square>|spare:<n> <square>|off
                              a left-button drag from one square's middle, or a spare
                              piece's place, to another square's middle, or off the board
  press|move|release <x> <y>  the left button at a device pixel of the surface at 96 dpi;
                              a drag starts past 4 pixels
  rclick <square> [Shift|Ctrl|Alt]   a ChessBoard's circle mark: green, red, yellow, blue
  rdrag <square> <square>|off [Shift|Ctrl|Alt]   a right-button drag: an arrow mark
  wait <ms>                   the clock moves on: pieces slide (AnimationTime) with it
  resize <width> <height>     the surface's new size in pixels at 96 dpi
  refresh                     repaint
  save <file> | load <file>   the saved properties as a readable text file
  render <file.png> [scale]   the surface as PNG at 96 dpi times scale (1 to 4, e.g. 1.5)
  board                       the position, row 8 first
Texts are a bare word or "quoted" with \" \\ \n \t \r \uXXXX (one UTF-16 code unit).
While a promotion prompt waits, the following lines are its pending input.
Every completed move, loaded position and reset prints as  announce "<words>".
In EditMode every change the person makes prints  event PositionEdited.
)";

int Usage(std::ostream& out, int status) {
  out << kUsage;
  return status;
}

std::vector<std::string> ReadLines(std::istream& in) {
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// "400x300" as the box of that many pixels.
std::optional<velmora::PixelBox> ParseSize(std::string_view text) {
  const std::size_t cross = text.find('x');
  if (cross == std::string_view::npos) return std::nullopt;
  int width = 0, height = 0;
  const auto whole = [](std::string_view part, int& value) {
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    return error == std::errc() && end == part.data() + part.size() && value >= 1 &&
           value <= velmora::cli::kLargestSide;
  };
  if (!whole(text.substr(0, cross), width) || !whole(text.substr(cross + 1), height)) {
    return std::nullopt;
  }
  return velmora::PixelBox{0, 0, width, height};
}

int Run(const std::vector<std::string>& args) {
  bool keep_going = false;
  std::string file = "-";
  bool file_given = false;
  auto control_class = velmora::ControlClass::kUserControl1;
  velmora::PixelBox size = velmora::cli::Session::kDefaultSize;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--keep-going") {
      keep_going = true;
    } else if (arg == "--size" && i + 1 < args.size()) {
      const auto parsed = ParseSize(args[++i]);
      if (!parsed) {
        std::cerr << "velmora run: the size is WIDTHxHEIGHT, 1 to " << velmora::cli::kLargestSide
                  << " pixels each, not " << args[i] << '\n';
        return 2;
      }
      size = *parsed;
    } else if (arg == "--class" && i + 1 < args.size() &&
               (args[i + 1] == "ChessBoard" || args[i + 1] == "UserControl1")) {
      control_class = args[++i] == "ChessBoard" ? velmora::ControlClass::kChessBoard
                                                : velmora::ControlClass::kUserControl1;
    } else if (!file_given && (arg == "-" || arg.rfind("--", 0) != 0)) {
      file = arg;
      file_given = true;
    } else {
      std::cerr << "velmora run: unexpected argument " << arg << '\n';
      return Usage(std::cerr, 2);
    }
  }
  std::vector<std::string> lines;
  if (file == "-") {
    lines = ReadLines(std::cin);
  } else {
    std::ifstream in(file);
    if (!in) {
      std::cerr << "velmora run: cannot open " << file << '\n';
      return 2;
    }
    lines = ReadLines(in);
  }
  velmora::cli::Session session(std::cout, std::cerr, control_class, size);
  return session.Run(lines, keep_going) ? 0 : 1;
}

int Demo(const std::vector<std::string>& args) {
  std::string png = "velmora-demo.png";
  double scale = 1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--png" && i + 1 < args.size()) {
      png = args[++i];
    } else if (args[i] == "--scale" && i + 1 < args.size()) {
      const std::string& text = args[++i];
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
      if (error != std::errc() || end != text.data() + text.size() ||
          !(scale >= velmora::cli::kSmallestRenderScale &&
            scale <= velmora::cli::kLargestRenderScale)) {
        std::cerr << "velmora demo: the scale is 1 to 4, not " << text << '\n';
        return 2;
      }
    } else {
      std::cerr << "velmora demo: unexpected argument " << args[i] << '\n';
      return Usage(std::cerr, 2);
    }
  }
  return velmora::cli::RunDemo(std::cout, std::cerr, png, scale) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> all(argv + 1, argv + argc);
  if (all.empty()) return Usage(std::cerr, 2);
  const std::vector<std::string> rest(all.begin() + 1, all.end());
  if (all[0] == "--help" || all[0] == "-h" || all[0] == "help") return Usage(std::cout, 0);
  if (all[0] == "run") return Run(rest);
  if (all[0] == "demo") return Demo(rest);
  std::cerr << "velmora: unknown command " << all[0] << '\n';
  return Usage(std::cerr, 2);
}
