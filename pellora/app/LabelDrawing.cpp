#include "LabelDrawing.h"

#include "CPelloraDlg.h"
#include "qr/QrEncoder.h"

#include "mfc/CBitmap.h"
#include "mfc/CDC.h"
#include "mfc/CFont.h"
#include "mfc/CPrintInfo.h"

#include <memory>

namespace {

constexpr int kQuietZone = 4;
constexpr int kTextRowsY[CPelloraDlg::RowCount] = {75, 95, 115, 135, 155, 175, 195, 215};

} // namespace

int labelImageOffset(int k, int pageWidth, int labelCount) {
    if (labelCount < 1)
        labelCount = 1;
    return static_cast<int>(static_cast<long long>(k) * pageWidth / labelCount) + 5 * k;
}

void printPageCallback(CDC* pDC, CPrintInfo* pInfo, void* data) {
    auto* dlg = static_cast<CPelloraDlg*>(data);
    if (!dlg || !pDC || !pInfo)
        return;
    dlg->UpdateData(TRUE);
    pInfo->SetMaxPage(static_cast<UINT>(dlg->m_nPageCount));
    drawLabelPage(dlg, pDC, pInfo);
}

void drawLabelPage(CPelloraDlg* dlg, CDC* pDC, CPrintInfo*) {
    const int width = pDC->GetDeviceCaps(HORZRES);
    const int height = pDC->GetDeviceCaps(VERTRES);
    const int count = CPelloraDlg::clampLabelCount(dlg->m_nLabelCount);
    const QString link = dlg->qrLink();

    drawQrCodes(dlg, pDC, link, count, width);

    const QString face = dlg->m_strFaceName.isEmpty() ? QStringLiteral("宋体") : dlg->m_strFaceName;
    for (int k = 0; k < count; ++k)
        drawLabelTexts(dlg, pDC, face, height, width, count, k);

    drawBitmapFile(pDC, dlg->m_strIpLogoPath, 8, 18, 10, count, width);
    drawBitmapFile(pDC, dlg->m_strCeLogoPath, 10, 240, 150, count, width);

    dlg->UpdateData(FALSE);
}

bool renderQrBitmap(CPelloraDlg* dlg, const QString& link) {
    dlg->UpdateData(TRUE);
    // The encoder's buffers are large; one object per encoding, on the heap.
    auto encoder = std::make_unique<QrEncoder>();
    if (!encoder->encodeText(link.toUtf8().constData()))
        return false;

    const int side = encoder->side();
    const int full = side + 2 * kQuietZone;
    dlg->m_qrModules.DeleteObject();
    if (!dlg->m_qrModules.CreateBitmap(full, full, 1, 1))
        return false;
    dlg->m_nQrModuleSide = full;
    dlg->m_qrModules.Fill(true);
    for (int x = 0; x < side; ++x) {
        for (int y = 0; y < side; ++y) {
            if (encoder->module(x, y))
                dlg->m_qrModules.SetPixel(x + kQuietZone, y + kQuietZone, true);
        }
    }

    CBitmap image;
    if (!image.CreateBitmap(dlg->m_nQrSize, dlg->m_nQrSize, 1, 1) || !image.StretchFrom(dlg->m_qrModules))
        return false;
    dlg->m_qrBitmap = image;
    dlg->m_bQrValid = 1;
    return true;
}

void drawQrCodes(CPelloraDlg* dlg, CDC* pDC, const QString& link, int labelCount, int pageWidth) {
    if (!renderQrBitmap(dlg, link))
        dlg->m_bQrValid = 0;
    // A failed encoding keeps the previous image; with none there is nothing to draw.
    if (dlg->m_qrBitmap.isNull())
        return;
    for (int k = 0; k < labelCount; ++k) {
        pDC->BitBlt(dlg->m_nQrLeft + labelImageOffset(k, pageWidth, labelCount), dlg->m_nQrTop,
                    dlg->m_nQrSize, dlg->m_nQrSize, dlg->m_qrBitmap, 0, 0, SRCCOPY);
    }
}

void drawLabelTexts(CPelloraDlg* dlg, CDC* pDC, const QString& faceName, int pageHeight, int pageWidth,
                    int labelCount, int k) {
    for (int row = 0; row < CPelloraDlg::RowCount; ++row) {
        drawTextLine(pDC, dlg->m_captions[row] + dlg->m_values[row], faceName, dlg->m_nFontWidth,
                     dlg->m_nFontSize, kTextRowsY[row], 20, pageHeight, pageWidth, labelCount, k);
    }
}

void drawTextLine(CDC* pDC, const QString& text, const QString& faceName, int fontWidth, int fontSize, int y,
                  int x, int pageHeight, int pageWidth, int labelCount, int k) {
    const int pitch = pageWidth / (labelCount < 1 ? 1 : labelCount);
    CRect column(x + k * (pitch + 5), y, k == 0 ? pitch : (k + 1) * (pitch + 5), pageHeight);

    CFont font;
    font.CreateFont(MulDiv(fontSize, pDC->GetDeviceCaps(LOGPIXELSY), 72), fontWidth, 0, 0, FW_NORMAL, FALSE,
                    FALSE, FALSE, DEFAULT_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                    VARIABLE_PITCH | FF_SWISS, faceName);
    CFont* previous = pDC->SelectObject(&font);
    pDC->DrawText(text, &column, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_WORDBREAK);
    pDC->SelectObject(previous);
    font.DeleteObject();
}

void drawBitmapFile(CDC* pDC, const QString& path, int divisor, int x0, int y, int labelCount,
                    int pageWidth) {
    CBitmap bitmap;
    if (path.isEmpty() || !bitmap.LoadFromFile(path))
        return;
    const int w = bitmap.width();
    const int h = bitmap.height();
    for (int k = 0; k < labelCount; ++k) {
        pDC->StretchBlt(x0 + labelImageOffset(k, pageWidth, labelCount), y, w / divisor, h / divisor, bitmap,
                        0, 0, w, h, SRCCOPY);
    }
}
