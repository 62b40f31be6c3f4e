// Device context: drawing on a painter's device in its pixels (origin top left, y down).
#pragma once

#include "mfc/MfcTypes.h"

#include <QString>
#include <memory>

class CBitmap;
class CFont;
class QPainter;
class QPaintDevice;

class CDC {
public:
    // Draws through an active painter it does not own.
    explicit CDC(QPainter* painter);
    // Opens a painter on device and ends it when destroyed.
    explicit CDC(QPaintDevice* device);
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    bool isValid() const;
    QPainter* painter() const { return m_painter; }

    // HORZRES, VERTRES (pixels), LOGPIXELSX, LOGPIXELSY (pixels per inch).
    int GetDeviceCaps(int index) const;

    // Selects font for text output; returns the font selected before (null: the default).
    CFont* SelectObject(CFont* font);

    // Draws text in the rectangle (DT_ flags; clipped to it unless DT_NOCLIP). Returns the
    // text height, 0 on failure.
    int DrawText(const QString& text, CRect* rect, UINT format);

    // Copies a part of a bitmap 1:1, or scaled without smoothing; SRCCOPY only.
    BOOL BitBlt(int x, int y, int width, int height, const CBitmap& source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, const CBitmap& source, int xSrc, int ySrc,
                    int widthSrc, int heightSrc, DWORD rop);

private:
    QPainter* m_painter;
    std::unique_ptr<QPainter> m_owned;
    CFont* m_font = nullptr;
};
