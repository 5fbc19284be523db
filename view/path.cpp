#include "view/path.h"

namespace velmora {

Path& Path::MoveTo(PathPoint p) {
  verbs_.push_back(PathVerb::kMove);
  points_.push_back(p);
  return *this;
}

Path& Path::LineTo(PathPoint p) {
  verbs_.push_back(PathVerb::kLine);
  points_.push_back(p);
  return *this;
}

Path& Path::CubicTo(PathPoint c1, PathPoint c2, PathPoint end) {
  verbs_.push_back(PathVerb::kCubic);
  points_.insert(points_.end(), {c1, c2, end});
  return *this;
}

Path& Path::Close() {
  verbs_.push_back(PathVerb::kClose);
  return *this;
}

Path& Path::Append(const Path& other) {
  verbs_.insert(verbs_.end(), other.verbs_.begin(), other.verbs_.end());
  points_.insert(points_.end(), other.points_.begin(), other.points_.end());
  return *this;
}

Path& AddCircle(Path& path, PathPoint centre, double radius) {
  constexpr double k = 0.5522847498;  // a quarter circle's control-point distance per radius
  const double x = centre.x, y = centre.y, r = radius;
  path.MoveTo({x + r, y});
  path.CubicTo({x + r, y + k * r}, {x + k * r, y + r}, {x, y + r});
  path.CubicTo({x - k * r, y + r}, {x - r, y + k * r}, {x - r, y});
  path.CubicTo({x - r, y - k * r}, {x - k * r, y - r}, {x, y - r});
  path.CubicTo({x + k * r, y - r}, {x + r, y - k * r}, {x + r, y});
  return path.Close();
}

}  // namespace velmora
