#include "products/cli/session.h"

#include <fstream>
#include <sstream>

#include "board/failure.h"
#include "platform/headless/memory_bag.h"
#include "platform/headless/png_renderer.h"
#include "products/cli/property_file.h"
#include "products/cli/text_codec.h"
#include "view/display_list.h"

namespace velmora::cli {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(Failure::kPlatform, "Cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw Failure(Failure::kPlatform, "Cannot write " + path);
}

std::string FormatValue(Property property, const Value& value) {
  if (property == Property::kEnabled) return value.truth ? "True" : "False";
  return Quote(value.text);
}

Value ValueOf(Property property, const UserControl1& control) {
  switch (property) {
    case Property::kEnabled:
      return {control.Enabled(), {}};
    case Property::kGetMove:
      return {false, control.GetMove()};
    case Property::kPutMove:
      return {false, control.PutMove()};
    case Property::kPutPosition:
      return {false, control.PutPosition()};
  }
  return {};
}

}  // namespace

std::vector<std::string> BoardRows(const Board& board) {
  std::vector<std::string> rows;
  for (std::int16_t row = 8; row >= 1; --row) {
    std::string line(1, static_cast<char>('0' + row));
    line += ' ';
    line += ToUtf8(board.RowText(row));
    rows.push_back(std::move(line));
  }
  return rows;
}

std::string FormatProperty(Property property, const UserControl1& control) {
  return std::string(PropertyName(property)) + " = " +
         FormatValue(property, ValueOf(property, control));
}

Session::Session(std::ostream& out, std::ostream& err)
    : out_(out),
      err_(err),
      host_(out),
      announcer_(out),
      control_(UserControl1::Create(forms_, host_)) {
  forms_.Attach(control_);
  control_->SetSurfaceObserver(&announcer_);
  // A script types at the control, so the control has the keyboard focus.
  control_->SurfaceFocus(true);
  forms_.SetMessageListener(
      [this](std::u16string_view text) { out_ << "message " << Quote(text) << '\n'; });
  forms_.SetRefill([this] { return FeedPromptInput(); });
}

Session::~Session() {
  forms_.SetRefill(nullptr);
  control_->SetSurfaceObserver(nullptr);
}

void Session::Fail(const std::string& what) {
  failed_ = true;
  err_ << (line_number_ > 0 ? "line " + std::to_string(line_number_) + ": " : std::string()) << what
       << '\n';
  if (!keep_going_) stopped_ = true;
}

bool Session::Execute(const Operation& op) {
  const bool failed_before = failed_;
  try {
    std::visit([this](const auto& o) { Do(o); }, op);
  } catch (const Failure& failure) {
    Fail("failure " + std::to_string(failure.code()) + ": " + failure.what());
  }
  return failed_ == failed_before;
}

std::optional<Operation> Session::TakeLine() {
  const int number = static_cast<int>(next_) + 1;
  const ParsedLine parsed = ParseLine((*lines_)[next_++]);
  if (const auto* error = std::get_if<ParseError>(&parsed)) {
    line_number_ = number;
    Fail(error->what);
    return std::nullopt;
  }
  if (const auto* op = std::get_if<Operation>(&parsed)) {
    line_number_ = number;
    return *op;
  }
  return std::nullopt;
}

bool Session::Run(const std::vector<std::string>& lines, bool keep_going) {
  lines_ = &lines;
  next_ = 0;
  keep_going_ = keep_going;
  failed_ = false;
  stopped_ = false;
  while (!stopped_ && next_ < lines.size()) {
    if (const auto op = TakeLine()) Execute(*op);
  }
  lines_ = nullptr;
  line_number_ = 0;
  return !failed_;
}

bool Session::FeedPromptInput() {
  while (lines_ != nullptr && !stopped_ && next_ < lines_->size()) {
    const auto op = TakeLine();
    if (!op) continue;
    const int number = line_number_;
    forms_.Queue([this, op = *op, number](UserControl1&) {
      line_number_ = number;
      Execute(op);
    });
    return true;
  }
  return false;
}

void Session::Do(const SetOp& op) {
  switch (op.property) {
    case Property::kEnabled:
      control_->Enabled(op.value.truth);
      return;
    case Property::kGetMove:
      control_->GetMove(op.value.text);
      return;
    case Property::kPutMove:
      control_->PutMove(op.value.text);
      return;
    case Property::kPutPosition:
      control_->PutPosition(op.value.text);
      return;
  }
}

