// The window-system services of the main form besides the owner window the device draws into: caption, screen
// cursor and message boxes. The SDL window and the headless runner provide them.
#pragma once
#include <cstdint>
#include <string>

inline constexpr uint32_t MB_OK = 0x00;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr int IDOK = 1;

// Values of the screen cursor: the framework's default arrow and no cursor.
inline constexpr int crDefault = 0;
inline constexpr int crNone = -1;

class TFormHost {
 public:
  virtual ~TFormHost() = default;
  virtual void SetCaption(const std::string& Caption) = 0;  // CP932
  virtual void SetScreenCursor(int Cursor) = 0;             // crDefault or crNone
  // Shows a modal box with no owner window; text and caption are CP932. Returns the button pressed (IDOK).
  virtual int MessageBoxA(const std::string& Text, const std::string& Caption, uint32_t Flags) = 0;
};
