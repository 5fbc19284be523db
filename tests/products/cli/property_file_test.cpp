#include "products/cli/property_file.h"

#include <gtest/gtest.h>

#include "products/cli/text_codec.h"

namespace velmora::cli {
namespace {

TEST(TextCodec, QuoteReadsBackEveryText) {
  const std::u16string texts[] = {u"",
                                  u"E2-E4",
                                  u"say \"hi\"\\ back",
                                  u"two\nlines\tand\r\x01\x7F",
                                  u"é€😀",
                                  std::u16string{u'a', char16_t(0xD800), u'b'},
                                  std::u16string{char16_t(0xDC00), char16_t(0xD83D)}};
  for (const std::u16string& text : texts) {
    const std::string quoted = Quote(text);
    std::size_t pos = 0;
    const Unquoted back = Unquote(quoted, pos);
    ASSERT_TRUE(back.text.has_value()) << quoted << ": " << back.error;
    EXPECT_EQ(*back.text, text) << quoted;
    EXPECT_EQ(pos, quoted.size());
  }
  EXPECT_EQ(Quote(std::u16string{u'x', char16_t(0xD800)}), "\"x\\uD800\"");
}

TEST(TextCodec, Utf8RejectsMalformedBytes) {
  EXPECT_EQ(FromUtf8("\xC3\xA9"), std::u16string(u"é"));
  for (const std::string_view bad : {"\xC3", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82"}) {
    EXPECT_FALSE(FromUtf8(bad).has_value());
  }
}

TEST(PropertyFile, RoundTripsAllThreeKinds) {
  const NamedValues values = {
      {u"Enabled", false},
      {u"GetMove", std::u16string(u"quote \" and \\ and\nnewline")},
      {u"PutMove", std::u16string{u'E', char16_t(0xDBFF), u'2'}},
      {u"PutPosition", std::u16string()},
      {u"Ratio", 0.1},
      {u"Count", -12.0},
  };
  const std::string text = FormatPropertyFile(values);
  const auto parsed = ParsePropertyFile(text);
  ASSERT_TRUE(std::holds_alternative<NamedValues>(parsed)) << text;
  EXPECT_EQ(std::get<NamedValues>(parsed), values);
}

TEST(PropertyFile, IsReadable) {
  EXPECT_EQ(FormatPropertyFile({{u"Enabled", true}, {u"PutMove", std::u16string(u"E2-E4")}}),
            "# velmora properties\nEnabled = True\nPutMove = \"E2-E4\"\n");
}

TEST(PropertyFile, CommentsAndBlanksAreSkipped) {
  const auto parsed = ParsePropertyFile("\n# saved\n  Enabled=False  \r\n\nGetMove = \"x\"\n");
  ASSERT_TRUE(std::holds_alternative<NamedValues>(parsed));
  EXPECT_EQ(std::get<NamedValues>(parsed),
            (NamedValues{{u"Enabled", false}, {u"GetMove", std::u16string(u"x")}}));
}

TEST(PropertyFile, FirstBadLineIsNamed) {
  struct Case {
    std::string_view text;
    int line;
  };
  for (const Case c : {Case{"Enabled = True\nGetMove \"x\"\n", 2}, Case{"Enabled = maybe\n", 1},
                       Case{"# ok\n\nPut Move = 1\n", 3}, Case{"GetMove = \"open\n", 1},
                       Case{"GetMove = \"x\" y\n", 1}, Case{"Count = 12abc\n", 1}}) {
    const auto parsed = ParsePropertyFile(c.text);
    const auto* error = std::get_if<PropertyFileError>(&parsed);
    ASSERT_NE(error, nullptr) << c.text;
    EXPECT_EQ(error->line, c.line) << c.text;
  }
}

}  // namespace
}  // namespace velmora::cli