void Session::Do(const GetOp& op) {
  out_ << FormatProperty(op.property, *control_) << '\n';
}

void Session::Do(const ExpectOp& op) {
  const Value actual = ValueOf(op.property, *control_);
  const std::string have = FormatValue(op.property, actual);
  const std::string want = FormatValue(op.property, op.value);
  if (have != want) {
    Fail("expected " + std::string(PropertyName(op.property)) + " = " + want + ", but it is " +
         have);
  }
}

void Session::Do(const ClickOp& op) {
  forms_.QueueSquareClick(op.square);
  forms_.RunPending();
}

void Session::Do(const ChooseOp& op) {
  forms_.QueueChoiceClick(op.choice);
  forms_.RunPending();
}

void Session::Do(const EventOp& op) {
  std::int16_t a = op.whole[0];
  std::int16_t b = op.whole[1];
  float x = op.point[0];
  float y = op.point[1];
  std::vector<EventArg> args;
  switch (op.id) {
    case EventId::kClick:
      control_->SurfaceClick();
      return;
    case EventId::kDblClick:
      control_->SurfaceDblClick();
      return;
    case EventId::kKeyDown:
      control_->SurfaceKeyDown(a, b);
      args = {&a, &b};
      break;
    case EventId::kKeyUp:
      control_->SurfaceKeyUp(a, b);
      args = {&a, &b};
      break;
    case EventId::kKeyPress:
      control_->SurfaceKeyPress(a);
      args = {&a};
      break;
    case EventId::kMouseDown:
      control_->SurfaceMouseDown(a, b, x, y);
      args = {&a, &b, &x, &y};
      break;
    case EventId::kMouseMove:
      control_->SurfaceMouseMove(a, b, x, y);
      args = {&a, &b, &x, &y};
      break;
    case EventId::kMouseUp:
      control_->SurfaceMouseUp(a, b, x, y);
      args = {&a, &b, &x, &y};
      break;
    case EventId::kChange:
    case EventId::kBeforeMove:
      return;
  }
  // What the surface holds once the host had its say.
  out_ << "after " << EventName(op.id) << ' ' << FormatArguments(op.id, args) << '\n';
}

void Session::Do(const ReplyOp& op) {
  host_.SetReply(op.argument, op.value);
}

void Session::Do(const RefreshOp&) {
  control_->Refresh();
}

void Session::Do(const SaveOp& op) {
  MemoryBag bag;
  control_->SaveProperties(bag);
  WriteFile(op.path, FormatPropertyFile(bag.values()));
}

void Session::Do(const LoadOp& op) {
  const auto parsed = ParsePropertyFile(ReadFile(op.path));
  if (const auto* error = std::get_if<PropertyFileError>(&parsed)) {
    Fail(op.path + ":" + std::to_string(error->line) + ": " + error->what + "; nothing loaded");
    return;
  }
  MemoryBag bag;
  for (const auto& [name, value] : std::get<NamedValues>(parsed)) bag.Set(name, value);
  control_->LoadProperties(bag);
}

void Session::Do(const RenderOp& op) {
  PngRenderer renderer(op.scale);
  WritePng(renderer.Render(BuildDisplayList(control_->surface(), control_->GetMove())), op.path);
}

void Session::Do(const BoardOp&) {
  for (const std::string& row : BoardRows(control_->board())) out_ << row << '\n';
}

}  // namespace velmora::cli

namespace velmora::cli {

void Session::Do(const KeyOp& op) {
  // Three pending inputs, as a keyboard's messages arrive: a prompt opened by the key-down
  // finds the rest of the key still queued.
  forms_.Queue([op](UserControl1& control) {
    std::int16_t key_code = op.key_code, shift = op.shift;
    control.SurfaceKeyDown(key_code, shift);
  });
  if (op.key_ascii != 0) {
    forms_.Queue([op](UserControl1& control) {
      std::int16_t key_ascii = op.key_ascii;
      control.SurfaceKeyPress(key_ascii);
    });
  }
  forms_.Queue([op](UserControl1& control) {
    std::int16_t key_code = op.key_code, shift = op.shift;
    control.SurfaceKeyUp(key_code, shift);
  });
  forms_.RunPending();
}

void Session::Do(const AccessibleOp&) {
  for (const std::string& line : AccessibleLines(*control_)) out_ << line << '\n';
}

}  // namespace velmora::cli
