#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "view/fonts.h"
#include "view/recent_cache.h"

namespace velmora {

// Where a font file the core names lives on this machine: Debian's folders for it first, then
// anywhere under the system's font folders; empty when it is nowhere.
std::string LocateFontFile(std::string_view file_name);

// One glyph's coverage, placed from the pen's start on the baseline.
struct GlyphImage {
  int left, top;  // top-left pixel: right of the pen's start, above the baseline
  int width, rows;
  std::vector<std::uint8_t> coverage;  // row by row
};

// A text laid out once in one font: its metrics and its glyphs, ready to blend.
struct LaidOutText {
  TextMetrics metrics{0, 0, 0};
  std::vector<GlyphImage> glyphs;
};

// Faces loaded with FreeType from the files the core's font table names, and the texts laid
// out lately (a repaint of two squares and the move display lays out nothing new).
class FontSet {
 public:
  FontSet();
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // Throws Failure when no file of the font's families can be loaded.
  const LaidOutText& Layout(std::u16string_view text, const TextFont& font);

 private:
  struct Library;
  struct Face;
  Face& FaceFor(const TextFont& font);
  LaidOutText LayOut(std::u16string_view text, const TextFont& font);

  std::unique_ptr<Library> library_;
  std::map<std::string, std::unique_ptr<Face>> faces_;  // by file path
  std::map<std::string, std::string, std::less<>> located_;
  RecentCache<std::pair<std::u16string, TextFont>, LaidOutText> texts_{32, [](LaidOutText&) {}};
};

}  // namespace velmora
