#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "board/board.h"
#include "control/host.h"
#include "control/property_bag.h"
#include "entry/click_entry.h"
#include "entry/keyboard_entry.h"
#include "entry/keyboard_focus.h"
#include "view/forms.h"
#include "view/surface.h"
#include "view/text_cell.h"

namespace velmora {

// The control a host holds. It owns the position, the three text cells, the click entry and
// the surface model, and reaches the platform only through its ports.
//
// The string properties are the texts of the cells: PutPosition is the position cell (its change
// loads a position), PutMove the host's move cell (its change applies a host move), GetMove the
// move display's cell (its change raises Change). Every member takes a strong reference to the
// control first, so a host that lets go of it inside an event handler does not pull it away
// from under a running procedure.
class UserControl1 : public std::enable_shared_from_this<UserControl1> {
 public:
  // Creates an instance and runs InitControl. The ports must outlive it.
  static std::shared_ptr<UserControl1> Create(FormsPort& forms, HostPort& host);
  // The same with ports the control co-owns: a front end that may be destroyed while the core
  // runs (inside the prompt's wait, say) shares them, so they live as long as the control
  // still needs them; the front end detaches them instead of freeing them.
  static std::shared_ptr<UserControl1> Create(std::shared_ptr<FormsPort> forms,
                                              std::shared_ptr<HostPort> host);

  UserControl1(const UserControl1&) = delete;
  UserControl1& operator=(const UserControl1&) = delete;

  // Properties: a read returns the cell's text; a write sets the cell (its handler runs to its
  // end inside) and then sends the property-changed notice, also when the text was unchanged.
  bool Enabled() const;
  void Enabled(bool New_Enabled);
  std::u16string GetMove() const;
  void GetMove(std::u16string New_GetMove);
  std::u16string PutMove() const;
  void PutMove(std::u16string New_PutMove);
  std::u16string PutPosition() const;
  void PutPosition(std::u16string New_PutPosition);

  // Repaints what the squares already show; never rebuilds them from the board.
  void Refresh();

  // Applies "Enabled", "GetMove", "PutMove", "PutPosition" in that order, straight to storage.
  // A value that cannot be converted ends the load there with a Failure.
  void LoadProperties(PropertyBag& bag);
  void SaveProperties(PropertyBag& bag);

  // Input the platform delivers; all of it is ignored while the surface is disabled. A mouse
  // click on a square or choice also moves the focus square there, without the focus mark.
  void ClickSquare(std::int16_t n);
  void ClickChoice(std::int16_t k);
  void SurfaceClick();
  void SurfaceDblClick();
  // Raises KeyDown, then hands the key the host left to the keyboard entry (a KeyCode of 0 is
  // a key the host took). True when the control acted on it.
  bool SurfaceKeyDown(std::int16_t& KeyCode, std::int16_t& Shift);
  void SurfaceKeyPress(std::int16_t& KeyAscii);
  void SurfaceKeyUp(std::int16_t& KeyCode, std::int16_t& Shift);
  void SurfaceMouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void SurfaceMouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void SurfaceMouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  // A key the control would act on now, so a container gives it to the control first.
  bool TakesKey(std::int16_t key_code, std::int16_t shift) const {
    return surface_.Enabled() && keys_.Takes(key_code, shift);
  }
  // The surface gained or lost the keyboard focus.
  void SurfaceFocus(bool has_focus);

  // What assistive technology asks for, by part (see view/accessible_parts.h). Moving the focus
  // there counts as navigation; activating a part is the click a person's Space would make.
  void FocusPart(std::int16_t part);
  void ActivatePart(std::int16_t part);

  // Read-only views for the platforms and for tests.
  const Board& board() const { return board_; }
  const Surface& surface() const { return surface_; }
  const EntryFields& entry() const { return entry_.Fields(); }
  EntryState entry_state() const { return entry_.State(); }
  const KeyboardFocus& focus() const { return focus_; }
  void SetSurfaceObserver(SurfaceObserver* observer) { surface_.SetObserver(observer); }

 private:
  UserControl1(std::shared_ptr<FormsPort> forms, std::shared_ptr<HostPort> host);

  // Once, when the instance is created: nothing picked, the initial position. Paints nothing:
  // the squares are created showing it.
  void InitControl();
  void OnPositionText();  // the position cell changed
  void OnHostMove();      // the host's move cell changed
  void OnGetMove();       // the move display's cell changed
  void WriteCell(TextCell& cell, std::u16string_view text, std::u16string_view property);
  void Forward(EventId id, std::initializer_list<EventArg> args);

  std::shared_ptr<FormsPort> forms_;
  std::shared_ptr<HostPort> host_;
  Board board_;
  Surface surface_;
  TextCell host_move_cell_;     // PutMove
  TextCell move_display_cell_;  // GetMove
  TextCell position_cell_;      // PutPosition
  KeyboardFocus focus_;
  ClickEntry entry_;
  KeyboardEntry keys_;
};

}  // namespace velmora
