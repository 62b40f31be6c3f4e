// Label page drawing at the layout's positions, the print job to PDF, the print preview frame.
#include "PelloraTestSupport.h"

#include "CMainFrame.h"
#include "CMyPreviewView.h"
#include "LabelDrawing.h"
#include "Resource.h"

#include "mfc/CDC.h"
#include "mfc/CPrintInfo.h"
#include "mfc/CWinApp.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

using namespace pellora_test;

namespace {

int darkPixels(const QImage& image, const QRect& area) {
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++count;
    return count;
}

bool isColour(const QImage& image, int x, int y, QRgb colour) {
    return (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
}

// Decodes the QR codes in a picture with zbarimg; empty when none is found.
QStringList decodeQr(const QImage& image, const QString& folder) {
    const QString file = folder + "/qr.png";
    image.save(file);
    QProcess zbar;
    zbar.start("zbarimg", {"--raw", "-q", file});
    if (!zbar.waitForFinished(20000))
        return {};
    return QString::fromUtf8(zbar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

class LabelPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        writeLogos(folder);
    }

    // A dialog set up as after a verified start, without running it.
    void fill(CPelloraDlg& dlg, int count, bool chinese) {
        writeIni(folder, chinese ? 1 : 0);
        dlg.m_strIniPath = folder + "/PelloraInfo.ini";
        dlg.m_strIpLogoPath = folder + "/IP.bmp";
        dlg.m_strCeLogoPath = folder + "/ce.bmp";
        dlg.m_nLabelCount = count;
        dlg.m_nPageCount = 2;
        dlg.m_strQrHost = "labels.example.test";
        if (chinese)
            dlg.applyChineseCaptions();
        else
            dlg.applyEnglishCaptions();
        dlg.m_values[CPelloraDlg::Captcha] = "K7Q2";
        dlg.UpdateData(FALSE);
    }

    QImage page(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(7992); // 203 dpi
        image.setDotsPerMeterY(7992);
        return image;
    }

    void draw(CPelloraDlg& dlg, QImage& image, UINT pageNo = 1) {
        CDC dc(&image);
        ASSERT_TRUE(dc.isValid());
        CPrintInfo info;
        info.m_nCurPage = pageNo;
        printPageCallback(&dc, &info, &dlg);
        EXPECT_EQ(info.GetMaxPage(), 2u);
    }

    QTemporaryDir dir;
    QString folder;
    MessageBoxes boxes;
};

TEST_F(LabelPrintTest, TwoLabelsAtTheLayoutPositions) {
    CPelloraDlg dlg;
    fill(dlg, 2, false);
    QImage image = page(1000, 300);
    draw(dlg, image);
    const QString link = "https://labels.example.test/home/account/device-qrcode?device_id=SN20260001";
    EXPECT_EQ(dlg.qrLink(), link);
    EXPECT_EQ(dlg.m_bQrValid, 1);

    for (int offset : {0, 505}) {
        SCOPED_TRACE(offset);
        // QR image 140 x 140 at (210 + offset, 5); its quiet zone's corner is white.
        EXPECT_GT(darkPixels(image, QRect(210 + offset, 5, 140, 140)), 2000);
        EXPECT_EQ(darkPixels(image, QRect(210 + offset, 5, 10, 10)), 0);
        const QImage qr = image.copy(190 + offset, 0, 180, 150);
        EXPECT_EQ(decodeQr(qr, folder), QStringList{link});
        // IP logo 800 x 400 drawn 100 x 50 at (18 + offset, 10); CE logo 80 x 40 at (240 + offset, 150).
        EXPECT_TRUE(isColour(image, 18 + offset, 10, qRgb(255, 0, 0)));
        EXPECT_TRUE(isColour(image, 18 + offset + 99, 10 + 49, qRgb(255, 0, 0)));
        EXPECT_FALSE(isColour(image, 18 + offset + 100, 10 + 25, qRgb(255, 0, 0)));
        EXPECT_FALSE(isColour(image, 18 + offset + 50, 10 + 50, qRgb(255, 0, 0)));
        EXPECT_TRUE(isColour(image, 240 + offset, 150, qRgb(0, 0, 255)));
        EXPECT_TRUE(isColour(image, 240 + offset + 79, 150 + 39, qRgb(0, 0, 255)));
        EXPECT_FALSE(isColour(image, 240 + offset + 80, 170, qRgb(0, 0, 255)));
        EXPECT_FALSE(isColour(image, 240 + offset + 40, 190, qRgb(0, 0, 255)));
        // Eight text rows from y = 75, 20 pixels apart, in the label's text column.
        for (int y : {75, 95, 115, 135, 155, 175, 195, 215})
            EXPECT_GT(darkPixels(image, QRect(20 + offset, y, 150, 18)), 20) << y;
        EXPECT_EQ(darkPixels(image, QRect(offset, 235, 180, 60)), 0);
    }
    // Label 0's text is clipped at its column's right edge (500).
    dlg.m_values[CPelloraDlg::Name] = QString(200, 'W');
    dlg.UpdateData(FALSE);
    QImage clipped = page(1000, 300);
    draw(dlg, clipped);
    EXPECT_GT(darkPixels(clipped, QRect(400, 75, 99, 14)), 0);
    EXPECT_EQ(darkPixels(clipped, QRect(500, 75, 24, 14)), 0);
}

TEST_F(LabelPrintTest, OneLabelSpansThePageAndChineseCaptionsDraw) {
    CPelloraDlg dlg;
    fill(dlg, 1, true);
    dlg.m_values[CPelloraDlg::Name] = QString(60, QChar(0x7F51));
    dlg.UpdateData(FALSE);
    QImage image = page(1000, 300);
    draw(dlg, image, 2);
    EXPECT_GT(darkPixels(image, QRect(210, 5, 140, 140)), 2000);
    EXPECT_EQ(darkPixels(image, QRect(715, 5, 140, 65)), 0);
    // The long Chinese name runs on past the half of the page.
    EXPECT_GT(darkPixels(image, QRect(600, 75, 300, 14)), 50);
    // Captions are drawn in the CJK font: the Chinese caption row is not empty boxes only.
    QImage caption = page(200, 40);
    {
        CDC dc(&caption);
        drawTextLine(&dc, QStringLiteral("名称:"), QStringLiteral("宋体"), 10, 4, 5, 0, 40, 200, 1, 0);
    }
    EXPECT_GT(darkPixels(caption, caption.rect()), 30);
    EXPECT_EQ(decodeQr(image.copy(190, 0, 180, 150), folder),
              QStringList{"https://labels.example.test/home/account/device-qrcode?device_id=SN20260001"});
}

TEST_F(LabelPrintTest, FailedQrEncodingDrawsNothingNew) {
    CPelloraDlg dlg;
    fill(dlg, 2, false);
    // Too long for any QR version at level M.
    dlg.m_values[CPelloraDlg::Sn] = QString(3000, 'x');
    dlg.UpdateData(FALSE);
    QImage image = page(1000, 300);
    draw(dlg, image);
    EXPECT_EQ(dlg.m_bQrValid, 0);
    EXPECT_EQ(darkPixels(image, QRect(210, 5, 140, 140)), 0);
    EXPECT_EQ(darkPixels(image, QRect(715, 5, 140, 140)), 0);
    // The rest of the label is drawn.
    EXPECT_GT(darkPixels(image, QRect(20, 75, 150, 18)), 20);

    // With an earlier image, that image stays.
    dlg.m_values[CPelloraDlg::Sn] = "SN1";
    dlg.UpdateData(FALSE);
    QImage first = page(1000, 300);
    draw(dlg, first);
    dlg.m_values[CPelloraDlg::Sn] = QString(3000, 'x');
    dlg.UpdateData(FALSE);
    QImage again = page(1000, 300);
    draw(dlg, again);
    EXPECT_EQ(again.copy(210, 5, 140, 140), first.copy(210, 5, 140, 140));
}

TEST_F(LabelPrintTest, MissingLogosAreLeftOut) {
    CPelloraDlg dlg;
    fill(dlg, 1, false);
    dlg.m_strIpLogoPath = folder + "/none.bmp";
    QFile(folder + "/ce.bmp").resize(10);
    QImage image = page(600, 300);
    draw(dlg, image);
    EXPECT_EQ(darkPixels(image, QRect(18, 10, 100, 50)), 0);
    EXPECT_FALSE(isColour(image, 260, 160, qRgb(0, 0, 255)));
    EXPECT_GT(darkPixels(image, QRect(210, 5, 140, 140)), 2000);
}

int pdfPages(const QString& pdf) {
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(20000);
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QImage pdfPage(const QString& pdf, int pageNo, const QString& folder) {
    const QString prefix = folder + "/page" + QString::number(pageNo);
    QProcess::execute("pdftoppm", {"-r", "203", "-f", QString::number(pageNo), "-l", QString::number(pageNo),
                                   "-png", "-singlefile", pdf, prefix});
    return QImage(prefix + ".png");
}

TEST_F(LabelPrintTest, DirectPrintWritesTwoEqualPagesAndEndsTheDialog) {
    const QString pdf = folder + "/labels.pdf";
    PrintToPdf printer(pdf);
    // The dialog runs (verified start from the ini file) and the direct print ends it.
    writeIni(folder, 0);
    CPelloraDlg dlg;
    scriptConfirmed(dlg, folder);
    QTimer::singleShot(0, &dlg, [&] {
        dlg.m_strQrHost = "labels.example.test";
        dlg.SendCommand(IDC_BUTTON_DIRECT_PRINT);
    });
    const int result = dlg.DoModal();
    processDeferredDeletes();
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(printer.dialogs, 1);
    EXPECT_TRUE(dlg.m_pFrame.isNull());
    ASSERT_EQ(pdfPages(pdf), 2);
    const QImage one = pdfPage(pdf, 1, folder);
    const QImage two = pdfPage(pdf, 2, folder);
    ASSERT_FALSE(one.isNull());
    EXPECT_EQ(one.size(), two.size());
    EXPECT_GT(darkPixels(one, one.rect()), 5000);
    EXPECT_EQ(decodeQr(one.copy(190, 0, 180, 150), folder).value(0), dlg.qrLink());
    const int second = 210 + one.width() / 2 + 5;
    EXPECT_EQ(decodeQr(two.copy(second - 20, 0, 180, 150), folder).value(0), dlg.qrLink());
    // The values printed were saved first.
    EXPECT_EQ(readIniValue(folder, "Langugae", "English"), "1");
}

TEST_F(LabelPrintTest, CancelledPrintDialogPrintsNothingAndStillEnds) {
    const QString pdf = folder + "/none.pdf";
    PrintToPdf printer(pdf, true);
    CPelloraDlg dlg;
    fill(dlg, 2, false);
    dlg.SendCommand(IDC_BUTTON_DIRECT_PRINT);
    processDeferredDeletes();
    EXPECT_EQ(printer.dialogs, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf));
    EXPECT_TRUE(dlg.m_pFrame.isNull());
}

TEST_F(LabelPrintTest, PageRangeFromTheSecondPagePrintsIt) {
    const QString pdf = folder + "/second.pdf";
    PrintToPdf printer(pdf);
    // The printer is the application's: later jobs print all pages again.
    struct AllPagesAgain {
        ~AllPagesAgain() {
            AfxGetApp()->printer()->setPrintRange(QPrinter::AllPages);
            AfxGetApp()->printer()->setFromTo(0, 0);
        }
    } restore;
    // The operator asks for page 2 only: the last page is known only once page 1 was laid out.
    mfc::setPrintDialogHook([&](QPrinter* p) {
        ++printer.dialogs;
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        p->setResolution(203);
        p->setPageSize(QPageSize(QSizeF(100, 35), QPageSize::Millimeter));
        p->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        p->setPrintRange(QPrinter::PageRange);
        p->setFromTo(2, 2);
        return true;
    });
    CPelloraDlg dlg;
    fill(dlg, 2, false);
    dlg.SendCommand(IDC_BUTTON_DIRECT_PRINT);
    processDeferredDeletes();
    EXPECT_EQ(printer.dialogs, 1);
    ASSERT_EQ(pdfPages(pdf), 1);
    const QImage only = pdfPage(pdf, 1, folder);
    ASSERT_FALSE(only.isNull());
    EXPECT_GT(darkPixels(only, only.rect()), 5000);
    EXPECT_EQ(decodeQr(only.copy(190, 0, 180, 150), folder).value(0), dlg.qrLink());
}

TEST_F(LabelPrintTest, PreviewShowsTwoPagesAndReturnsToTheDialog) {
    CPelloraDlg dlg;
    fill(dlg, 2, true);
    scriptConfirmed(dlg, folder);
    const QString pdf = folder + "/preview.pdf";
    PrintToPdf printer(pdf);

    bool checked = false;
    QTimer::singleShot(0, &dlg, [&] {
        // Close box of the preview frame.
        dlg.SendCommand(IDC_BUTTON_PREVIEW);
        CMainFrame* frame = dlg.m_pFrame;
        ASSERT_NE(frame, nullptr);
        frame->show();
        EXPECT_EQ(frame->windowTitle(), QStringLiteral("Pellora (预览)"));
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(AfxGetMainWnd(), frame);
        auto* preview = qobject_cast<CMyPreviewView*>(frame->GetActiveView());
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->pageCount(), 2);
        EXPECT_EQ(frame->geometry().size(), QSize(720, 650));
        frame->close();
        processDeferredDeletes();
        EXPECT_TRUE(dlg.m_pFrame.isNull());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(AfxGetMainWnd(), &dlg);

        // English title; the preview's Print button prints and ends the preview.
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_RADIO_ENGLISH))->click();
        dlg.SendCommand(IDC_BUTTON_PREVIEW);
        frame = dlg.m_pFrame;
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->windowTitle(), "Pellora (预览)");
        auto* view = qobject_cast<CMyPreviewView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        view->OnCmdMsg(AFX_ID_PREVIEW_PRINT);
        processDeferredDeletes();
        EXPECT_TRUE(dlg.m_pFrame.isNull());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(pdfPages(pdf), 2);
        checked = true;
        dlg.SendCommand(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(checked);
    EXPECT_EQ(printer.dialogs, 1);
}

} // namespace
