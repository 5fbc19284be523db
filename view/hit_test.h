#pragma once

#include <cstdint>

#include "view/layout.h"
#include "view/pixel_grid.h"
#include "view/surface.h"

namespace velmora {

// What a mouse press at a point lands on: the topmost shown clickable control.
struct Hit {
  enum class Kind : std::uint8_t {
    kSurface,    // nothing clickable: the surface's own click and mouse events
    kSquare,     // a square's picture, 1 to 64, whatever it holds
    kChoice,     // a promotion choice, 0 to 7, inside a shown panel or on the chooser
    kSwallowed,  // a shown panel (or other child window) outside its choices: nobody's click
    kSpare,      // a spare piece or the eraser beside a board in edit mode, by place
  };
  Kind kind;
  std::int16_t index = -1;

  friend bool operator==(Hit, Hit) = default;
};

// `at` is in twips from the surface's top-left corner. The chooser's squares lie over all.
Hit HitTest(const Surface& surface, Point at);
// The same for a device pixel, by the parts' pixel boxes on `grid`: what a pixel shows is what
// a press on it hits, at every scale.
Hit HitTest(const Surface& surface, const PixelGrid& grid, int px, int py);

}  // namespace velmora
