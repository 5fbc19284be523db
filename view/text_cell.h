#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// A text with one bound handler. A write that changes the text runs the handler synchronously,
// before the write returns; a write of the text already held runs nothing. Handlers may write
// cells again, this one included; those writes run their handlers nested.
class TextCell {
 public:
  using Handler = std::function<void()>;

  const std::u16string& Text() const { return text_; }

  void Set(std::u16string_view text) {
    if (text == text_) return;
    text_.assign(text);
    if (handler_) handler_();
  }

  void Bind(Handler handler) { handler_ = std::move(handler); }

 private:
  std::u16string text_;
  Handler handler_;
};

}  // namespace velmora
