#pragma once

#include <ostream>
#include <string>

namespace velmora::cli {

// Plays a short game on one control, as a host and a person at the board would, printing
// every event, notice and message box, then the board; writes the surface to `png_path` at
// `scale` times 96 dots per inch. True when everything ran.
bool RunDemo(std::ostream& out, std::ostream& err, const std::string& png_path, double scale = 1);

}  // namespace velmora::cli
