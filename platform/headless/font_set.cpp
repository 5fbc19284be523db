#include "platform/headless/font_set.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <string>
#include <system_error>

#include "board/failure.h"

namespace velmora {
namespace {

constexpr std::string_view kFontRoot = "/usr/share/fonts";

// Bold faces stand in for the bold design fonts. DejaVu Sans Bold at the design's 8.25 points
// also spaces the file letters' caption so each letter stands under its column.
std::vector<std::string> SansCandidates(bool bold) {
  if (bold) {
    return {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
            "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"};
  }
  return {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
          "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"};
}

// UTF-16 code units to code points; a lone surrogate shows as the replacement character.
std::vector<char32_t> CodePoints(std::u16string_view text) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      points.push_back(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      points.push_back(high || low ? char32_t{0xFFFD} : char32_t{unit});
    }
  }
  return points;
}

}  // namespace

std::vector<std::string> FontCandidates(const Font& font) {
  if (font.face == u"Times New Roman") {
    if (font.bold) {
      return {"/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf",
              "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"};
    }
    return {"/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf",
            "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"};
  }
  if (font.face == u"Napa Heavy SF") {
    // A heavy display face: the boldest sans there is, whatever the design's weight.
    return {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
            "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"};
  }
  return SansCandidates(font.bold);
}

std::string LocateFontFile(std::string_view candidate) {
  std::error_code error;
  const std::filesystem::path fixed(candidate);
  if (std::filesystem::is_regular_file(fixed, error)) return fixed.string();
  const auto name = fixed.filename();
  std::filesystem::recursive_directory_iterator it(kFontRoot, error);
  for (const std::filesystem::recursive_directory_iterator end; !error && it != end;
       it.increment(error)) {
    if (it->path().filename() == name && it->is_regular_file(error)) return it->path().string();
  }
  return {};
}

struct FontSet::Library {
  FT_Library handle = nullptr;
};

struct FontSet::Face {
  FT_Face handle = nullptr;
  int pixels = 0;
};

FontSet::FontSet() : library_(std::make_unique<Library>()) {
  if (FT_Init_FreeType(&library_->handle) != 0) {
    throw Failure(Failure::kPlatform, "FreeType could not be started");
  }
}

FontSet::~FontSet() {
  for (auto& [path, face] : faces_) FT_Done_Face(face->handle);
  FT_Done_FreeType(library_->handle);
}

FontSet::Face& FontSet::FaceFor(const Font& font, int pixels) {
  for (const std::string& candidate : FontCandidates(font)) {
    const std::string path = LocateFontFile(candidate);
    if (path.empty()) continue;
    auto& slot = faces_[path];
    if (!slot) {
      auto face = std::make_unique<Face>();
      if (FT_New_Face(library_->handle, path.c_str(), 0, &face->handle) != 0) {
        faces_.erase(path);
        continue;
      }
      slot = std::move(face);
    }
    if (slot->pixels != pixels) {
      FT_Set_Pixel_Sizes(slot->handle, 0, static_cast<FT_UInt>(pixels));
      slot->pixels = pixels;
    }
    return *slot;
  }
  throw Failure(Failure::kPlatform,
                "No font file stands in for this face (install fonts-dejavu-core "
                "and fonts-liberation)");
}

TextMetrics FontSet::Measure(const Font& font, int pixels, std::u16string_view text) {
  Face& face = FaceFor(font, pixels);
  const FT_Size_Metrics& size = face.handle->size->metrics;
  TextMetrics metrics{0, static_cast<int>(size.ascender >> 6),
                      static_cast<int>((size.ascender - size.descender) >> 6)};
  for (const char32_t point : CodePoints(text)) {
    if (FT_Load_Char(face.handle, point, FT_LOAD_DEFAULT) != 0) continue;
    metrics.width += static_cast<int>(face.handle->glyph->advance.x >> 6);
  }
  return metrics;
}

void FontSet::Draw(RgbImage& image, const Font& font, int pixels, std::u16string_view text, int x,
                   int baseline_y, Rgb colour, PixelRect clip) {
  Face& face = FaceFor(font, pixels);
  int pen = x;
  for (const char32_t point : CodePoints(text)) {
    if (FT_Load_Char(face.handle, point, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face.handle->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const int y = baseline_y - glyph->bitmap_top + static_cast<int>(row);
      if (y < clip.top || y >= clip.top + clip.height) continue;
      for (unsigned col = 0; col < bitmap.width; ++col) {
        const int px = pen + glyph->bitmap_left + static_cast<int>(col);
        if (px < clip.left || px >= clip.left + clip.width) continue;
        image.Blend(px, y, colour, bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col]);
      }
    }
    pen += static_cast<int>(glyph->advance.x >> 6);
  }
}

}  // namespace velmora
