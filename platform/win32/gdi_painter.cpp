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
constexpr std::int32_t kIconTwips = kIconSize * kTwipsPerPixel;
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

// A 32-bit top-down bitmap filled pixel by pixel from the icon.
HBITMAP IconPlane(const Icon& icon, COLORREF (*colour_of)(Ink)) {
  const Dib dib = CreateTopDownDib(kIconSize, kIconSize);
  if (dib.bitmap == nullptr) return nullptr;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      dib.pixels[y * kIconSize + x] = ToDibPixel(colour_of(icon.At(x, y)));
    }
  }
  return dib.bitmap;
}

COLORREF InkColour(Ink ink) {
  return ink == Ink::kWhite ? RGB(255, 255, 255) : RGB(0, 0, 0);
}
COLORREF MaskColour(Ink ink) {
  return ink == Ink::kTransparent ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

}  // namespace

PaintScale PaintScale::ForDevice(HDC dc) {
  PaintScale scale;
  scale.x = GetDeviceCaps(dc, LOGPIXELSX) / kTwipsPerInch;
  scale.y = GetDeviceCaps(dc, LOGPIXELSY) / kTwipsPerInch;
  return scale;
}

PaintScale PaintScale::ToFit(const RECT& bounds) {
  PaintScale scale;
  scale.x = static_cast<double>(bounds.right - bounds.left) / kDesignWidth;
  scale.y = static_cast<double>(bounds.bottom - bounds.top) / kDesignHeight;
  scale.origin_x = bounds.left;
  scale.origin_y = bounds.top;
  return scale;
}

int PaintScale::PixelX(std::int32_t twips) const {
  return origin_x + static_cast<int>(std::lround(twips * x));
}

int PaintScale::PixelY(std::int32_t twips) const {
  return origin_y + static_cast<int>(std::lround(twips * y));
}

RECT PaintScale::ToPixels(const Rect& twips) const {
  return {PixelX(twips.left), PixelY(twips.top), PixelX(twips.left + twips.width),
          PixelY(twips.top + twips.height)};
}

Point PaintScale::ToTwips(int px, int py) const {
  return {static_cast<std::int32_t>(std::lround((px - origin_x) / x)),
          static_cast<std::int32_t>(std::lround((py - origin_y) / y))};
}

GdiPainter::~GdiPainter() {
  for (const auto& [picture, bitmaps] : icons_) {
    DeleteObject(bitmaps.ink);
    DeleteObject(bitmaps.mask);
  }
}

void GdiPainter::PaintDisplayList(HDC dc, const DisplayList& list, const PaintScale& scale) {
  const int saved = SaveDC(dc);
  for (const PaintCommand& command : list) {
    switch (command.kind) {
      case PaintKind::kRectangle:
        PaintRectangle(dc, command, scale);
        break;
      case PaintKind::kIcon:
        PaintIcon(dc, command, scale);
        break;
      case PaintKind::kText:
        PaintText(dc, command, scale);
        break;
      case PaintKind::kTextBox:
        PaintTextBox(dc, command, scale);
        break;
      case PaintKind::kGroupFrame:
        PaintGroupFrame(dc, command, scale);
        break;
    }
  }
  RestoreDC(dc, saved);
}

void GdiPainter::PaintRectangle(HDC dc, const PaintCommand& command, const PaintScale& scale) {
  const RECT outer = scale.ToPixels(command.rect);
  if (command.fill) FillSolid(dc, outer, ToColorRef(*command.fill));
  if (command.line_width <= 0) return;
  // The outline lies inside the shape, so neighbouring shapes overlap by exactly their edges.
  const int across = ScaledPixels(command.line_width, scale.x);
  const int down = ScaledPixels(command.line_width, scale.y);
  const COLORREF colour = ToColorRef(command.line);
  FillSolid(dc, {outer.left, outer.top, outer.right, outer.top + down}, colour);
  FillSolid(dc, {outer.left, outer.bottom - down, outer.right, outer.bottom}, colour);
  FillSolid(dc, {outer.left, outer.top, outer.left + across, outer.bottom}, colour);
  FillSolid(dc, {outer.right - across, outer.top, outer.right, outer.bottom}, colour);
}

