#include "products/cli/script.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "board/square.h"
#include "products/cli/text_codec.h"
#include "view/spare_pieces.h"

namespace velmora::cli {
namespace {

struct Token {
  std::string word;                      // as written, for a bare word
  std::optional<std::u16string> quoted;  // the text, for a quoted literal
};

struct Tokens {
  std::vector<Token> list;
  std::string error;
};

// Splits at blanks; a quoted literal is one token, and a bare word starting with "#" ends the
// line as a comment.
Tokens Tokenize(std::string_view line) {
  Tokens out;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i == line.size() || line[i] == '#') return out;
    if (line[i] == '"') {
      Unquoted literal = Unquote(line, i);
      if (!literal.text) return {{}, literal.error};
      if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        return {{}, "a quoted text must be followed by a blank"};
      }
      out.list.push_back({{}, std::move(literal.text)});
      continue;
    }
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] == '"') return {{}, "a quote inside a word; put the whole text in quotes"};
      ++i;
    }
    out.list.push_back({std::string(line.substr(start, i - start)), std::nullopt});
  }
}

std::string Shown(const Token& token) {
  return token.quoted ? Quote(*token.quoted) : "\"" + token.word + "\"";
}

std::optional<Property> ParseProperty(const Token& token) {
  if (token.quoted) return std::nullopt;
  const Member* member = FindMember(std::u16string(token.word.begin(), token.word.end()));
  if (member == nullptr || member->kind == MemberKind::kMethod) return std::nullopt;
  return member->id;
}

// The properties by name, the first class's before a ChessBoard's own.
std::string PropertyNames() {
  std::string first;
  std::string chess_board;
  for (const Member& member : kMembers) {
    if (member.kind == MemberKind::kMethod) continue;
    std::string& names = member.chess_board_only ? chess_board : first;
    if (!names.empty()) names += ", ";
    names.append(member.name.begin(), member.name.end());
  }
  return first + ", and a ChessBoard's " + chess_board;
}

std::optional<bool> ParseTruth(const Token& token) {
  if (!token.quoted && token.word == "True") return true;
  if (!token.quoted && token.word == "False") return false;
  return std::nullopt;
}

template <typename Number>
std::optional<Number> ParseNumber(const Token& token) {
  if (token.quoted) return std::nullopt;
  Number value{};
  const char* first = token.word.data();
  const char* last = first + token.word.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

// A colour as "#rrggbb" (quoted: a bare "#" starts a comment) or the member's number.
std::optional<std::int32_t> ParseColour(const Token& token) {
  if (!token.quoted) return ParseNumber<std::int32_t>(token);
  const std::string text = ToUtf8(*token.quoted);
  std::uint32_t rgb = 0;
  const char* last = text.data() + text.size();
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data() + 1, last, rgb, 16);
  if (error != std::errc() || end != last) return std::nullopt;
  return ColourValue({static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                      static_cast<std::uint8_t>(rgb)});
}

constexpr std::string_view kNotUtf8 = "the text is not valid UTF-8";

// A quoted literal, or a bare word read as UTF-8.
std::optional<std::u16string> TextOf(const Token& token) {
  if (token.quoted) return token.quoted;
  return FromUtf8(token.word);
}

std::variant<MemberValue, std::string> ParseValue(Property property, const Token& token) {
  const Member& member = MemberOf(property);
  const std::string name(member.name.begin(), member.name.end());
  switch (member.kind) {
    case MemberKind::kBoolean:
      if (const auto truth = ParseTruth(token)) return MemberValue(*truth);
      return name + " takes True or False, not " + Shown(token);
    case MemberKind::kLong:
    case MemberKind::kEnumeration:
      if (const auto number = ParseNumber<std::int32_t>(token)) return MemberValue(*number);
      return name + " takes a whole number, not " + Shown(token);
    case MemberKind::kColour:
      if (const auto colour = ParseColour(token)) return MemberValue(*colour);
      return name + " takes \"#rrggbb\" or a whole number, not " + Shown(token);
    case MemberKind::kString:
    case MemberKind::kMethod:
      break;
  }
  const auto text = TextOf(token);
  if (!text) return std::string(kNotUtf8);
  return MemberValue(*text);
}

