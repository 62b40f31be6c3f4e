// A device-independent bitmap: monochrome or colour pixels, loaded from a file or made empty.
#pragma once

#include "mfc/MfcTypes.h"

#include <QImage>
#include <QString>

class CBitmap {
public:
    // bitsPerPixel 1: a monochrome bitmap (black and white only); it starts white.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel);
    // Loads an image file (BMP and the other formats Qt reads); FALSE when it cannot be read.
    BOOL LoadFromFile(const QString& path);
    BOOL DeleteObject();

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isMonochrome() const { return m_mono; }

    void Fill(bool white);
    // Monochrome: dark true sets the pixel black.
    void SetPixel(int x, int y, bool dark);
    bool isDark(int x, int y) const;
    // Copies the whole of source onto the whole of this bitmap, pixel for pixel (no smoothing).
    BOOL StretchFrom(const CBitmap& source);

    const QImage& image() const { return m_image; }

private:
    QImage m_image;
    bool m_mono = false;
};
