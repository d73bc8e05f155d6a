#include "GameOptions.h"

#include <algorithm>
#include <variant>

#include "CommandLine.h"
#include "UShooting.h"

namespace {
struct TOptionField {
  std::variant<bool TGameSettings::*, int32_t TGameSettings::*> Field;
  int32_t Min = 0, Max = 1;
};
// By TOptionId.
constexpr TOptionField kOptionFields[oiCount] = {
    {&TGameSettings::Fullscreen}, {&TGameSettings::Scale, 1, kMaxWindowScale},
    {&TGameSettings::Smooth},     {&TGameSettings::Volume, 0, kMaxVolume},
    {&TGameSettings::Muted},      {&TGameSettings::AutoPause},
    {&TGameSettings::Classic},
};
}  // namespace

int32_t TGameOptions::Value(TOptionId Option) const {
  const TOptionField& option = kOptionFields[Option];
  if (const auto* flag = std::get_if<bool TGameSettings::*>(&option.Field)) return settings_.**flag ? 1 : 0;
  return settings_.*std::get<int32_t TGameSettings::*>(option.Field);
}

void TGameOptions::SetValue(TOptionId Option, int32_t Value) {
  const TOptionField& option = kOptionFields[Option];
  Value = std::clamp(Value, option.Min, option.Max);
  if (const auto* flag = std::get_if<bool TGameSettings::*>(&option.Field)) {
    settings_.** flag = Value != 0;
  } else {
    settings_.*std::get<int32_t TGameSettings::*>(option.Field) = Value;
  }
  Apply(Option);
  Changed();
}

TBindResult TGameOptions::Bind(TKeyAction Action, uint8_t Key) {
  const TBindResult result = settings_.Keys.Bind(Action, Key);
  if (result == brBound) Changed();
  return result;
}

void TGameOptions::ResetKeys() {
  settings_.Keys.Reset();
  Changed();
}
