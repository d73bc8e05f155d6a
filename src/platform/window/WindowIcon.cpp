#include "WindowIcon.h"

#include <SDL.h>
#include <png.h>

#include <cstring>
#include <vector>

bool SetWindowIconFromPng(SDL_Window* Window, const std::string& File, std::string& Error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, File.c_str())) {
    Error = File + ": " + image.message;
    return false;
  }
  // A desktop icon is at most a few hundred pixels a side; anything larger is not an icon.
  if (image.width == 0 || image.height == 0 || image.width > 1024 || image.height > 1024) {
    png_image_free(&image);
    Error = File + ": not an icon-sized picture";
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    Error = File + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), static_cast<int>(image.width), static_cast<int>(image.height),
                                         32, static_cast<int>(PNG_IMAGE_ROW_STRIDE(image)), SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) {
    Error = std::string("cannot make the icon: ") + SDL_GetError();
    return false;
  }
  SDL_SetWindowIcon(Window, surface);  // SDL copies the pixels into the window system's icon
  SDL_FreeSurface(surface);
  return true;
}
