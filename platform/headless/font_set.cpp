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
// Where Debian's fonts-dejavu-core and fonts-liberation put their files.
constexpr std::string_view kDebianFolders[] = {"/usr/share/fonts/truetype/dejavu/",
                                               "/usr/share/fonts/truetype/liberation/"};

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

std::string LocateFontFile(std::string_view file_name) {
  std::error_code error;
  for (const std::string_view folder : kDebianFolders) {
    const std::filesystem::path fixed = std::string(folder) + std::string(file_name);
    if (std::filesystem::is_regular_file(fixed, error)) return fixed.string();
  }
  std::filesystem::recursive_directory_iterator it(kFontRoot, error);
  for (const std::filesystem::recursive_directory_iterator end; !error && it != end;
       it.increment(error)) {
    if (it->path().filename() == file_name && it->is_regular_file(error)) {
      return it->path().string();
    }
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

FontSet::Face& FontSet::FaceFor(const TextFont& font) {
  for (const FontFamily& family : FamiliesOf(font.face)) {
    const std::string_view file = font.bold ? family.bold_file : family.regular_file;
    if (file.empty()) continue;
    auto located = located_.find(file);
    if (located == located_.end()) {
      located = located_.emplace(std::string(file), LocateFontFile(file)).first;
    }
    const std::string& path = located->second;
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
    if (slot->pixels != font.pixels) {
      FT_Set_Pixel_Sizes(slot->handle, 0, static_cast<FT_UInt>(font.pixels));
      slot->pixels = font.pixels;
    }
    return *slot;
  }
  throw Failure(Failure::kPlatform,
                "No font file stands in for this face (install fonts-dejavu-core "
                "and fonts-liberation)");
}

const LaidOutText& FontSet::Layout(std::u16string_view text, const TextFont& font) {
  return texts_.Get(std::make_pair(std::u16string(text), font), [&] { return LayOut(text, font); });
}

LaidOutText FontSet::LayOut(std::u16string_view text, const TextFont& font) {
  Face& face = FaceFor(font);
  const FT_Size_Metrics& size = face.handle->size->metrics;
  LaidOutText laid{{0, static_cast<int>(size.ascender >> 6),
                    static_cast<int>((size.ascender - size.descender) >> 6)},
                   {}};
  int pen = 0;
  for (const char32_t point : CodePoints(text)) {
    if (FT_Load_Char(face.handle, point, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot glyph = face.handle->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    GlyphImage image{pen + glyph->bitmap_left,
                     glyph->bitmap_top,
                     static_cast<int>(bitmap.width),
                     static_cast<int>(bitmap.rows),
                     {}};
    image.coverage.reserve(static_cast<std::size_t>(image.width) *
                           static_cast<std::size_t>(image.rows));
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* line = bitmap.buffer + row * static_cast<unsigned>(bitmap.pitch);
      image.coverage.insert(image.coverage.end(), line, line + bitmap.width);
    }
    laid.glyphs.push_back(std::move(image));
    pen += static_cast<int>(glyph->advance.x >> 6);
  }
  laid.metrics.width = pen;
  return laid;
}

}  // namespace velmora
