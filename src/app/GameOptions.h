// The options screen's host over the settings the game remembers: a change is kept within its range, goes into
// the settings, takes effect (Apply) and is remembered (Changed). The program's window and sound take effect
// through a subclass; as it stands it serves the headless runner and the tests.
#pragma once
#include <cstdint>

#include "GameSettings.h"
#include "OptionsScreen.h"

class TGameOptions : public TOptionsHost {
 public:
  // Settings and MenuKeys must outlive this.
  TGameOptions(TGameSettings& Settings, TKeySource& MenuKeys) : settings_(Settings), menuKeys_(MenuKeys) {}

  TKeySource& MenuKeys() override { return menuKeys_; }
  int32_t Value(TOptionId Option) const override;
  void SetValue(TOptionId Option, int32_t Value) override;
  const TKeyBindings& Keys() const override { return settings_.Keys; }
  TBindResult Bind(TKeyAction Action, uint8_t Key) override;
  void ResetKeys() override;

 protected:
  // Makes a changed option take effect; the settings hold its new value already. Auto-pause needs nothing more (the
  // game's keys read it from the settings through TAlwaysActiveKeys), nor does classic (read at the next start).
  virtual void Apply(TOptionId) {}
  // After any change.
  virtual void Changed() {}
  TGameSettings& Settings() { return settings_; }

 private:
  TGameSettings& settings_;
  TKeySource& menuKeys_;
};
