#include "Variant.h"

#include "Exception.h"
#include "NumberText.h"
#include "TextEncoding.h"

TVariant TVariant::Null(std::string Name) {
  TVariant v;
  v.text_ = std::move(Name);
  return v;
}

void TVariant::RaiseNull() const { throw Exception(Jp("値が空です: ") + text_); }

int32_t TVariant::AsInteger() const {
  switch (kind_) {
    case TKind::Integer: return integer_;
    case TKind::Boolean: return boolean_ ? -1 : 0;  // Automation's true is all bits set
    case TKind::Text: {
      int32_t value = 0;
      switch (TextToInt32(text_, value)) {
        case TConversionResult::Ok: return value;
        case TConversionResult::Overflow: throw Exception(Jp("\"") + text_ + Jp("\" は整数の範囲を超えています"));
        case TConversionResult::TypeMismatch: break;
      }
      throw Exception(Jp("\"") + text_ + Jp("\" は整数に変換できません"));
    }
    case TKind::Null: break;
  }
  RaiseNull();
}

int32_t TVariant::AsIntegerWithin(int32_t Low, int32_t High) const {
  const int32_t value = AsInteger();
  if (value < Low || value > High) throw Exception(Jp("\"") + AsText() + Jp("\" は整数の範囲を超えています"));
  return value;
}

bool TVariant::AsBoolean() const {
  switch (kind_) {
    case TKind::Integer: return integer_ != 0;
    case TKind::Boolean: return boolean_;
    case TKind::Text: {
      bool value = false;
      if (TextToBoolean(text_, value) == TConversionResult::Ok) return value;
      throw Exception(Jp("\"") + text_ + Jp("\" は真偽値に変換できません"));
    }
    case TKind::Null: break;
  }
  RaiseNull();
}

std::string TVariant::AsText() const {
  switch (kind_) {
    case TKind::Integer: return std::to_string(integer_);
    case TKind::Boolean: return boolean_ ? "True" : "False";
    case TKind::Text: return text_;
    case TKind::Null: break;
  }
  RaiseNull();
}
