#include "products/ocx/property_bags.h"

#include "runtime/com_base/com_headers.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "board/failure.h"
#include "runtime/com/boundary.h"

namespace velmora::ocx {
namespace {

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

[[noreturn]] void StreamFailure() {
  throw Failure(Failure::kPlatform, "The saved properties cannot be read");
}

void WriteBytes(IStream& stream, const void* data, ULONG size) {
  ULONG written = 0;
  if (FAILED(stream.Write(data, size, &written)) || written != size) {
    throw Failure(Failure::kPlatform, "The properties cannot be saved");
  }
}

void ReadBytes(IStream& stream, void* data, ULONG size) {
  ULONG read = 0;
  if (FAILED(stream.Read(data, size, &read)) || read != size) StreamFailure();
}

template <class T>
void WriteScalar(IStream& stream, T value) {
  WriteBytes(stream, &value, sizeof value);
}

template <class T>
T ReadScalar(IStream& stream) {
  T value{};
  ReadBytes(stream, &value, sizeof value);
  return value;
}

void WriteText(IStream& stream, std::u16string_view text) {
  WriteScalar(stream, static_cast<std::uint32_t>(text.size()));
  WriteBytes(stream, text.data(), static_cast<ULONG>(text.size() * sizeof(char16_t)));
}

// The bytes left between the stream's position and its end, when the stream can tell.
std::optional<std::uint64_t> RemainingBytes(IStream& stream) {
  STATSTG about{};
  if (FAILED(stream.Stat(&about, STATFLAG_NONAME))) return std::nullopt;
  ULARGE_INTEGER position{};
  if (FAILED(stream.Seek({}, STREAM_SEEK_CUR, &position))) return std::nullopt;
  if (position.QuadPart > about.cbSize.QuadPart) return 0;
  return about.cbSize.QuadPart - position.QuadPart;
}

// A length field is believed only as far as the stream holds that much, and the text grows
// piece by piece as it arrives, so a stream that cannot tell its size still never makes the
// control allocate more than the stream supplied.
std::u16string ReadText(IStream& stream) {
  constexpr std::uint32_t kPiece = 0x10000;
  const auto length = ReadScalar<std::uint32_t>(stream);
  const auto remaining = RemainingBytes(stream);
  if (remaining && std::uint64_t{length} * sizeof(char16_t) > *remaining) StreamFailure();
  std::u16string text;
  while (text.size() < length) {
    const std::size_t done = text.size();
    const std::size_t piece = std::min<std::size_t>(kPiece, length - done);
    text.resize(done + piece);
    ReadBytes(stream, text.data() + done, static_cast<ULONG>(piece * sizeof(char16_t)));
  }
  return text;
}

// The kind tags of a saved value, in the order of PropertyValue's alternatives.
enum class Kind : std::uint8_t { kNothing, kTruth, kNumber, kText };

// A VARIANT that is cleared however its scope is left: a bag may fill it and still fail.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&value_); }
  ~OwnedVariant() { VariantClear(&value_); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;

  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

}  // namespace

PropertyValue FromVariant(const VARIANT& variant) {
  switch (V_VT(&variant)) {
    case VT_BOOL:
      return V_BOOL(&variant) != VARIANT_FALSE;
    case VT_BSTR:
      return com::FromBstr(V_BSTR(&variant));
    case VT_I1:
      return static_cast<double>(V_I1(&variant));
    case VT_UI1:
      return static_cast<double>(V_UI1(&variant));
    case VT_I2:
      return static_cast<double>(V_I2(&variant));
    case VT_UI2:
      return static_cast<double>(V_UI2(&variant));
    case VT_I4:
    case VT_INT:
      return static_cast<double>(V_I4(&variant));
    case VT_UI4:
    case VT_UINT:
      return static_cast<double>(V_UI4(&variant));
    case VT_R4:
      return static_cast<double>(V_R4(&variant));
    case VT_R8:
      return V_R8(&variant);
    default:
      return std::monostate();
  }
}

VARIANT ToVariant(const PropertyValue& value) {
  VARIANT variant;
  VariantInit(&variant);
  if (const auto* truth = std::get_if<bool>(&value)) {
    V_VT(&variant) = VT_BOOL;
    V_BOOL(&variant) = *truth ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (const auto* number = std::get_if<double>(&value)) {
    V_VT(&variant) = VT_R8;
    V_R8(&variant) = *number;
  } else if (const auto* text = std::get_if<std::u16string>(&value)) {
    V_BSTR(&variant) = com::ToBstr(*text);
    V_VT(&variant) = VT_BSTR;
  }
  return variant;
}

PropertyValue ComPropertyBag::Read(std::u16string_view name, const PropertyValue& fallback) {
  std::wstring key = Wide(name);
  OwnedVariant variant;
  const HRESULT result = bag_.Read(key.c_str(), variant.get(), log_);
  if (result == E_INVALIDARG) return fallback;
  if (FAILED(result)) throw Failure(Failure::kPlatform, "The property bag cannot be read");
  return FromVariant(*variant.get());
}

void ComPropertyBag::Write(std::u16string_view name, const PropertyValue& value,
                           const PropertyValue&) {
  std::wstring key = Wide(name);
  VARIANT variant = ToVariant(value);
  const HRESULT result = bag_.Write(key.c_str(), &variant);
  VariantClear(&variant);
  if (FAILED(result)) throw Failure(Failure::kPlatform, "The property bag cannot be written");
}

StreamBag StreamBag::Load(IStream& stream) {
  StreamBag bag;
  const auto count = ReadScalar<std::uint32_t>(stream);
  if (count > 64) StreamFailure();
  for (std::uint32_t i = 0; i < count; ++i) {
    std::u16string name = ReadText(stream);
    PropertyValue value;
    switch (static_cast<Kind>(ReadScalar<std::uint8_t>(stream))) {
      case Kind::kNothing:
        break;
      case Kind::kTruth:
        value = ReadScalar<std::uint8_t>(stream) != 0;
        break;
      case Kind::kNumber:
        value = ReadScalar<double>(stream);
        break;
      case Kind::kText:
        value = ReadText(stream);
        break;
      default:
        StreamFailure();
    }
    bag.values_.emplace_back(std::move(name), std::move(value));
  }
  return bag;
}

void StreamBag::Save(IStream& stream) const {
  WriteScalar(stream, static_cast<std::uint32_t>(values_.size()));
  for (const auto& [name, value] : values_) {
    WriteText(stream, name);
    WriteScalar(stream, static_cast<std::uint8_t>(value.index()));
    if (const auto* truth = std::get_if<bool>(&value)) {
      WriteScalar(stream, static_cast<std::uint8_t>(*truth));
    } else if (const auto* number = std::get_if<double>(&value)) {
      WriteScalar(stream, *number);
    } else if (const auto* text = std::get_if<std::u16string>(&value)) {
      WriteText(stream, *text);
    }
  }
}

ULONG StreamBag::SizeInBytes() const {
  std::size_t size = sizeof(std::uint32_t);
  for (const auto& [name, value] : values_) {
    size += sizeof(std::uint32_t) + name.size() * sizeof(char16_t) + 1;
    if (std::holds_alternative<bool>(value)) size += 1;
    if (std::holds_alternative<double>(value)) size += sizeof(double);
    if (const auto* text = std::get_if<std::u16string>(&value)) {
      size += sizeof(std::uint32_t) + text->size() * sizeof(char16_t);
    }
  }
  return static_cast<ULONG>(size);
}

PropertyValue StreamBag::Read(std::u16string_view name, const PropertyValue& fallback) {
  const auto found = std::find_if(values_.begin(), values_.end(),
                                  [name](const auto& entry) { return entry.first == name; });
  return found == values_.end() ? fallback : found->second;
}

void StreamBag::Write(std::u16string_view name, const PropertyValue& value, const PropertyValue&) {
  values_.emplace_back(std::u16string(name), value);
}

}  // namespace velmora::ocx
