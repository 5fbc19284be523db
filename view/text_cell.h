#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// A text with one bound handler. A write that changes the text runs the handler synchronously,
// before the write returns; a write of the text already held runs nothing, unless it is made
// `even_unchanged`. Handlers may write cells again, this one included; those writes run their
// handlers nested.
class TextCell {
 public:
  using Handler = std::function<void()>;

  const std::u16string& Text() const { return text_; }

  void Set(std::u16string_view text, bool even_unchanged = false) {
    if (text == text_) {
      if (!even_unchanged) return;
    } else if (text_.capacity() > kKeptRoom && text.size() < text_.capacity() / 4) {
      // A text far smaller than the room the last one took gets a buffer of its own size, so
      // a huge text once written is not held for the control's lifetime.
      std::u16string(text).swap(text_);
    } else {
      text_.assign(text);
    }
    if (handler_) handler_();
  }

  void Bind(Handler handler) { handler_ = std::move(handler); }

 private:
  static constexpr std::size_t kKeptRoom = 4096;

  std::u16string text_;
  Handler handler_;
};

}  // namespace velmora
