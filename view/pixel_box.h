#pragma once

namespace velmora {

// A device rectangle: left and top inside, right and bottom just outside.
struct PixelBox {
  int left, top, right, bottom;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(PixelBox, PixelBox) = default;
};

inline PixelBox Intersection(const PixelBox& a, const PixelBox& b) {
  return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
          a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}
inline bool IsEmpty(const PixelBox& box) {
  return box.right <= box.left || box.bottom <= box.top;
}

// The box moved by (dx, dy).
inline PixelBox Moved(const PixelBox& box, int dx, int dy) {
  return {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
}

// The smallest box that holds both.
inline PixelBox Union(const PixelBox& a, const PixelBox& b) {
  return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
          a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

}  // namespace velmora
