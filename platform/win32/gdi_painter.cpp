#include "platform/win32/gdi_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/win32/dib.h"
#include "view/artwork.h"

namespace velmora {
namespace {

constexpr double kTwipsPerInch = 1440.0;

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(HDC dc, const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

RECT ToRect(const PixelBox& box) {
  return {box.left, box.top, box.right, box.bottom};
}

// A piece as a 32-bit top-down bitmap with premultiplied alpha, as AlphaBlend takes it: grey
// ink (the white share in every channel) over its coverage.
HBITMAP PieceDib(const PieceImage& image) {
  const Dib dib = CreateTopDownDib(image.size.width, image.size.height);
  if (dib.bitmap == nullptr) return nullptr;
  for (std::size_t i = 0; i < image.alpha.size(); ++i) {
    const std::uint32_t white = image.white[i];
    dib.pixels[i] = (std::uint32_t{image.alpha[i]} << 24) | (white << 16) | (white << 8) | white;
  }
  return dib.bitmap;
}

}  // namespace

DeviceScale DeviceScaleOf(HDC dc, int origin_x, int origin_y) {
  return {GetDeviceCaps(dc, LOGPIXELSX) / kTwipsPerInch,
          GetDeviceCaps(dc, LOGPIXELSY) / kTwipsPerInch, origin_x, origin_y};
}

int DpiOfWindow(HWND hwnd) {
  // Windows 10 and Wine have GetDpiForWindow; older systems have only the device's figure.
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi != nullptr) {
    if (const UINT dpi = get_dpi(hwnd); dpi != 0) return static_cast<int>(dpi);
  }
  const HDC dc = GetDC(hwnd);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(hwnd, dc);
  return dpi;
}

GdiPainter::~GdiPainter() {
  for (const PieceBitmaps& set : pieces_) {
    for (const HBITMAP bitmap : set.bitmaps) DeleteObject(bitmap);
  }
}

std::vector<MaskSize> GdiPainter::piece_sizes() const {
  std::vector<MaskSize> sizes;
  for (const PieceBitmaps& set : pieces_) sizes.push_back(set.size);
  return sizes;
}

void GdiPainter::PaintDisplayList(HDC dc, const DisplayList& list, const PixelGrid& grid) {
  RECT clip;
  if (GetClipBox(dc, &clip) == ERROR) return;
  PaintDisplayList(dc, list, grid, {clip.left, clip.top, clip.right, clip.bottom});
}

void GdiPainter::PaintDisplayList(HDC dc, const DisplayList& list, const PixelGrid& grid,
                                  const PixelBox& dirty) {
  const int saved = SaveDC(dc);
  dc_ = dc;
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
  SelectObject(dc, GetStockObject(DC_BRUSH));
  // Whatever a paint throws, the device context gets its state back.
  struct Restore {
    GdiPainter& self;
    HDC dc;
    int saved;
    ~Restore() {
      self.dc_ = nullptr;
      RestoreDC(dc, saved);
    }
  } restore{*this, dc, saved};
  painter_.Paint(*this, grid, list, dirty);
}

void GdiPainter::Fill(const PixelBox& box, Rgb colour) {
  const RECT rect = ToRect(box);
  SetDCBrushColor(dc_, RGB(colour.r, colour.g, colour.b));
  FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiPainter::TranslucentFill(const PixelBox& box, Rgb colour, std::uint8_t opacity) {
  const Dib dib = CreateTopDownDib(1, 1);
  if (dib.bitmap == nullptr) return;
  dib.pixels[0] =
      0xFF000000u | (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
  Blend(dib.bitmap, {1, 1}, box, opacity, box);
  DeleteObject(dib.bitmap);
}

TextMetrics GdiPainter::Measure(std::u16string_view text, const TextFont& font) {
  // GDI measures in a moment and keeps the laid-out glyphs itself.
  SelectObject(dc_, FontFor(font));
  TEXTMETRICW face{};
  GetTextMetricsW(dc_, &face);
  const std::wstring wide = Wide(text);
  SIZE extent{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  return TextMetrics{static_cast<int>(extent.cx), static_cast<int>(face.tmAscent),
                     static_cast<int>(face.tmHeight)};
}

void GdiPainter::Text(std::u16string_view text, const TextFont& font, Rgb colour, int x,
                      int baseline, const PixelBox& clip) {
  SelectObject(dc_, FontFor(font));
  SetTextColor(dc_, RGB(colour.r, colour.g, colour.b));
  const RECT rect = ToRect(clip);
  const std::wstring wide = Wide(text);
  ExtTextOutW(dc_, x, baseline, ETO_CLIPPED, &rect, wide.c_str(), static_cast<UINT>(wide.size()),
              nullptr);
}

void GdiPainter::Mask(const CoverageMask& mask, Rgb colour, int x, int y, const PixelBox& clip) {
  const Dib dib = CreateTopDownDib(mask.size.width, mask.size.height);
  if (dib.bitmap == nullptr) return;
  for (std::size_t i = 0; i < mask.coverage.size(); ++i) {
    const std::uint32_t a = mask.coverage[i];
    dib.pixels[i] = (a << 24) | ((colour.r * a / 255) << 16) | ((colour.g * a / 255) << 8) |
                    (colour.b * a / 255);
  }
  Blend(dib.bitmap, mask.size, {x, y, x + mask.size.width, y + mask.size.height}, 255, clip);
  DeleteObject(dib.bitmap);
}

void GdiPainter::Layer(const ColourLayer& layer, const PixelBox& clip) {
  // Only the part inside the clip is converted.
  const PixelBox on = Intersection(layer.box, clip);
  if (IsEmpty(on)) return;
  const Dib dib = CreateTopDownDib(on.width(), on.height());
  if (dib.bitmap == nullptr) return;
  std::uint32_t* pixel = dib.pixels;
  for (int y = on.top; y < on.bottom; ++y) {
    for (std::size_t at = layer.Offset(on.left, y),
                     end = at + static_cast<std::size_t>(on.width()) * 3;
         at < end; at += 3) {
      *pixel++ = (std::uint32_t{layer.Alpha(at)} << 24) | (std::uint32_t{layer.colour[at]} << 16) |
                 (std::uint32_t{layer.colour[at + 1]} << 8) | layer.colour[at + 2];
    }
  }
  Blend(dib.bitmap, {on.width(), on.height()}, on, 255, on);
  DeleteObject(dib.bitmap);
}

void GdiPainter::Piece(const PieceImage& image, Picture picture, const PixelBox& box,
                       std::uint8_t opacity, const PixelBox& clip) {
  if (const HBITMAP bitmap = PieceBitmap(image, picture)) {
    Blend(bitmap, image.size, box, opacity, clip);
  }
}

void GdiPainter::Blend(HBITMAP bitmap, MaskSize size, const PixelBox& box, std::uint8_t opacity,
                       const PixelBox& clip) {
  const HDC source = CreateCompatibleDC(dc_);
  const HGDIOBJ previous = SelectObject(source, bitmap);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  if (size.width == box.width() && size.height == box.height()) {
    // Pixel for pixel: only the part inside the clip is blended.
    AlphaBlend(dc_, clip.left, clip.top, clip.width(), clip.height(), source, clip.left - box.left,
               clip.top - box.top, clip.width(), clip.height(), blend);
  } else {
    const int saved = SaveDC(dc_);
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    AlphaBlend(dc_, box.left, box.top, box.width(), box.height(), source, 0, 0, size.width,
               size.height, blend);
    RestoreDC(dc_, saved);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

HFONT GdiPainter::FontFor(const TextFont& font) {
  // Fonts are only selected between a paint's SaveDC and RestoreDC, so one that leaves the
  // cache between paints is selected nowhere.
  return fonts_.Get(font, [&] {
    // A negative height asks for the character height, not the cell.
    return CreateFontW(-font.pixels, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       FaceFor(font.face).c_str());
  });
}

const std::wstring& GdiPainter::FaceFor(FontFace face) {
  std::optional<std::wstring>& known = faces_[static_cast<std::size_t>(face)];
  if (known) return *known;
  const auto families = FamiliesOf(face);
  const auto installed =
      std::find_if(families.begin(), families.end(),
                   [this](const FontFamily& f) { return FaceInstalled(dc_, Wide(f.name)); });
  // With none of them installed, GDI's own substitution picks the closest face.
  const FontFamily& chosen = installed != families.end() ? *installed : families.front();
  return known.emplace(Wide(chosen.name));
}

HBITMAP GdiPainter::PieceBitmap(const PieceImage& image, Picture picture) {
  const MaskSize size = image.size;
  auto set = std::find_if(pieces_.begin(), pieces_.end(),
                          [size](const PieceBitmaps& s) { return s.size == size; });
  if (set == pieces_.end()) {
    // A new size: the least recently painted one beyond the few kept goes.
    if (pieces_.size() > kPieceSizesKept) {
      for (const HBITMAP bitmap : pieces_.back().bitmaps) DeleteObject(bitmap);
      pieces_.pop_back();
    }
    pieces_.push_front({size, {}});
  } else if (set != pieces_.begin()) {
    std::rotate(pieces_.begin(), set, set + 1);
  }
  HBITMAP& bitmap = pieces_.front().bitmaps[static_cast<std::size_t>(PieceIndex(picture))];
  if (bitmap == nullptr) bitmap = PieceDib(image);
  return bitmap;
}

}  // namespace velmora