std::optional<std::int16_t> ParseSquare(const Token& token) {
  if (const auto n = ParseNumber<std::int16_t>(token)) {
    if (*n >= 1 && *n <= 64) return n;
    return std::nullopt;
  }
  if (token.quoted || token.word.size() != 2) return std::nullopt;
  const char letter = token.word[0] >= 'a' && token.word[0] <= 'h'
                          ? static_cast<char>(token.word[0] - 'a' + 'A')
                          : token.word[0];
  const auto square =
      ParseSquareName(static_cast<char16_t>(letter), static_cast<char16_t>(token.word[1]));
  if (!square) return std::nullopt;
  return SquareNumber(*square);
}

// "spare:7": a spare piece's place.
std::optional<std::int16_t> ParseSparePlace(const Token& token) {
  constexpr std::string_view kPrefix = "spare:";
  if (token.quoted || !token.word.starts_with(kPrefix)) return std::nullopt;
  const auto place = ParseNumber<std::int16_t>(Token{token.word.substr(kPrefix.size()), {}});
  if (!place || !IsSparePlace(*place)) return std::nullopt;
  return place;
}

std::string ParsePath(const Token& token) {
  if (!token.quoted) return token.word;
  return ToUtf8(*token.quoted);
}

constexpr std::array<EventId, 8> kSurfaceEvents = {
    EventId::kClick, EventId::kDblClick,  EventId::kKeyDown,   EventId::kKeyPress,
    EventId::kKeyUp, EventId::kMouseDown, EventId::kMouseMove, EventId::kMouseUp};

ParsedLine ParseEvent(const std::vector<Token>& t) {
  if (t.size() < 2) return ParseError{"event needs an event name"};
  for (const EventId id : kSurfaceEvents) {
    if (t[1].quoted || t[1].word != EventName(id)) continue;
    const auto names = EventArgumentNames(id);
    if (t.size() - 2 != names.size()) {
      return ParseError{"event " + t[1].word + " takes " + std::to_string(names.size()) +
                        " values, got " + std::to_string(t.size() - 2)};
    }
    EventOp op{id};
    for (std::size_t k = 0; k < names.size(); ++k) {
      const Token& token = t[k + 2];
      const bool coordinate = names[k] == "X" || names[k] == "Y";
      if (coordinate) {
        const auto value = ParseNumber<float>(token);
        if (!value)
          return ParseError{std::string(names[k]) + " must be a number, not " + Shown(token)};
        op.point[k - 2] = *value;
      } else {
        const auto value = ParseNumber<std::int16_t>(token);
        if (!value) {
          return ParseError{std::string(names[k]) +
                            " must be a whole number from -32768 to 32767, not " + Shown(token)};
        }
        op.whole[k] = *value;
      }
    }
    return Operation{op};
  }
  return ParseError{"unknown event " + Shown(t[1]) +
                    " (Click, DblClick, KeyDown, KeyPress, KeyUp, MouseDown, MouseMove, MouseUp)"};
}

struct NamedKey {
  std::string_view name;
  std::int16_t key_code;
  char16_t character;  // 0 for none; letters are given upper-case
};

constexpr NamedKey kNamedKeys[] = {
    {"Left", 0x25, 0},    {"Right", 0x27, 0},  {"Up", 0x26, 0},     {"Down", 0x28, 0},
    {"Home", 0x24, 0},    {"End", 0x23, 0},    {"PageUp", 0x21, 0}, {"PageDown", 0x22, 0},
    {"Space", 0x20, 32},  {"Enter", 0x0D, 13}, {"Q", 'Q', u'Q'},    {"R", 'R', u'R'},
    {"B", 'B', u'B'},     {"N", 'N', u'N'},    {"K", 'K', u'K'},    {"P", 'P', u'P'},
    {"C", 'C', u'C'},     {"V", 'V', u'V'},    {"Delete", 0x2E, 0}, {"Backspace", 0x08, 8},
    {"Escape", 0x1B, 27},
};

// The character a key makes with these modifiers, as a keyboard's translation gives it.
std::int16_t KeyCharacter(const NamedKey& key, std::int16_t shift) {
  const bool ctrl = (shift & 2) != 0;
  if (key.character >= u'A' && key.character <= u'Z') {
    if (ctrl) return static_cast<std::int16_t>(key.character - u'@');
    return static_cast<std::int16_t>((shift & 1) != 0 ? key.character : key.character + 32);
  }
  if (key.character == 13 && ctrl) return 10;
  return static_cast<std::int16_t>(key.character);
}

