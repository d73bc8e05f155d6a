// The window's icon, read from the PNG the install keeps beside the program (the desktop icon's picture), so
// task bars and window switchers show the game's own picture rather than a generic one.
#pragma once
#include <string>

struct SDL_Window;

// Gives the window the picture in File (any PNG libpng reads). False, with the reason in Error, when the file
// is missing or broken; the window then keeps the desktop's default icon.
bool SetWindowIconFromPng(SDL_Window* Window, const std::string& File, std::string& Error);
