#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "view/display_list.h"
#include "view/recent_cache.h"

namespace velmora {

// Where the design's twips land on a device: pixels per twip on each axis and the device point
// of the surface's top-left corner.
struct PaintScale {
  double x = 1.0 / kTwipsPerPixel;
  double y = 1.0 / kTwipsPerPixel;
  int origin_x = 0;
  int origin_y = 0;

  // At the device's own pixels per inch (15 twips a pixel at 96), the surface at (0, 0).
  static PaintScale ForDevice(HDC dc);
  // The whole design stretched into `bounds`, as a container asks when it draws the control.
  static PaintScale ToFit(const RECT& bounds);

  int PixelX(std::int32_t twips) const;
  int PixelY(std::int32_t twips) const;
  // Edges are rounded one by one, so rectangles that share an edge in twips share it in pixels.
  RECT ToPixels(const Rect& twips) const;
  // A device point back to twips from the surface's top-left corner.
  Point ToTwips(int px, int py) const;
};

// Paints display lists with GDI into any device context. It keeps the icon bitmaps and the
// fonts of the last few sizes it made, so one painter belongs to one window (or one drawing
// client) and outlives its paints.
class GdiPainter {
 public:
  GdiPainter() = default;
  ~GdiPainter();
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  void PaintDisplayList(HDC dc, const DisplayList& list, const PaintScale& scale);

 private:
  // A picture as two bitmaps: the ink where the mask is opaque and black elsewhere, and the
  // mask, white where the picture is transparent.
  struct IconBitmaps {
    HBITMAP ink = nullptr;
    HBITMAP mask = nullptr;
  };

  void PaintRectangle(HDC dc, const PaintCommand& command, const PaintScale& scale);
  void PaintIcon(HDC dc, const PaintCommand& command, const PaintScale& scale);
  void PaintText(HDC dc, const PaintCommand& command, const PaintScale& scale);
  void PaintTextBox(HDC dc, const PaintCommand& command, const PaintScale& scale);
  void PaintGroupFrame(HDC dc, const PaintCommand& command, const PaintScale& scale);

  HFONT FontFor(HDC dc, const std::optional<Font>& font, const PaintScale& scale);
  // The face to ask GDI for: the design's own when the system has it, else a close one.
  const std::wstring& FaceFor(HDC dc, std::u16string_view design_face);
  const IconBitmaps* BitmapsFor(Picture picture);

  // The fonts of the sizes painted lately: one paint uses three, so this holds the current
  // size and three before it.
  RecentCache<std::tuple<std::wstring, int, bool>, HFONT> fonts_{
      12, [](HFONT& font) { DeleteObject(font); }};
  std::map<std::u16string, std::wstring> faces_;
  std::map<Picture, IconBitmaps> icons_;
};

}  // namespace velmora