// Each verb's parser is given the whole line, the verb first: `t[0].word` names it in errors.
using Words = std::vector<Token>;

// The error for a verb given too few or too many arguments; none when the count fits.
std::optional<ParseError> CountError(const Words& t, std::size_t least, std::size_t most) {
  if (t.size() - 1 >= least && t.size() - 1 <= most) return std::nullopt;
  const std::string& op = t[0].word;
  if (least == most) {
    return ParseError{op + " takes " + std::to_string(least) + " argument" +
                      (least == 1 ? "" : "s") + ", got " + std::to_string(t.size() - 1)};
  }
  return ParseError{op + " takes " + std::to_string(least) + " to " + std::to_string(most) +
                    " arguments, got " + std::to_string(t.size() - 1)};
}

std::variant<Property, ParseError> PropertyOf(const Token& token) {
  if (const auto p = ParseProperty(token)) return *p;
  return ParseError{"unknown property " + Shown(token) + " (" + PropertyNames() + ")"};
}

// set and expect: a property and a value.
template <typename Op>
ParsedLine ParsePropertyValue(const Words& t) {
  if (auto e = CountError(t, 2, 2)) return *e;
  const auto p = PropertyOf(t[1]);
  if (const auto* e = std::get_if<ParseError>(&p)) return *e;
  auto value = ParseValue(std::get<Property>(p), t[2]);
  if (const auto* e = std::get_if<std::string>(&value)) return ParseError{*e};
  return Operation{Op{std::get<Property>(p), std::get<MemberValue>(value)}};
}

ParsedLine ParseGet(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  const auto p = PropertyOf(t[1]);
  if (const auto* e = std::get_if<ParseError>(&p)) return *e;
  return Operation{GetOp{std::get<Property>(p)}};
}

ParsedLine ParseClick(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  if (const auto place = ParseSparePlace(t[1])) {
    return Operation{SpareOp{*place, false, std::nullopt}};
  }
  const auto square = ParseSquare(t[1]);
  if (!square) {
    return ParseError{"click takes a square A1 to H8 or 1 to 64, or spare:0 to spare:12, not " +
                      Shown(t[1])};
  }
  return Operation{ClickOp{*square}};
}

ParsedLine ParseChoose(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  const auto k = ParseNumber<std::int16_t>(t[1]);
  if (!k || *k < 0 || *k > 7) return ParseError{"choose takes 0 to 7, not " + Shown(t[1])};
  return Operation{ChooseOp{*k}};
}

ParsedLine ParseReply(const Words& t) {
  if (auto e = CountError(t, 2, 2)) return *e;
  static constexpr std::array<std::string_view, 7> kArguments = {
      "KeyCode", "KeyAscii", "Shift", "Button", "X", "Y", "Cancel"};
  if (t[1].quoted ||
      std::find(kArguments.begin(), kArguments.end(), t[1].word) == kArguments.end()) {
    return ParseError{
        "reply names an event argument (KeyCode, KeyAscii, Shift, Button, X, Y, Cancel), not " +
        Shown(t[1])};
  }
  if (!t[2].quoted && t[2].word == "off") return Operation{ReplyOp{t[1].word, std::nullopt}};
  if (t[1].word == "Cancel") {
    const auto truth = ParseTruth(t[2]);
    if (!truth) return ParseError{"reply Cancel takes True, False or off, not " + Shown(t[2])};
    return Operation{ReplyOp{t[1].word, *truth ? 1.0 : 0.0}};
  }
  if (t[1].word == "X" || t[1].word == "Y") {
    const auto value = ParseNumber<float>(t[2]);
    if (!value) return ParseError{"reply takes a number or off, not " + Shown(t[2])};
    return Operation{ReplyOp{t[1].word, *value}};
  }
  const auto value = ParseNumber<std::int16_t>(t[2]);
  if (!value) {
    return ParseError{"reply takes a whole number from -32768 to 32767 or off, not " + Shown(t[2])};
  }
  return Operation{ReplyOp{t[1].word, *value}};
}

