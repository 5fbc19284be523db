#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "view/canvas.h"
#include "view/display_list.h"
#include "view/painter.h"
#include "view/pixel_grid.h"
#include "view/recent_cache.h"

namespace velmora {

// The scale of a device context at its own pixels per inch (15 twips a pixel at 96), the
// surface's corner at the given device point.
DeviceScale DeviceScaleOf(HDC dc, int origin_x = 0, int origin_y = 0);
// A window's pixels per inch: its own where the system says (GetDpiForWindow), else its device
// context's.
int DpiOfWindow(HWND hwnd);

// The core's painting through GDI into any device context. Pieces are composited with per-pixel
// alpha from the core's planes. It keeps the fonts and piece bitmaps it made
// (pieces for the last few picture sizes), so one painter belongs to one window (or one drawing
// client) and outlives its paints.
class GdiPainter : public Canvas {
 public:
  GdiPainter() = default;
  ~GdiPainter() override;
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  // The piece sizes kept besides the one being painted.
  static constexpr std::size_t kPieceSizesKept = 3;

  // Paints what reaches into `dirty` (device pixels of `dc`).
  void PaintDisplayList(HDC dc, const DisplayList& list, const PixelGrid& grid,
                        const PixelBox& dirty);
  // Paints what the device context's clip box shows.
  void PaintDisplayList(HDC dc, const DisplayList& list, const PixelGrid& grid);

  // The picture sizes whose piece bitmaps are held, most recently painted first.
  std::vector<MaskSize> piece_sizes() const;

  void Fill(const PixelBox& box, Rgb colour) override;
  void TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) override;
  TextMetrics Measure(std::u16string_view text, const TextFont& font) override;
  void Text(std::u16string_view text, const TextFont& font, Rgb colour, int x, int baseline,
            const PixelBox& clip) override;
  void Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) override;
  void Layer(const ColourLayer& layer, const PixelBox& clip) override;
  void Piece(const PieceImage& image, Picture picture, const PixelBox& box, std::uint8_t opacity,
             const PixelBox& clip) override;

 private:
  // The twelve pieces at one picture size as premultiplied 32-bit bitmaps, made as painted.
  struct PieceBitmaps {
    MaskSize size;
    std::array<HBITMAP, kPieceCount> bitmaps{};
  };

  HFONT FontFor(const TextFont& font);
  // The face to ask GDI for: the first of the font's families the system has.
  const std::wstring& FaceFor(FontFace face);
  HBITMAP PieceBitmap(const PieceImage& image, Picture picture);
  // Blends a premultiplied 32-bit bitmap of `size` over `box`, only inside `clip`.
  void Blend(HBITMAP bitmap, MaskSize size, const PixelBox& box, std::uint8_t opacity,
             const PixelBox& clip);

  HDC dc_ = nullptr;  // while painting
  SurfacePainter painter_;
  // The fonts of the sizes painted lately: one paint uses three, so this holds the current
  // size and three before it.
  RecentCache<TextFont, HFONT> fonts_{12, [](HFONT& font) { DeleteObject(font); }};
  std::array<std::optional<std::wstring>, 3> faces_;  // by FontFace, once looked up
  std::deque<PieceBitmaps> pieces_;                   // most recently painted size first
};

}  // namespace velmora
