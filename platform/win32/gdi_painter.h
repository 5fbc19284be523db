#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "view/display_list.h"
#include "view/pixel_grid.h"

namespace velmora {

// The scale of a device context at its own pixels per inch (15 twips a pixel at 96), the
// surface's corner at the given device point.
DeviceScale DeviceScaleOf(HDC dc, int origin_x = 0, int origin_y = 0);
// A window's pixels per inch: its own where the system says (GetDpiForWindow), else its device
// context's.
int DpiOfWindow(HWND hwnd);

// Paints display lists with GDI into any device context, every part where the core's pixel
// grid puts it. Pieces are composited with per-pixel alpha from the core's masks, never
// stretched. It keeps the fonts and piece bitmaps it made (pieces for the last few picture
// sizes), so one painter belongs to one window (or one drawing client) and outlives its
// paints.
class GdiPainter {
 public:
  GdiPainter() = default;
  ~GdiPainter();
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  // The piece sizes kept besides the one being painted.
  static constexpr std::size_t kPieceSizesKept = 3;

  void PaintDisplayList(HDC dc, const DisplayList& list, const PixelGrid& grid);

  // The picture sizes whose piece bitmaps are held, most recently painted first.
  std::vector<MaskSize> piece_sizes() const;

 private:
  // The twelve pieces at one picture size as premultiplied 32-bit bitmaps, made as painted.
  struct PieceBitmaps {
    MaskSize size;
    std::array<HBITMAP, kPieceCount> bitmaps{};
  };

  void PaintRectangle(HDC dc, const PaintCommand& command, const PixelGrid& grid);
  void PaintIcon(HDC dc, const PaintCommand& command, const PixelGrid& grid);
  void PaintText(HDC dc, const PaintCommand& command, const PixelGrid& grid);
  void PaintTextBox(HDC dc, const PaintCommand& command, const PixelGrid& grid);
  void PaintGroupFrame(HDC dc, const PaintCommand& command, const PixelGrid& grid);

  HFONT FontFor(HDC dc, const std::optional<Font>& font, const DeviceScale& scale);
  // The face to ask GDI for: the design's own when the system has it, else a close one.
  const std::wstring& FaceFor(HDC dc, std::u16string_view design_face);
  HBITMAP PieceBitmap(Picture picture, MaskSize size);

  std::map<std::tuple<std::wstring, int, bool>, HFONT> fonts_;
  std::map<std::u16string, std::wstring> faces_;
  std::deque<PieceBitmaps> pieces_;  // most recently painted size first
};

}  // namespace velmora
