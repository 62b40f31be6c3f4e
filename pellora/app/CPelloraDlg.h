// The label program's one dialog: label texts from the ini file, the device check with the
// service, the language switch, print and print preview.
#pragma once

#include "mfc/CBitmap.h"
#include "mfc/CDialogEx.h"

#include <QIcon>
#include <QPointer>
#include <QString>
#include <memory>

class CMainFrame;
class DeviceService;

class CPelloraDlg : public CDialogEx {
    Q_OBJECT
public:
    // Label rows, in the order they are read, shown and printed.
    enum Row { Name, Model, Power, Lens, Poe, Captcha, Sn, Mac, RowCount };

    static constexpr int kMaxLabelCount = 10;
    static constexpr int kIniTextSize = 100;

    explicit CPelloraDlg(QWidget* parent = nullptr);
    ~CPelloraDlg() override;

    // The folder of the ini file and the logos; the program's own folder unless set before the
    // dialog runs.
    void setProgramFolder(const QString& folder) { m_programFolder = folder; }
    // The service client; made from the ini file's settings unless set before the dialog runs.
    void setService(std::unique_ptr<DeviceService> service);
    DeviceService* service() const { return m_service.get(); }

    void applyChineseCaptions();
    void applyEnglishCaptions();
    // Writes the language and the label values; false (after telling the operator) when a key
    // could not be written.
    bool saveLabelInfo();

    // Service calls (the service client's results kept in the dialog).
    QString loginService();
    int checkDeviceIdAndMac(const QString& serialNumber);

    // Handlers of the message map.
    void OnBnClickedChinese();
    void OnBnClickedEnglish();
    void OnBnClickedPreview();
    void OnBnClickedDirectPrint();
    void OnSysCommand(unsigned id);

    // The label count from the ini value: at least 1, at most kMaxLabelCount.
    static int clampLabelCount(int value);
    // The link the QR code carries.
    QString qrLink() const;

    // Members, as the print callbacks use them.
    QIcon m_hIcon;
    QPointer<CMainFrame> m_pFrame;
    int m_nPageCount = 0;
    int m_nLabelCount = 1;
    int m_nQrSize = 140;
    int m_nQrLeft = 210;
    int m_nQrTop = 5;
    CBitmap m_qrBitmap;
    int m_bQrValid = 0;
    CBitmap m_qrModules;
    int m_nQrModuleSide = 0;
    QString m_strIniPath;
    QString m_strIpLogoPath;
    QString m_strCeLogoPath;
    int m_bChinese = 0;
    int m_bEnglish = 0;
    QString m_captions[RowCount];
    QString m_values[RowCount];
    int m_nFontWidth = 9;
    int m_nFontSize = 5;
    QString m_strFaceName;
    QString m_strCookie;
    int m_nConfirmed = 0;
    QString m_strQrHost;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createControls();
    void setButtonTexts(const QString& chinese, const QString& english, const QString& cancel,
                        const QString& preview, const QString& directPrint);
    QString readIni(const QString& section, const QString& key) const;
    bool writeIni(const QString& section, const QString& key, const QString& value, QStringList* failed);
    void makeService();
    void closeWithMessage(const QString& chinese, const QString& english);

    QString m_programFolder;
    std::unique_ptr<DeviceService> m_service;
};