void GdiPainter::PaintIcon(HDC dc, const PaintCommand& command, const PaintScale& scale) {
  const IconBitmaps* bitmaps = BitmapsFor(command.picture);
  if (bitmaps == nullptr) return;
  // A picture is drawn at its own size from the slot's corner, whatever the slot's size.
  const RECT to = scale.ToPixels({command.rect.left, command.rect.top, kIconTwips, kIconTwips});
  const int width = to.right - to.left;
  const int height = to.bottom - to.top;
  const HDC source = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(source, bitmaps->mask);
  // Nearest pixel, never blended: at whole multiples each icon pixel becomes a block.
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, to.left, to.top, width, height, source, 0, 0, kIconSize, kIconSize, SRCAND);
  SelectObject(source, bitmaps->ink);
  StretchBlt(dc, to.left, to.top, width, height, source, 0, 0, kIconSize, kIconSize, SRCPAINT);
  SelectObject(source, previous);
  DeleteDC(source);
}

void GdiPainter::PaintText(HDC dc, const PaintCommand& command, const PaintScale& scale) {
  RECT rect = scale.ToPixels(command.rect);
  if (command.fill) FillSolid(dc, rect, ToColorRef(*command.fill));
  SelectObject(dc, FontFor(dc, command.font, scale));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(command.line));
  const std::wstring text(command.text.begin(), command.text.end());
  const UINT align = command.centred ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            align | DT_WORDBREAK | DT_NOPREFIX);
}

void GdiPainter::PaintTextBox(HDC dc, const PaintCommand& command, const PaintScale& scale) {
  RECT rect = scale.ToPixels(command.rect);
  FillSolid(dc, rect, command.fill ? ToColorRef(*command.fill) : GetSysColor(COLOR_WINDOW));
  DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  SelectObject(dc, FontFor(dc, command.font, scale));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, command.enabled ? ToColorRef(command.line) : GetSysColor(COLOR_GRAYTEXT));
  const std::wstring text(command.text.begin(), command.text.end());
  const UINT align = command.centred ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void GdiPainter::PaintGroupFrame(HDC dc, const PaintCommand& command, const PaintScale& scale) {
  const RECT outer = scale.ToPixels(command.rect);
  const COLORREF back = command.fill ? ToColorRef(*command.fill) : GetSysColor(COLOR_BTNFACE);
  FillSolid(dc, outer, back);
  SelectObject(dc, FontFor(dc, command.font, scale));
  const std::wstring caption(command.text.begin(), command.text.end());
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  // The etched line runs through the middle of the caption, which stands on the panel's colour.
  RECT frame = outer;
  frame.top += extent.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (caption.empty()) return;
  const int indent = ScaledPixels(kFrameCaptionIndent, scale.x);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, back);
  SetTextColor(dc, ToColorRef(command.line));
  TextOutW(dc, outer.left + indent, outer.top, caption.c_str(), static_cast<int>(caption.size()));
}

HFONT GdiPainter::FontFor(HDC dc, const std::optional<Font>& font, const PaintScale& scale) {
  const Font wanted = font.value_or(Font{u"MS Sans Serif", 8.25, false});
  const std::wstring& face = FaceFor(dc, wanted.face);
  // A point is 20 twips; a negative height asks for the character height, not the cell.
  const int height = -std::max(1, static_cast<int>(std::lround(wanted.points * 20 * scale.y)));
  // Fonts are only selected between a paint's SaveDC and RestoreDC, so one that leaves the
  // cache between paints is selected nowhere.
  return fonts_.Get(std::make_tuple(face, height, wanted.bold), [&] {
    return CreateFontW(height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  });
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

const GdiPainter::IconBitmaps* GdiPainter::BitmapsFor(Picture picture) {
  if (const auto found = icons_.find(picture); found != icons_.end()) return &found->second;
  const Icon* icon = IconFor(picture);
  if (icon == nullptr) return nullptr;
  IconBitmaps bitmaps{IconPlane(*icon, InkColour), IconPlane(*icon, MaskColour)};
  if (bitmaps.ink == nullptr || bitmaps.mask == nullptr) {
    DeleteObject(bitmaps.ink);
    DeleteObject(bitmaps.mask);
    return nullptr;
  }
  return &icons_.emplace(picture, bitmaps).first->second;
}

}  // namespace velmora