// drag, rclick (`click`) and rdrag: a square and the square a drag ends on or off; the right
// button's with a modifier last.
ParsedLine ParseGesture(const Words& t, bool right, bool click) {
  const std::string& op = t[0].word;
  const std::size_t squares = click ? 1 : 2;
  if (auto e = CountError(t, squares, right ? squares + 1 : squares)) return *e;
  const auto spare = right || click ? std::nullopt : ParseSparePlace(t[1]);
  const auto from = spare ? spare : ParseSquare(t[1]);
  const bool off = !click && !t[2].quoted && t[2].word == "off";
  const auto to = click ? from : off ? std::nullopt : ParseSquare(t[2]);
  if (!from || (!off && !to)) {
    return ParseError{click ? op + " takes a square, not " + Shown(t[1])
                            : op + " takes a square and a square or off, not " + Shown(t[1]) + " " +
                                  Shown(t[2])};
  }
  if (spare) return Operation{SpareOp{*spare, true, to}};
  if (!right) return Operation{DragOp{*from, to}};
  std::int16_t shift = 0;
  if (t.size() > squares + 1) {
    const Token& modifier = t[squares + 1];
    const std::string word = modifier.quoted ? std::string() : modifier.word;
    shift = word == "Shift" ? 1 : word == "Ctrl" ? 2 : word == "Alt" ? 4 : -1;
    if (shift < 0) return ParseError{op + " takes Shift, Ctrl or Alt last, not " + Shown(modifier)};
  }
  return Operation{RightOp{*from, to, shift}};
}

ParsedLine ParseWait(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  const auto ms = ParseNumber<std::int32_t>(t[1]);
  if (!ms || *ms < 0 || *ms > kLongestWait) {
    return ParseError{"wait takes milliseconds, 0 to " + std::to_string(kLongestWait) + ", not " +
                      Shown(t[1])};
  }
  return Operation{WaitOp{*ms}};
}

ParsedLine ParseResize(const Words& t) {
  if (auto e = CountError(t, 2, 2)) return *e;
  const auto width = ParseNumber<int>(t[1]);
  const auto height = ParseNumber<int>(t[2]);
  if (!width || !height || *width < 1 || *height < 1 || *width > kLargestSide ||
      *height > kLargestSide) {
    return ParseError{"resize takes a width and a height, 1 to " + std::to_string(kLargestSide) +
                      " pixels"};
  }
  return Operation{ResizeOp{*width, *height}};
}

// press, move and release: the left button at a device point.
template <PointerOp::Kind kind>
ParsedLine ParsePointer(const Words& t) {
  if (auto e = CountError(t, 2, 2)) return *e;
  const auto x = ParseNumber<int>(t[1]);
  const auto y = ParseNumber<int>(t[2]);
  if (!x || !y) return ParseError{t[0].word + " takes two whole numbers, device pixels at 96 dpi"};
  return Operation{PointerOp{kind, *x, *y}};
}

ParsedLine ParseKey(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  const auto key = t[1].quoted ? std::nullopt : ParseKeyName(t[1].word);
  if (!key) {
    return ParseError{
        "key takes Left, Right, Up, Down, Home, End, PageUp, PageDown, Space, "
        "Enter, Escape, Delete, Backspace, K, Q, R, B, N, P, C or V, with Ctrl+ and Shift+ in "
        "front, not " +
        Shown(t[1])};
  }
  return Operation{*key};
}

// accessible, refresh and board: the verb alone.
template <typename Op>
ParsedLine ParseBare(const Words& t) {
  if (auto e = CountError(t, 0, 0)) return *e;
  return Operation{Op{}};
}

// save and load: a file name.
template <typename Op>
ParsedLine ParseFileOp(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  const std::string path = ParsePath(t[1]);
  if (path.empty()) return ParseError{t[0].word + " needs a file name"};
  return Operation{Op{path}};
}

ParsedLine ParsePaste(const Words& t) {
  if (auto e = CountError(t, 1, 1)) return *e;
  const auto text = TextOf(t[1]);
  if (!text) return ParseError{std::string(kNotUtf8)};
  return Operation{PasteOp{*text}};
}

ParsedLine ParseRender(const Words& t) {
  if (auto e = CountError(t, 1, 2)) return *e;
  const std::string path = ParsePath(t[1]);
  if (path.empty()) return ParseError{"render needs a file name"};
  const auto scale = t.size() == 3 ? ParseNumber<double>(t[2]) : 1.0;
  if (!scale || !(*scale >= kSmallestRenderScale && *scale <= kLargestRenderScale)) {
    return ParseError{"render scale is 1 to 4, not " + Shown(t[2])};
  }
  return Operation{RenderOp{path, *scale}};
}

