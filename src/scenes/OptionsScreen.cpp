#include "OptionsScreen.h"

#include "DGTexture.h"
#include "Field.h"
#include "GameKeys.h"
#include "SXScene.h"
#include "SXTextWriter.h"
#include "SXTypes.h"
#include "SceneHelpers.h"
#include "TextEncoding.h"

namespace {
// clang-format off
constexpr std::array<TOptionsScreen::TRow, TOptionsScreen::kRowCount> kRows = {{
    {TOptionsScreen::rkSwitch, "FULLSCREEN",     oiFullscreen, 0,  kaCount, "fullscreen"},
    {TOptionsScreen::rkNumber, "WINDOW SCALE",   oiScale,      1,  kaCount, "scale"},
    {TOptionsScreen::rkSwitch, "SMOOTH SCALING", oiSmooth,     0,  kaCount, "smooth"},
    {TOptionsScreen::rkNumber, "VOLUME",         oiVolume,     10, kaCount, "volume"},
    {TOptionsScreen::rkSwitch, "MUTE",           oiMuted,      0,  kaCount, "muted"},
    {TOptionsScreen::rkSwitch, "AUTO-PAUSE",     oiAutoPause,  0,  kaCount, "autopause"},
    {TOptionsScreen::rkSwitch, "CLASSIC SCREEN", oiClassic,    0,  kaCount, "classic"},
    {TOptionsScreen::rkKey,    "FIRE",           oiCount,      0,  kaFire},
    {TOptionsScreen::rkKey,    "POWER-UP",       oiCount,      0,  kaPowerUp},
    {TOptionsScreen::rkKey,    "PAUSE",          oiCount,      0,  kaPause},
    {TOptionsScreen::rkKey,    "LEFT",           oiCount,      0,  kaLeft},
    {TOptionsScreen::rkKey,    "UP",             oiCount,      0,  kaUp},
    {TOptionsScreen::rkKey,    "RIGHT",          oiCount,      0,  kaRight},
    {TOptionsScreen::rkKey,    "DOWN",           oiCount,      0,  kaDown},
    {TOptionsScreen::rkDefaultKeys, "DEFAULT KEYS"},
}};
// clang-format on

// The panel and its rows, in screen pixels.
constexpr int32_t kPanelLeft = 160, kPanelRight = kFieldWidth - 160, kPanelTop = 36, kPanelBottom = 564;
constexpr int32_t kLabelX = 200, kValueX = 450, kFirstRowY = 96, kRowPitch = 25, kGroupGap = 12;
constexpr int32_t kTitleY = 50, kNoteY = 508, kHelpY = 540;
constexpr uint32_t kDimColor = 0xB0000000, kPanelColor = 0xE0101828, kBarColor = 0xC0284890;
constexpr uint32_t kChosenColor = 0xFFFFFF, kRowColor = 0xA0A0A0, kNoteColor = 0xFFE060, kHelpColor = 0x808080;
constexpr int32_t kCapturing = -2;  // RowValue of the row waiting for a key
constexpr const char* kHelpText = "[UP/DOWN] CHOOSE [LEFT/RIGHT] CHANGE [ENTER] SET [ESC] BACK";

// Option rows, then key rows, then the last row, each group a little apart.
int32_t RowY(int32_t Row) {
  const int32_t gaps = (Row >= oiCount ? 1 : 0) + (Row >= int32_t{oiCount} + int32_t{kaCount} ? 1 : 0);
  return kFirstRowY + Row * kRowPitch + gaps * kGroupGap;
}

void QueueRectangle(TSXScene& Scene, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, uint32_t Color) {
  const float w = static_cast<float>(Right - Left), h = static_cast<float>(Bottom - Top);
  const std::array<TSXVertexSP, 4> corners = {TSXVertexSP{0, 0, Color, 0, 0, 0}, TSXVertexSP{w, 0, Color, 0, 0, 0},
                                              TSXVertexSP{0, h, Color, 0, 0, 0}, TSXVertexSP{w, h, Color, 0, 0, 0}};
  Scene.DrawSprite(TVector2{static_cast<float>(Left), static_cast<float>(Top)}, corners, nullptr, 2, false, true, 0.0f,
                   D3DTADDRESS_CLAMP, D3DTADDRESS_CLAMP);
}

const std::string& Font() { return Jp("ＭＳ ゴシック"); }
}  // namespace

