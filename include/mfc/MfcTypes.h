// Types and constants of the dialog framework layer, with the platform's values.
#pragma once

#include <QRect>
#include <cstdint>

using BOOL = int;
using UINT = unsigned int;
using DWORD = std::uint32_t;
using BYTE = unsigned char;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Dialog results and standard control ids.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Message box types and results.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Commands.
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE303;
constexpr UINT AFX_IDP_COMMAND_FAILURE = 61705;

// Device capabilities.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Text drawing.
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOCLIP = 0x100;

// Fonts.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_STROKE_PRECIS = 3;
constexpr BYTE CLIP_STROKE_PRECIS = 2;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_SWISS = 0x20;

// Raster operation of the bitmap copies.
constexpr DWORD SRCCOPY = 0x00CC0020;

// Multiplies two numbers and divides by a third, rounded; -1 when the divisor is 0.
int MulDiv(int number, int numerator, int denominator);

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    CRect() = default;
    CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
};