struct Verb {
  std::string_view name;
  ParsedLine (*parse)(const Words&);
};

constexpr Verb kVerbs[] = {
    {"set", ParsePropertyValue<SetOp>},
    {"get", ParseGet},
    {"expect", ParsePropertyValue<ExpectOp>},
    {"click", ParseClick},
    {"choose", ParseChoose},
    {"event", ParseEvent},
    {"reply", ParseReply},
    {"drag", [](const Words& t) { return ParseGesture(t, false, false); }},
    {"rclick", [](const Words& t) { return ParseGesture(t, true, true); }},
    {"rdrag", [](const Words& t) { return ParseGesture(t, true, false); }},
    {"wait", ParseWait},
    {"resize", ParseResize},
    {"press", ParsePointer<PointerOp::Kind::kPress>},
    {"move", ParsePointer<PointerOp::Kind::kMove>},
    {"release", ParsePointer<PointerOp::Kind::kRelease>},
    {"key", ParseKey},
    {"accessible", ParseBare<AccessibleOp>},
    {"refresh", ParseBare<RefreshOp>},
    {"board", ParseBare<BoardOp>},
    {"save", ParseFileOp<SaveOp>},
    {"load", ParseFileOp<LoadOp>},
    {"render", ParseRender},
    {"copy", ParseBare<CopyOp>},
    {"paste", ParsePaste},
};

ParsedLine ParseWords(const Words& t) {
  const Token& head = t[0];
  if (!head.quoted) {
    for (const Verb& verb : kVerbs) {
      if (verb.name == head.word) return verb.parse(t);
    }
  }
  return ParseError{"unknown operation " + Shown(head)};
}

}  // namespace

std::string_view EventName(EventId id) {
  // In the events' own numbering, from 1.
  static constexpr std::array<std::string_view, 13> kNames = {
      "Click",        "DblClick",  "KeyDown",       "KeyPress", "KeyUp",
      "MouseDown",    "MouseMove", "MouseUp",       "Change",   "BeforeMove",
      "MarksChanged", "AfterMove", "PositionEdited"};
  const auto index = static_cast<std::size_t>(id) - 1;
  return index < kNames.size() ? kNames[index] : "";
}

std::span<const std::string_view> EventArgumentNames(EventId id) {
  static constexpr std::array<std::string_view, 2> kKey = {"KeyCode", "Shift"};
  static constexpr std::array<std::string_view, 1> kAscii = {"KeyAscii"};
  static constexpr std::array<std::string_view, 4> kMouse = {"Button", "Shift", "X", "Y"};
  // BeforeMove's; AfterMove passes the first three.
  static constexpr std::array<std::string_view, 4> kMove = {"FromSquare", "ToSquare", "Promotion",
                                                            "Cancel"};
  // In the events' own numbering, from 1, as EventName.
  static constexpr std::array<std::span<const std::string_view>, 13> kByEvent = {
      {{}, {}, kKey, kAscii, kKey, kMouse, kMouse, kMouse, {}, kMove, {}, kMove, {}}};
  const auto index = static_cast<std::size_t>(id) - 1;
  return index < kByEvent.size() ? kByEvent[index] : std::span<const std::string_view>();
}

std::optional<KeyOp> ParseKeyName(std::string_view name) {
  std::int16_t shift = 0;
  while (true) {
    if (name.starts_with("Ctrl+") && (shift & 2) == 0) {
      shift |= 2;
      name.remove_prefix(5);
    } else if (name.starts_with("Shift+") && (shift & 1) == 0) {
      shift |= 1;
      name.remove_prefix(6);
    } else {
      break;
    }
  }
  for (const NamedKey& key : kNamedKeys) {
    if (key.name == name) return KeyOp{key.key_code, shift, KeyCharacter(key, shift)};
  }
  return std::nullopt;
}

ParsedLine ParseLine(std::string_view line) {
  const Tokens tokens = Tokenize(line);
  if (!tokens.error.empty()) return ParseError{tokens.error};
  if (tokens.list.empty()) return Blank{};
  return ParseWords(tokens.list);
}

}  // namespace velmora::cli
