#include "mfc/CBitmap.h"

#include <QPainter>

BOOL CBitmap::CreateBitmap(int width, int height, UINT, UINT bitsPerPixel) {
    if (width <= 0 || height <= 0)
        return FALSE;
    m_mono = bitsPerPixel == 1;
    m_image = QImage(width, height, QImage::Format_RGB32);
    if (m_image.isNull())
        return FALSE;
    m_image.fill(Qt::white);
    return TRUE;
}

BOOL CBitmap::LoadFromFile(const QString& path) {
    QImage image(path);
    if (image.isNull())
        return FALSE;
    m_mono = image.depth() == 1;
    m_image = image.convertToFormat(QImage::Format_ARGB32);
    return TRUE;
}

BOOL CBitmap::DeleteObject() {
    const BOOL had = m_image.isNull() ? FALSE : TRUE;
    m_image = QImage();
    m_mono = false;
    return had;
}

void CBitmap::Fill(bool white) {
    m_image.fill(white ? Qt::white : Qt::black);
}

void CBitmap::SetPixel(int x, int y, bool dark) {
    if (m_image.valid(x, y))
        m_image.setPixel(x, y, dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
}

bool CBitmap::isDark(int x, int y) const {
    return m_image.valid(x, y) && qGray(m_image.pixel(x, y)) < 128;
}

BOOL CBitmap::StretchFrom(const CBitmap& source) {
    if (m_image.isNull() || source.isNull())
        return FALSE;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, m_image.width(), m_image.height()), source.image());
    return TRUE;
}
