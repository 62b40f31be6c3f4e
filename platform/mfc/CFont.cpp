#include "mfc/CFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QStringList>
#include <cmath>

namespace mfc {

void registerFontSubstitutes() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")};
    const QStringList names = {QStringLiteral("宋体"),         QStringLiteral("SimSun"),
                               QStringLiteral("新宋体"),       QStringLiteral("NSimSun"),
                               QStringLiteral("微软雅黑"),     QStringLiteral("Microsoft YaHei"),
                               QStringLiteral("MS Shell Dlg"), QStringLiteral("MS Shell Dlg 2")};
    for (const QString& name : names)
        QFont::insertSubstitutions(name, cjk);
}

} // namespace mfc

BOOL CFont::CreateFont(int nHeight, int nWidth, int, int, int nWeight, BYTE bItalic, BYTE bUnderline,
                       BYTE cStrikeOut, BYTE, BYTE, BYTE, BYTE, BYTE, const QString& faceName) {
    mfc::registerFontSubstitutes();
    m_created = true;
    m_height = nHeight;
    m_width = nWidth < 0 ? -nWidth : nWidth;
    m_weight = nWeight <= 0 ? FW_NORMAL : nWeight;
    m_italic = bItalic != 0;
    m_underline = bUnderline != 0;
    m_strikeOut = cStrikeOut != 0;
    m_face = faceName;
    return TRUE;
}

BOOL CFont::DeleteObject() {
    const BOOL had = m_created ? TRUE : FALSE;
    m_created = false;
    return had;
}

QFont CFont::resolve(QPaintDevice* device) const {
    QFont font(m_face);
    font.setWeight(m_weight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikeOut);
    font.setKerning(false);
    // Pixel sizes are the device's pixels: measure the face at a reference size on that device.
    constexpr int reference = 100;
    font.setPixelSize(reference);
    const QFontMetricsF probe(font, device);
    int pixelSize;
    if (m_height > 0) {
        const qreal cell = probe.ascent() + probe.descent();
        pixelSize = cell > 0 ? qRound(m_height * reference / cell) : m_height;
    } else if (m_height < 0) {
        pixelSize = -m_height;
    } else {
        pixelSize = device ? qMax(1, device->logicalDpiY() * 12 / 72) : 16;
    }
    font.setPixelSize(qMax(1, pixelSize));
    if (m_width > 0) {
        const QFontMetricsF natural(font, device);
        const qreal average = natural.averageCharWidth();
        if (average > 0)
            font.setStretch(qBound(1, qRound(m_width * 100 / average), 4000));
    }
    return font;
}
