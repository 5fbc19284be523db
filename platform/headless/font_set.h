#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/rgb_image.h"
#include "view/layout.h"

namespace velmora {

// The Debian font files that stand in for the design's faces, best first. Each is looked for at
// its usual path, then by file name anywhere under the system's font directories.
std::vector<std::string> FontCandidates(const Font& font);

// Where a candidate lives on this machine; empty when it is nowhere.
std::string LocateFontFile(std::string_view candidate);

// A clip rectangle in pixels; text outside it is not painted.
struct PixelRect {
  int left, top, width, height;
};

// Text metrics of one face at one pixel size.
struct TextMetrics {
  int width;   // advance of the whole text
  int ascent;  // baseline below the top of a line
  int height;  // line height
};

// Faces loaded with FreeType, shared by the paint calls of one renderer.
class FontSet {
 public:
  FontSet();
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // `pixels` is the em size. Throws Failure when no candidate face can be loaded.
  TextMetrics Measure(const Font& font, int pixels, std::u16string_view text);
  // Paints `text` with its baseline at `baseline_y`, starting at `x`.
  void Draw(RgbImage& image, const Font& font, int pixels, std::u16string_view text, int x,
            int baseline_y, Rgb colour, PixelRect clip);

 private:
  struct Library;
  struct Face;
  Face& FaceFor(const Font& font, int pixels);

  std::unique_ptr<Library> library_;
  std::map<std::string, std::unique_ptr<Face>> faces_;  // by file path
};

}  // namespace velmora
