// A logical font as the platform describes one: cell height in device pixels, average
// character width, weight, face name. The device context resolves it for its device.
#pragma once

#include "mfc/MfcTypes.h"

#include <QFont>
#include <QString>

class QPaintDevice;

class CFont {
public:
    // nHeight > 0: cell height (ascent + descent); < 0: character height; 0: a default height.
    // nWidth: average character width, 0 for the face's own proportions.
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, const QString& faceName);
    BOOL DeleteObject();
    bool isNull() const { return !m_created; }

    int height() const { return m_height; }
    int width() const { return m_width; }
    const QString& faceName() const { return m_face; }

    // The font for drawing on device.
    QFont resolve(QPaintDevice* device) const;

private:
    bool m_created = false;
    int m_height = 0;
    int m_width = 0;
    int m_weight = FW_NORMAL;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikeOut = false;
    QString m_face;
};

namespace mfc {

// Maps the Windows face names the programs ask for ("宋体", "微软雅黑", "MS Shell Dlg" and their
// Latin names) to the installed CJK font. Safe to call more than once.
void registerFontSubstitutes();

} // namespace mfc