const std::array<TOptionsScreen::TRow, TOptionsScreen::kRowCount>& TOptionsScreen::Rows() { return kRows; }

TOptionsScreen::TOptionsScreen(TSXScene* SpriteScene, TOptionsHost& Host)
    : spriteScene_(SpriteScene),
      host_(Host),
      writer_(std::make_unique<TSXTextWriter>(SpriteScene->Device(), D3DFMT_A8R8G8B8, 16)) {
  title_ = MakeTextTexture(*writer_, "OPTIONS", Font(), 20);
  help_ = MakeTextTexture(*writer_, kHelpText, Font(), 12);
  for (int32_t row = 0; row < kRowCount; ++row) {
    labels_[row] = MakeTextTexture(*writer_, kRows[row].Label, Font(), 16);
    shown_[row] = -1;  // no value texture yet
  }
}

TOptionsScreen::~TOptionsScreen() = default;

bool TOptionsScreen::Watch(bool Offered) {
  TKeySource& keys = host_.MenuKeys();
  const bool down = keys.IsApplicationActive() && keys.IsKeyDown(VK_TAB);
  const bool open = Offered && state_ == osClosed && down && !tabDown_;
  tabDown_ = down;
  if (!open) return false;
  state_ = osOpen;
  row_ = 0;
  note_.clear();
  noteTexture_.reset();
  // Whatever is down now (Tab at least) counts as pressed only once let go and pressed again.
  ReadKeys();
  wasDown_ = down_;
  return true;
}

void TOptionsScreen::ReadKeys() {
  wasDown_ = down_;
  TKeySource& keys = host_.MenuKeys();
  const bool active = keys.IsApplicationActive();
  for (int key = 1; key < 256; ++key) down_[key] = active && keys.IsKeyDown(static_cast<uint8_t>(key));
}

void TOptionsScreen::Update() {
  if (state_ == osClosed) return;
  ReadKeys();
  if (state_ == osClosing) {
    if (!down_[VK_ESCAPE] && !down_[VK_RETURN]) state_ = osClosed;
    return;
  }
  if (state_ == osCapturing) {
    Capture();
    return;
  }
  if (Pressed(VK_ESCAPE) || Pressed(VK_TAB)) {
    tabDown_ = down_[VK_TAB];
    state_ = !down_[VK_ESCAPE] && !down_[VK_RETURN] ? osClosed : osClosing;
    return;
  }
  if (Pressed(VK_UP) || Pressed(VK_DOWN)) {
    row_ = (row_ + (Pressed(VK_UP) ? kRowCount - 1 : 1)) % kRowCount;
    SetNote("");
  } else if (Pressed(VK_LEFT)) {
    Change(-1);
  } else if (Pressed(VK_RIGHT)) {
    Change(+1);
  } else if (Pressed(VK_RETURN)) {
    Choose();
  }
}

void TOptionsScreen::Change(int32_t Direction) {
  const TRow& row = kRows[row_];
  if (row.Kind == rkSwitch) {
    host_.SetValue(row.Option, host_.Value(row.Option) == 0 ? 1 : 0);
  } else if (row.Kind == rkNumber) {
    host_.SetValue(row.Option, host_.Value(row.Option) + Direction * row.Step);
  }
}

void TOptionsScreen::Choose() {
  const TRow& row = kRows[row_];
  switch (row.Kind) {
    case rkSwitch:
    case rkNumber: Change(+1); break;
    case rkKey:
      state_ = osCapturing;
      SetNote(std::string("PRESS A KEY FOR ") + row.Label + " (ESC: KEEP " + KeyName(host_.Keys().Key(row.Action)) +
              ")");
      break;
    case rkDefaultKeys:
      host_.ResetKeys();
      SetNote("EVERY ACTION IS ON ITS OWN KEY AGAIN");
      break;
  }
}

