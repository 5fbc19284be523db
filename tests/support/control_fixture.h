#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control/board_control.h"
#include "platform/headless/headless_forms.h"
#include "platform/headless/memory_bag.h"
#include "tests/support/recording_host.h"
#include "tests/support/recording_observer.h"

namespace velmora::testing {

inline const std::u16string kInitialPosition =
    u"RNBQKBNRPPPPPPPP********************************pppppppprnbqkbnr";

// 64 characters from eight row texts, row 1 first.
inline std::u16string Rows(std::initializer_list<std::u16string_view> rows) {
  std::u16string text;
  for (auto row : rows) text += row;
  return text;
}

// A readable test name from a case's `what`.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.what;
  for (char& c : name) {
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// One control on the headless platform, as a host would hold it.
class ControlFixture : public ::testing::Test {
 protected:
  ControlFixture() {
    forms.Attach(control);
    control->SetSurfaceObserver(&observer);
  }

  std::u16string Position() const { return control->board().PositionText(); }
  char16_t CellAt(std::u16string_view name) const {
    return control->board().Cell(*ParseSquareName(name[0], name[1]));
  }
  Picture PictureAt(std::u16string_view name) const {
    return control->surface().PictureOf(SquareNumber(*ParseSquareName(name[0], name[1])));
  }
  void Click(std::u16string_view name) {
    control->ClickSquare(SquareNumber(*ParseSquareName(name[0], name[1])));
  }
  // Loads a position and forgets what that did, so a test sees only its own effects.
  void Load(const std::u16string& position) {
    control->PutPosition(position);
    host.Clear();
    observer.Clear();
  }

  HeadlessForms forms;
  RecordingHost host;
  RecordingObserver observer;
  std::shared_ptr<BoardControl> control = BoardControl::Create(forms, host);
};

// The same with a ChessBoard.
class ChessBoardFixture : public ControlFixture {
 protected:
  ChessBoardFixture() {
    control = BoardControl::Create(forms, host, ControlClass::kChessBoard);
    forms.Attach(control);
    control->SetSurfaceObserver(&observer);
  }
};

using Entries = std::vector<RecordingHost::Entry>;

inline RecordingHost::Entry ChangeEvent() {
  return RecordingHost::Event{EventId::kChange, {}};
}
inline RecordingHost::Entry NoticeOf(std::u16string name) {
  return RecordingHost::Notice{std::move(name)};
}

}  // namespace velmora::testing

namespace velmora {
inline bool operator==(const RecordingHost::Event& a, const RecordingHost::Event& b) {
  return a.id == b.id && a.args == b.args && a.texts == b.texts;
}
inline bool operator==(const RecordingHost::Notice& a, const RecordingHost::Notice& b) {
  return a.property == b.property;
}
inline void PrintTo(const RecordingHost::Entry& entry, std::ostream* os) {
  if (const auto* e = std::get_if<RecordingHost::Event>(&entry)) {
    *os << "event " << static_cast<int>(e->id);
  } else {
    const auto& n = std::get<RecordingHost::Notice>(entry).property;
    *os << "notice " << std::string(n.begin(), n.end());
  }
}
}  // namespace velmora
