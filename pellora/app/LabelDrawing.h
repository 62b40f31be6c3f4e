// Drawing of one printed page of labels on a printer or preview device context.
#pragma once

#include <QString>

class CDC;
class CPrintInfo;
class CPelloraDlg;

// Called by the print view for every page: takes the controls' texts, sets the job's last page
// and draws the page. data is the dialog.
void printPageCallback(CDC* pDC, CPrintInfo* pInfo, void* data);

// Draws the labels of the current page (every page carries the same labels).
void drawLabelPage(CPelloraDlg* dlg, CDC* pDC, CPrintInfo* pInfo);

// Renders the QR image of link and copies it onto every label.
void drawQrCodes(CPelloraDlg* dlg, CDC* pDC, const QString& link, int labelCount, int pageWidth);

// Encodes link into the dialog's 140 x 140 QR image. False when the text cannot be encoded; the
// previous image (if any) then stays.
bool renderQrBitmap(CPelloraDlg* dlg, const QString& link);

// The eight text rows of label k.
void drawLabelTexts(CPelloraDlg* dlg, CDC* pDC, const QString& faceName, int pageHeight, int pageWidth,
                    int labelCount, int k);

// One text row of label k at y, starting x pixels into the label's column.
void drawTextLine(CDC* pDC, const QString& text, const QString& faceName, int fontWidth, int fontSize, int y,
                  int x, int pageHeight, int pageWidth, int labelCount, int k);

// One logo on every label, scaled down by divisor; a file that cannot be read is left out.
void drawBitmapFile(CDC* pDC, const QString& path, int divisor, int x0, int y, int labelCount, int pageWidth);

// x offset of label k's images: floor(k * W / n) + 5 * k.
int labelImageOffset(int k, int pageWidth, int labelCount);