void TOptionsScreen::Capture() {
  const TKeyAction action = kRows[row_].Action;
  if (Pressed(VK_ESCAPE)) {
    state_ = osOpen;
    SetNote("");
    return;
  }
  for (const TKeyNameEntry& entry : KeyNames()) {
    if (!Pressed(entry.Key)) continue;
    const std::string name = entry.Name;
    switch (host_.Bind(action, entry.Key)) {
      case brBound:
        state_ = osOpen;
        SetNote(std::string(kKeyActions[action].Label) + " IS ON " + name);
        break;
      case brTaken:
        SetNote(name + " IS " + kKeyActions[host_.Keys().ActionOfKey(entry.Key)].Label + "'S KEY: PRESS ANOTHER");
        break;
      case brReserved: SetNote(name + " IS THE PROGRAM'S OWN: PRESS ANOTHER"); break;
      case brUnknown: break;  // every key of the table has a name
    }
    return;
  }
}

void TOptionsScreen::SetNote(const std::string& Text) {
  if (Text == note_) return;
  note_ = Text;
  noteTexture_ = note_.empty() ? nullptr : MakeTextTexture(*writer_, note_, Font(), 14);
}

int32_t TOptionsScreen::RowValue(int32_t Row) const {
  const TRow& row = kRows[Row];
  switch (row.Kind) {
    case rkSwitch:
    case rkNumber: return host_.Value(row.Option);
    case rkKey: return state_ == osCapturing && Row == row_ ? kCapturing : host_.Keys().Key(row.Action);
    case rkDefaultKeys: break;
  }
  return 0;
}

std::string TOptionsScreen::RowText(int32_t Row) const {
  const TRow& row = kRows[Row];
  const int32_t value = RowValue(Row);
  switch (row.Kind) {
    case rkSwitch: return value != 0 ? "ON" : "OFF";
    case rkNumber: return row.Option == oiScale ? "x" + std::to_string(value) : std::to_string(value);
    case rkKey: return value == kCapturing ? "..." : KeyName(static_cast<uint8_t>(value));
    case rkDefaultKeys: break;
  }
  return "";
}

void TOptionsScreen::Render() {
  if (!Shown()) return;
  TSXScene& scene = *spriteScene_;
  QueueRectangle(scene, 0, 0, kFieldWidth, kFieldHeight, kDimColor);
  QueueRectangle(scene, kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, kPanelColor);
  QueueRectangle(scene, kPanelLeft + 10, RowY(row_) - 3, kPanelRight - 10, RowY(row_) + kRowPitch - 4, kBarColor);
  QueueTexture(scene, (kFieldWidth - static_cast<int32_t>(title_->Width())) / 2, kTitleY, true, false, kChosenColor,
               title_.get());
  for (int32_t row = 0; row < kRowCount; ++row) {
    const uint32_t color = row == row_ ? kChosenColor : kRowColor;
    QueueTexture(scene, kLabelX, RowY(row), true, false, color, labels_[row].get());
    if (kRows[row].Kind == rkDefaultKeys) continue;
    // A value's texture is made again only when the value changed (F7 to F9 and F11 change some from outside).
    const int32_t value = RowValue(row);
    if (value != shown_[row] || !values_[row]) {
      values_[row] = MakeTextTexture(*writer_, RowText(row), Font(), 16);
      shown_[row] = value;
    }
    QueueTexture(scene, kValueX, RowY(row), true, false, color, values_[row].get());
  }
  if (noteTexture_) {
    QueueTexture(scene, (kFieldWidth - static_cast<int32_t>(noteTexture_->Width())) / 2, kNoteY, true, false,
                 kNoteColor, noteTexture_.get());
  }
  QueueTexture(scene, (kFieldWidth - static_cast<int32_t>(help_->Width())) / 2, kHelpY, true, false, kHelpColor,
               help_.get());
}
