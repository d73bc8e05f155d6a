// Basic Direct3D 9 types and codes with their real numeric values: result codes and surface formats.
// The rest of the Direct3D 9 subset (interfaces, states, structures) lives in d3d9.h.
#pragma once
#include <cstdint>

using HRESULT = int32_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using BOOL = int32_t;

constexpr HRESULT MakeHResult(uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);

constexpr HRESULT D3D_OK = S_OK;
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = MakeHResult(0x8876017Cu);
constexpr HRESULT D3DERR_WRONGTEXTUREFORMAT = MakeHResult(0x88760818u);
constexpr HRESULT D3DERR_UNSUPPORTEDCOLOROPERATION = MakeHResult(0x88760819u);
constexpr HRESULT D3DERR_UNSUPPORTEDCOLORARG = MakeHResult(0x8876081Au);
constexpr HRESULT D3DERR_UNSUPPORTEDALPHAOPERATION = MakeHResult(0x8876081Bu);
constexpr HRESULT D3DERR_UNSUPPORTEDALPHAARG = MakeHResult(0x8876081Cu);
constexpr HRESULT D3DERR_TOOMANYOPERATIONS = MakeHResult(0x8876081Du);
constexpr HRESULT D3DERR_CONFLICTINGTEXTUREFILTER = MakeHResult(0x8876081Eu);
constexpr HRESULT D3DERR_UNSUPPORTEDFACTORVALUE = MakeHResult(0x8876081Fu);
constexpr HRESULT D3DERR_CONFLICTINGRENDERSTATE = MakeHResult(0x88760821u);
constexpr HRESULT D3DERR_UNSUPPORTEDTEXTUREFILTER = MakeHResult(0x88760822u);
constexpr HRESULT D3DERR_CONFLICTINGTEXTUREPALETTE = MakeHResult(0x88760826u);
constexpr HRESULT D3DERR_DRIVERINTERNALERROR = MakeHResult(0x88760827u);
constexpr HRESULT D3DERR_NOTFOUND = MakeHResult(0x88760866u);
constexpr HRESULT D3DERR_MOREDATA = MakeHResult(0x88760867u);
constexpr HRESULT D3DERR_DEVICELOST = MakeHResult(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = MakeHResult(0x88760869u);
constexpr HRESULT D3DERR_NOTAVAILABLE = MakeHResult(0x8876086Au);
constexpr HRESULT D3DERR_INVALIDDEVICE = MakeHResult(0x8876086Bu);
constexpr HRESULT D3DERR_INVALIDCALL = MakeHResult(0x8876086Cu);
constexpr HRESULT D3DERR_DRIVERINVALIDCALL = MakeHResult(0x8876086Du);

constexpr bool FAILED(HRESULT hr) { return hr < 0; }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

constexpr uint32_t MAKEFOURCC(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | (uint32_t(uint8_t(b)) << 8) | (uint32_t(uint8_t(c)) << 16) |
         (uint32_t(uint8_t(d)) << 24);
}

enum D3DFORMAT : uint32_t {
  D3DFMT_UNKNOWN = 0,
  D3DFMT_R8G8B8 = 20,
  D3DFMT_A8R8G8B8 = 21,
  D3DFMT_X8R8G8B8 = 22,
  D3DFMT_R5G6B5 = 23,
  D3DFMT_X1R5G5B5 = 24,
  D3DFMT_A1R5G5B5 = 25,
  D3DFMT_A4R4G4B4 = 26,
  D3DFMT_R3G3B2 = 27,
  D3DFMT_A8 = 28,
  D3DFMT_A8R3G3B2 = 29,
  D3DFMT_X4R4G4B4 = 30,
  D3DFMT_A8P8 = 40,
  D3DFMT_P8 = 41,
  D3DFMT_L8 = 50,
  D3DFMT_A8L8 = 51,
  D3DFMT_A4L4 = 52,
  D3DFMT_V8U8 = 60,
  D3DFMT_L6V5U5 = 61,
  D3DFMT_X8L8V8U8 = 62,
  D3DFMT_Q8W8V8U8 = 63,
  D3DFMT_V16U16 = 64,
  D3DFMT_D16_LOCKABLE = 70,
  D3DFMT_D32 = 71,
  D3DFMT_D15S1 = 73,
  D3DFMT_D24S8 = 75,
  D3DFMT_D24X8 = 77,
  D3DFMT_D24X4S4 = 79,
  D3DFMT_D16 = 80,
  D3DFMT_VERTEXDATA = 100,
  D3DFMT_INDEX16 = 101,
  D3DFMT_INDEX32 = 102,
  D3DFMT_DXT1 = MAKEFOURCC('D', 'X', 'T', '1'),
  D3DFMT_DXT2 = MAKEFOURCC('D', 'X', 'T', '2'),
  D3DFMT_DXT3 = MAKEFOURCC('D', 'X', 'T', '3'),
  D3DFMT_DXT4 = MAKEFOURCC('D', 'X', 'T', '4'),
  D3DFMT_DXT5 = MAKEFOURCC('D', 'X', 'T', '5'),
  D3DFMT_YUY2 = MAKEFOURCC('Y', 'U', 'Y', '2'),
  D3DFMT_UYVY = MAKEFOURCC('U', 'Y', 'V', 'Y'),
};
