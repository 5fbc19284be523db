#include "products/cli/script.h"

#include <gtest/gtest.h>

namespace velmora::cli {
namespace {

Operation Parsed(std::string_view line) {
  const ParsedLine parsed = ParseLine(line);
  const auto* op = std::get_if<Operation>(&parsed);
  EXPECT_NE(op, nullptr) << line;
  return op ? *op : Operation{BoardOp{}};
}

TEST(ScriptLine, BlankAndCommentLinesDoNothing) {
  for (const std::string_view line : {"", "   ", "\t", "# a comment", "   # indented"}) {
    EXPECT_TRUE(std::holds_alternative<Blank>(ParseLine(line))) << '"' << line << '"';
  }
}

TEST(ScriptLine, SetTakesBareAndQuotedTextsWithEscapes) {
  const auto bare = std::get<SetOp>(Parsed("set PutMove E2-E4"));
  EXPECT_EQ(bare.property, Property::kPutMove);
  EXPECT_EQ(std::get<std::u16string>(bare.value), u"E2-E4");
  const auto quoted = std::get<SetOp>(Parsed(R"(set GetMove "a \"b\" \\ \n\t\u00e9\uD800 c")"));
  EXPECT_EQ(std::get<std::u16string>(quoted.value), u"a \"b\" \\ \n\t\u00e9\xD800 c");
  const auto utf8 = std::get<SetOp>(Parsed("set PutPosition \"é€😀\""));
  EXPECT_EQ(std::get<std::u16string>(utf8.value), u"é€😀");
  EXPECT_EQ(std::get<std::u16string>(std::get<SetOp>(Parsed("set PutMove \"\"  # empty")).value),
            u"");
  EXPECT_TRUE(std::get<bool>(std::get<SetOp>(Parsed("set Enabled True")).value));
  EXPECT_FALSE(std::get<bool>(std::get<SetOp>(Parsed("set Enabled False")).value));
}

TEST(ScriptLine, SquaresByNameOrNumber) {
  EXPECT_EQ(std::get<ClickOp>(Parsed("click E2")).square, 13);
  EXPECT_EQ(std::get<ClickOp>(Parsed("click e2")).square, 13);
  EXPECT_EQ(std::get<ClickOp>(Parsed("click 64")).square, 64);
  EXPECT_EQ(std::get<ClickOp>(Parsed("click A1")).square, 1);
  EXPECT_EQ(std::get<ChooseOp>(Parsed("choose 7")).choice, 7);
}

TEST(ScriptLine, EventsCarryTheirArguments) {
  const auto key = std::get<EventOp>(Parsed("event KeyDown 65 1"));
  EXPECT_EQ(key.id, EventId::kKeyDown);
  EXPECT_EQ(key.whole[0], 65);
  EXPECT_EQ(key.whole[1], 1);
  const auto mouse = std::get<EventOp>(Parsed("event MouseUp 2 4 120.5 -3"));
  EXPECT_EQ(mouse.id, EventId::kMouseUp);
  EXPECT_EQ(mouse.whole[0], 2);
  EXPECT_EQ(mouse.point[0], 120.5f);
  EXPECT_EQ(mouse.point[1], -3.0f);
  EXPECT_EQ(std::get<EventOp>(Parsed("event Click")).id, EventId::kClick);
}

TEST(ScriptLine, FilesScaleAndReplies) {
  const auto render = std::get<RenderOp>(Parsed("render \"my board.png\" 2"));
  EXPECT_EQ(render.path, "my board.png");
  EXPECT_EQ(render.scale, 2);
  EXPECT_EQ(std::get<RenderOp>(Parsed("render b.png")).scale, 1);
  EXPECT_EQ(std::get<RenderOp>(Parsed("render b.png 1.25")).scale, 1.25);
  EXPECT_EQ(std::get<RenderOp>(Parsed("render b.png 4")).scale, 4);
  EXPECT_EQ(std::get<SaveOp>(Parsed("save p.txt")).path, "p.txt");
  EXPECT_EQ(std::get<ReplyOp>(Parsed("reply KeyAscii 0")).value, 0.0);
  EXPECT_FALSE(std::get<ReplyOp>(Parsed("reply X off")).value.has_value());
}

struct BadLine {
  std::string_view line;
  std::string_view says;  // part of the message
};

class MalformedLine : public testing::TestWithParam<BadLine> {};

TEST_P(MalformedLine, IsRejectedWithAReason) {
  const ParsedLine parsed = ParseLine(GetParam().line);
  const auto* error = std::get_if<ParseError>(&parsed);
  ASSERT_NE(error, nullptr) << GetParam().line;
  EXPECT_NE(error->what.find(GetParam().says), std::string::npos) << error->what;
}

INSTANTIATE_TEST_SUITE_P(
    All, MalformedLine,
    testing::Values(
        BadLine{"jump E2", "unknown operation \"jump\""},
        BadLine{"set PutMove \"E2-E4", "unterminated quote"},
        BadLine{"set PutMove \"a\\qb\"", "unknown escape \\q"},
        BadLine{"set PutMove \"\\u12\"", "four hexadecimal digits"},
        BadLine{"set PutMove \"ab\"cd", "followed by a blank"},
        BadLine{"set PutMove a\"b", "quote inside a word"},
        BadLine{"set Colour red", "unknown property \"Colour\""},
        BadLine{"set Enabled yes", "True or False"},
        BadLine{"set PutMove", "takes 2 arguments, got 1"},
        BadLine{"get", "takes 1 argument, got 0"}, BadLine{"click I9", "A1 to H8"},
        BadLine{"click 65", "A1 to H8"}, BadLine{"choose 8", "0 to 7"},
        BadLine{"event Wheel", "unknown event"}, BadLine{"event KeyPress", "takes 1 values, got 0"},
        BadLine{"event KeyPress 40000", "-32768 to 32767"},
        BadLine{"event MouseDown 1 0 x 3", "X must be a number"},
        BadLine{"reply Colour 1", "event argument"}, BadLine{"render b.png 0", "scale is 1 to 4"},
        BadLine{"render b.png 4.5", "scale is 1 to 4"},
        BadLine{"render b.png nan", "scale is 1 to 4"}, BadLine{"board now", "takes 0 arguments"},
        BadLine{"set GetMove \"\xff\"", "not valid UTF-8"}));

}  // namespace
}  // namespace velmora::cli

namespace velmora::cli {
namespace {

TEST(ScriptLine, KeysByNameWithModifiersAndTheirCharacters) {
  struct Case {
    std::string_view line;
    std::int16_t key_code, shift, key_ascii;
  };
  const Case cases[] = {
      {"key Left", 0x25, 0, 0},
      {"key Right", 0x27, 0, 0},
      {"key Up", 0x26, 0, 0},
      {"key Down", 0x28, 0, 0},
      {"key Home", 0x24, 0, 0},
      {"key End", 0x23, 0, 0},
      {"key PageUp", 0x21, 0, 0},
      {"key PageDown", 0x22, 0, 0},
      {"key Space", 0x20, 0, 32},
      {"key Enter", 0x0D, 0, 13},
      {"key Q", 0x51, 0, 'q'},
      {"key Shift+R", 0x52, 1, 'R'},
      {"key Ctrl+B", 0x42, 2, 2},
      {"key Ctrl+Shift+N", 0x4E, 3, 14},
      {"key Shift+Ctrl+Home", 0x24, 3, 0},
      {"key Ctrl+Enter", 0x0D, 2, 10},
  };
  for (const Case& c : cases) {
    const auto key = std::get<KeyOp>(Parsed(c.line));
    EXPECT_EQ(key.key_code, c.key_code) << c.line;
    EXPECT_EQ(key.shift, c.shift) << c.line;
    EXPECT_EQ(key.key_ascii, c.key_ascii) << c.line;
  }
}

TEST(ScriptLine, UnknownKeysAndArgumentsAreRefused) {
  for (const std::string_view line : {"key", "key Tab", "key q", "key Ctrl+Ctrl+Home", "key Alt+Q",
                                      "key \"Up\"", "key Up Down", "accessible now", "key Ctrl+"}) {
    EXPECT_TRUE(std::holds_alternative<ParseError>(ParseLine(line))) << line;
  }
  EXPECT_TRUE(std::holds_alternative<AccessibleOp>(Parsed("accessible")));
}

}  // namespace
}  // namespace velmora::cli
