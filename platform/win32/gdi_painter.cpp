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
constexpr int kFrameCaptionIndent = 8;  // pixels at 96 dots per inch

// Faces to try, in order, for each face of the design. The design's own comes first; the rest
// are faces that Windows, Wine or the system ship, in the same style. The captions space their
// letters for the design's sans serif, whose space is about a third of its height: DejaVu Sans
// keeps that, so the file letters stay under their columns.
std::vector<std::wstring> FaceCandidates(std::u16string_view design_face) {
  std::vector<std::wstring> faces{std::wstring(design_face.begin(), design_face.end())};
  if (design_face == u"MS Sans Serif") {
    faces.insert(faces.end(), {L"Microsoft Sans Serif", L"DejaVu Sans", L"Tahoma", L"Arial"});
  } else if (design_face == u"Times New Roman") {
    faces.insert(faces.end(), {L"Liberation Serif", L"DejaVu Serif"});
  } else {
    faces.insert(faces.end(), {L"Arial Black", L"Tahoma", L"Arial"});
  }
  return faces;
}

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

COLORREF ToColorRef(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// A line width given in pixels at 96 dots per inch, at the scale drawn.
int ScaledPixels(int pixels, double pixels_per_twip) {
  return std::max(1, static_cast<int>(std::lround(pixels * kTwipsPerPixel * pixels_per_twip)));
}

RECT ToRect(PixelBox box) {
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
  for (const auto& [key, font] : fonts_) DeleteObject(font);
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
  const int saved = SaveDC(dc);
  for (const PaintCommand& command : list) {
    switch (command.kind) {
      case PaintKind::kRectangle:
        PaintRectangle(dc, command, grid);
        break;
      case PaintKind::kIcon:
        PaintIcon(dc, command, grid);
        break;
      case PaintKind::kText:
        PaintText(dc, command, grid);
        break;
      case PaintKind::kTextBox:
        PaintTextBox(dc, command, grid);
        break;
      case PaintKind::kGroupFrame:
        PaintGroupFrame(dc, command, grid);
        break;
    }
  }
  RestoreDC(dc, saved);
}

void GdiPainter::PaintRectangle(HDC dc, const PaintCommand& command, const PixelGrid& grid) {
  const RECT outer = ToRect(grid.BoxOf(command.source, command.rect));
  if (command.fill) FillSolid(dc, outer, ToColorRef(*command.fill));
  if (command.line_width <= 0) return;
  // The outline lies inside the shape, so neighbouring shapes overlap by exactly their edges.
  const auto [across, down] = grid.OutlineOf(command.source, command.line_width);
  const COLORREF colour = ToColorRef(command.line);
  FillSolid(dc, {outer.left, outer.top, outer.right, outer.top + down}, colour);
  FillSolid(dc, {outer.left, outer.bottom - down, outer.right, outer.bottom}, colour);
  FillSolid(dc, {outer.left, outer.top, outer.left + across, outer.bottom}, colour);
  FillSolid(dc, {outer.right - across, outer.top, outer.right, outer.bottom}, colour);
}

void GdiPainter::PaintIcon(HDC dc, const PaintCommand& command, const PixelGrid& grid) {
  if (!IsPiece(command.picture)) return;
  const MaskSize size = grid.picture_size();
  const HBITMAP bitmap = PieceBitmap(command.picture, size);
  if (bitmap == nullptr) return;
  // A picture is drawn at its own size from the part's corner, pixel for pixel.
  const PixelBox at = grid.BoxOf(command.source, command.rect);
  const HDC source = CreateCompatibleDC(dc);
  const HGDIOBJ previous = SelectObject(source, bitmap);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, at.left, at.top, size.width, size.height, source, 0, 0, size.width, size.height,
             blend);
  SelectObject(source, previous);
  DeleteDC(source);
}

void GdiPainter::PaintText(HDC dc, const PaintCommand& command, const PixelGrid& grid) {
  RECT rect = ToRect(grid.BoxOf(command.source, command.rect));
  if (command.fill) FillSolid(dc, rect, ToColorRef(*command.fill));
  SelectObject(dc, FontFor(dc, command.font, grid.scale()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(command.line));
  const std::wstring text(command.text.begin(), command.text.end());
  const UINT align = command.centred ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            align | DT_WORDBREAK | DT_NOPREFIX);
}

void GdiPainter::PaintTextBox(HDC dc, const PaintCommand& command, const PixelGrid& grid) {
  RECT rect = ToRect(grid.BoxOf(command.source, command.rect));
  FillSolid(dc, rect, command.fill ? ToColorRef(*command.fill) : GetSysColor(COLOR_WINDOW));
  DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  SelectObject(dc, FontFor(dc, command.font, grid.scale()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, command.enabled ? ToColorRef(command.line) : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring text(command.text.begin(), command.text.end());
  const UINT align = command.centred ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void GdiPainter::PaintGroupFrame(HDC dc, const PaintCommand& command, const PixelGrid& grid) {
  const RECT outer = ToRect(grid.BoxOf(command.source, command.rect));
  const COLORREF back = command.fill ? ToColorRef(*command.fill) : GetSysColor(COLOR_BTNFACE);
  FillSolid(dc, outer, back);
  SelectObject(dc, FontFor(dc, command.font, grid.scale()));
  const std::wstring caption(command.text.begin(), command.text.end());
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  // The etched line runs through the middle of the caption, which stands on the panel's colour.
  RECT frame = outer;
  frame.top += extent.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (caption.empty()) return;
  const int indent = ScaledPixels(kFrameCaptionIndent, grid.scale().x);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, back);
  SetTextColor(dc, ToColorRef(command.line));
  TextOutW(dc, outer.left + indent, outer.top, caption.c_str(), static_cast<int>(caption.size()));
}

HFONT GdiPainter::FontFor(HDC dc, const std::optional<Font>& font, const DeviceScale& scale) {
  const Font wanted = font.value_or(Font{u"MS Sans Serif", 8.25, false});
  const std::wstring& face = FaceFor(dc, wanted.face);
  // A point is 20 twips; a negative height asks for the character height, not the cell.
  const int height = -std::max(1, static_cast<int>(std::lround(wanted.points * 20 * scale.y)));
  const auto key = std::make_tuple(face, height, wanted.bold);
  if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  const HFONT made = CreateFontW(height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                 FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  fonts_.emplace(key, made);
  return made;
}

const std::wstring& GdiPainter::FaceFor(HDC dc, std::u16string_view design_face) {
  const std::u16string key(design_face);
  if (const auto found = faces_.find(key); found != faces_.end()) return found->second;
  const std::vector<std::wstring> candidates = FaceCandidates(design_face);
  const auto installed = std::find_if(candidates.begin(), candidates.end(),
                                      [dc](const std::wstring& f) { return FaceInstalled(dc, f); });
  // With none of them installed, GDI's own substitution picks the closest face.
  return faces_.emplace(key, installed != candidates.end() ? *installed : candidates.front())
      .first->second;
}

HBITMAP GdiPainter::PieceBitmap(Picture picture, MaskSize size) {
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
  if (bitmap == nullptr) bitmap = PieceDib(RasterizePiece(picture, size));
  return bitmap;
}

}  // namespace velmora
