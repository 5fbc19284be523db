#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "view/layout.h"
#include "view/path.h"
#include "view/picture.h"
#include "view/rasterizer.h"

namespace velmora {

// Piece outlines live in a 48 x 48 unit box: at 96 dots per inch one unit is one pixel and the
// box fills a square's picture (720 twips). Coordinates run right and down from the box's
// top-left corner; all pieces stand on the same base, whose bottom edge is at 44.
inline constexpr double kArtBox = 48;
inline constexpr double kOutlineWidth = 1;  // units: the ink line round a white piece's body

// One silhouette per piece kind, drawn white or black from the same three paths (non-zero
// rule, every contour clockwise on the screen):
//   body    the whole figure;
//   inside  the body less its outline: a white piece's white;
//   detail  lines inside the body (seams, the bishop's cut, the knight's eye and mane): black
//           on a white piece, white on a black one, never touching the outline.
struct PieceArt {
  Path body;
  Path inside;
  Path detail;
};

// The art of a piece picture; nullptr for kNone and kTransparent, which show nothing.
const PieceArt* ArtFor(Picture picture);

// A piece rasterized at one pixel size, ready to composite over anything: `alpha` is how much
// of a pixel the piece covers, `white` how much of it is white ink (premultiplied, so never
// more than alpha). Over a colour c a pixel becomes c * (255 - alpha) / 255 + white.
struct PieceImage {
  MaskSize size{0, 0};
  std::vector<std::uint8_t> alpha;
  std::vector<std::uint8_t> white;

  std::size_t Offset(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) +
           static_cast<std::size_t>(x);
  }
};

// The piece's box scaled to `size` pixels; empty (no pixels) for a picture with no art.
PieceImage RasterizePiece(Picture picture, MaskSize size);

// The library's toolbox picture: 16 x 15 pixels, indexes into the standard 16-colour palette.
// Hand-made rows: at that size tuned pixels beat any rasterization.
struct ToolboxPicture {
  static constexpr int kWidth = 16;
  static constexpr int kHeight = 15;
  std::array<std::uint8_t, kWidth * kHeight> pixels;  // row by row, top row first
  std::array<Rgb, 16> palette;
};

const ToolboxPicture& Toolbox();

}  // namespace velmora
