#pragma once

#include <windows.h>

#include <cstdint>

namespace velmora {

// A 32-bit top-down device-independent bitmap: its pixels row by row, top row first, each one
// blue, green, red from the low byte up. The caller deletes `bitmap`.
struct Dib {
  HBITMAP bitmap = nullptr;
  std::uint32_t* pixels = nullptr;
};

inline Dib CreateTopDownDib(int width, int height, HDC dc = nullptr) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  return {bitmap, static_cast<std::uint32_t*>(bits)};
}

// A COLORREF is red first; a DIB pixel blue first.
constexpr COLORREF FromDibPixel(std::uint32_t p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace velmora
