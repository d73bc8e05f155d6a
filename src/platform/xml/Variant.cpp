#include "Variant.h"

#include "Exception.h"
#include "NumberText.h"
#include "TextEncoding.h"

TVariant TVariant::Null(std::string name) {
  TVariant v;
  v.text_ = std::move(name);
  return v;
}

void TVariant::RaiseNull() const { throw Exception(Jp("値が空です: ") + text_); }

int32_t TVariant::AsInteger() const {
  switch (kind_) {
    case TKind::vkInteger: return integer_;
    case TKind::vkBoolean: return boolean_ ? -1 : 0;  // Automation's true is all bits set
    case TKind::vkText: {
      int32_t value = 0;
      switch (TextToInt32(text_, value)) {
        case TConversionResult::crOk: return value;
        case TConversionResult::crOverflow: throw Exception(Jp("\"") + text_ + Jp("\" は整数の範囲を超えています"));
        case TConversionResult::crTypeMismatch: break;
      }
      throw Exception(Jp("\"") + text_ + Jp("\" は整数に変換できません"));
    }
    case TKind::vkNull: break;
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
    case TKind::vkInteger: return integer_ != 0;
    case TKind::vkBoolean: return boolean_;
    case TKind::vkText: {
      bool value = false;
      if (TextToBoolean(text_, value) == TConversionResult::crOk) return value;
      throw Exception(Jp("\"") + text_ + Jp("\" は真偽値に変換できません"));
    }
    case TKind::vkNull: break;
  }
  RaiseNull();
}

std::string TVariant::AsText() const {
  switch (kind_) {
    case TKind::vkInteger: return std::to_string(integer_);
    case TKind::vkBoolean: return boolean_ ? "True" : "False";
    case TKind::vkText: return text_;
    case TKind::vkNull: break;
  }
  RaiseNull();
}
