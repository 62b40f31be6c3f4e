#include "mfc/CDC.h"

#include "mfc/CBitmap.h"
#include "mfc/CFont.h"

#include <QPaintDevice>
#include <QPainter>

CDC::CDC(QPainter* painter) : m_painter(painter) {}

CDC::CDC(QPaintDevice* device) : m_painter(nullptr) {
    m_owned = std::make_unique<QPainter>();
    if (device && m_owned->begin(device))
        m_painter = m_owned.get();
}

CDC::~CDC() {
    if (m_owned && m_owned->isActive())
        m_owned->end();
}

bool CDC::isValid() const {
    return m_painter && m_painter->isActive();
}

int CDC::GetDeviceCaps(int index) const {
    QPaintDevice* device = m_painter ? m_painter->device() : nullptr;
    if (!device)
        return 0;
    switch (index) {
    case HORZRES:
        return device->width();
    case VERTRES:
        return device->height();
    case LOGPIXELSX:
        return device->logicalDpiX();
    case LOGPIXELSY:
        return device->logicalDpiY();
    default:
        return 0;
    }
}

CFont* CDC::SelectObject(CFont* font) {
    CFont* previous = m_font;
    m_font = font;
    if (m_painter && m_painter->isActive()) {
        if (font && !font->isNull())
            m_painter->setFont(font->resolve(m_painter->device()));
        else
            m_painter->setFont(QFont());
    }
    return previous;
}

int CDC::DrawText(const QString& text, CRect* rect, UINT format) {
    if (!isValid() || !rect)
        return 0;
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (format & DT_SINGLELINE)
        flags |= (format & DT_VCENTER)  ? Qt::AlignVCenter
                 : (format & DT_BOTTOM) ? Qt::AlignBottom
                                        : Qt::AlignTop;
    else
        flags |= Qt::AlignTop;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_NOCLIP)
        flags |= Qt::TextDontClip;
    const QRect box = rect->toQRect();
    if (box.width() <= 0 || box.height() <= 0)
        return 0;
    m_painter->save();
    m_painter->setPen(Qt::black);
    QRect used;
    m_painter->drawText(box, flags, text, &used);
    m_painter->restore();
    return used.height();
}

BOOL CDC::BitBlt(int x, int y, int width, int height, const CBitmap& source, int xSrc, int ySrc, DWORD rop) {
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, const CBitmap& source, int xSrc, int ySrc,
                     int widthSrc, int heightSrc, DWORD rop) {
    if (!isValid() || source.isNull() || rop != SRCCOPY || width <= 0 || height <= 0 || widthSrc <= 0 ||
        heightSrc <= 0)
        return FALSE;
    m_painter->save();
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter->drawImage(QRect(x, y, width, height), source.image(), QRect(xSrc, ySrc, widthSrc, heightSrc));
    m_painter->restore();
    return TRUE;
}
