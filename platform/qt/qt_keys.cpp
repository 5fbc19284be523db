#include "platform/qt/qt_keys.h"

#include <Qt>
#include <array>
#include <utility>

namespace velmora {
namespace {

// Punctuation keys carry the codes of their places on a US keyboard.
constexpr std::array<std::pair<int, std::int16_t>, 35> kNamedKeys = {{
    {Qt::Key_Backspace, 0x08},    {Qt::Key_Tab, 0x09},         {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, 0x0D},       {Qt::Key_Enter, 0x0D},       {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},      {Qt::Key_Alt, 0x12},         {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},     {Qt::Key_Escape, 0x1B},      {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},       {Qt::Key_PageDown, 0x22},    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},         {Qt::Key_Left, 0x25},        {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},        {Qt::Key_Down, 0x28},        {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},       {Qt::Key_Menu, 0x5D},        {Qt::Key_NumLock, 0x90},
    {Qt::Key_Semicolon, 0xBA},    {Qt::Key_Equal, 0xBB},       {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},        {Qt::Key_Period, 0xBE},      {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
}};

}  // namespace

std::int16_t VirtualKeyOf(int qt_key) {
  // Letters and digits share their codes; Qt's function keys run on from F1 as Windows' do.
  if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) ||
      (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)) {
    return static_cast<std::int16_t>(qt_key);
  }
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) {
    return static_cast<std::int16_t>(0x70 + (qt_key - Qt::Key_F1));
  }
  for (const auto& [key, code] : kNamedKeys) {
    if (key == qt_key) return code;
  }
  return 0;
}

}  // namespace velmora
