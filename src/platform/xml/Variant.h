// A value read from a definition file: text, an integer or a Boolean (the defaults callers give), or
// null (an element that should hold text but is empty). Converted on use; a value that does not convert
// raises Exception naming it.
#pragma once
#include <cstdint>
#include <string>

class TVariant {
 public:
  enum class TKind { Null, Integer, Boolean, Text };

  TVariant() = default;
  TVariant(int32_t Value) : kind_(TKind::Integer), integer_(Value) {}
  TVariant(bool Value) : kind_(TKind::Boolean), boolean_(Value) {}
  TVariant(std::string Value) : kind_(TKind::Text), text_(std::move(Value)) {}
  TVariant(const char* Value) : TVariant(std::string(Value)) {}
  // The empty content of the named value.
  static TVariant Null(std::string Name);

  TKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == TKind::Null; }

  int32_t AsInteger() const;
  // AsInteger, refusing a value outside [Low, High] with the message of a value out of the integer range.
  int32_t AsIntegerWithin(int32_t Low, int32_t High) const;
  uint32_t AsCardinal() const { return static_cast<uint32_t>(AsInteger()); }
  bool AsBoolean() const;
  std::string AsText() const;

 private:
  [[noreturn]] void RaiseNull() const;

  TKind kind_ = TKind::Null;
  int32_t integer_ = 0;
  bool boolean_ = false;
  std::string text_;  // the text, or for null the value's name
};
