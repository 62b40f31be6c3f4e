#include "CPelloraDlg.h"

#include "CAboutDlg.h"
#include "CMainFrame.h"
#include "Resource.h"
#include "quillet/Quillet.h"
#include "service/DeviceService.h"
#include "winport/PrivateProfile.h"

#include "mfc/MessageBox.h"

#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCodec>
#include <QUrl>
#include <cerrno>
#include <cstring>

namespace {

const char* const kRowKeys[CPelloraDlg::RowCount] = {"Name", "Model",   "Power", "Lens",
                                                     "POE",  "Captcha", "SN",    "MAC"};
const int kCaptionIds[CPelloraDlg::RowCount] = {IDC_STATIC_NAME, IDC_STATIC_MODEL, IDC_STATIC_POWER,
                                                IDC_STATIC_LENS, IDC_STATIC_POE,   IDC_STATIC_CAPTCHA,
                                                IDC_STATIC_SN,   IDC_STATIC_MAC};
const int kValueIds[CPelloraDlg::RowCount] = {IDC_EDIT_NAME, IDC_EDIT_MODEL,   IDC_EDIT_POWER, IDC_EDIT_LENS,
                                              IDC_EDIT_POE,  IDC_EDIT_CAPTCHA, IDC_EDIT_SN,    IDC_EDIT_MAC};

// The program icon: a small label with a code square.
QIcon makeProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
    p.fillRect(QRect(17, 9, 10, 10), Qt::black);
    p.fillRect(QRect(19, 11, 6, 6), Qt::white);
    p.fillRect(QRect(21, 13, 2, 2), Qt::black);
    p.fillRect(QRect(6, 10, 8, 2), QColor(40, 40, 40));
    p.fillRect(QRect(6, 15, 8, 2), QColor(40, 40, 40));
    p.fillRect(QRect(6, 20, 18, 2), QColor(40, 40, 40));
    p.end();
    return QIcon(pixmap);
}

std::wstring wide(const QString& s) {
    return s.toStdWString();
}

} // namespace

CPelloraDlg::CPelloraDlg(QWidget* parent)
    : CDialogEx(IDD_PELLORA_DIALOG, parent), m_hIcon(makeProgramIcon()) {
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 9));
    setWindowTitle(QStringLiteral("Pellora"));
    createControls();

    // Message map.
    onCommand(IDC_RADIO_CHINESE, [this] { OnBnClickedChinese(); });
    onCommand(IDC_RADIO_ENGLISH, [this] { OnBnClickedEnglish(); });
    onCommand(IDC_BUTTON_PREVIEW, [this] { OnBnClickedPreview(); });
    onCommand(IDC_BUTTON_DIRECT_PRINT, [this] { OnBnClickedDirectPrint(); });
}

CPelloraDlg::~CPelloraDlg() {
    if (m_pFrame)
        delete m_pFrame.data();
}

void CPelloraDlg::setService(std::unique_ptr<DeviceService> service) {
    m_service = std::move(service);
}

void CPelloraDlg::createControls() {
    const QRect size = MapDialogRect(0, 0, 294, 274);
    setFixedSize(size.width(), size.height());

    auto place = [this](QWidget* w, int x, int y, int cx, int cy) {
        w->setGeometry(MapDialogRect(x, y, cx, cy));
    };

    auto* chinese = addControl(IDC_RADIO_CHINESE, new QRadioButton(tr("中文"), this));
    place(chinese, 70, 10, 60, 12);
    auto* english = addControl(IDC_RADIO_ENGLISH, new QRadioButton(tr("英文"), this));
    place(english, 160, 10, 60, 12);

    const char* const templateCaptions[RowCount] = {
        "名称:", "型号:", "电源:", "镜头:", "Poe设置:", "Captcha：", "S/N：", "MAC："};
    for (int row = 0; row < RowCount; ++row) {
        const int y = 32 + row * 24;
        auto* caption = addControl(kCaptionIds[row], new QLabel(tr(templateCaptions[row]), this));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        place(caption, 14, y + 1, 76, 12);
        auto* edit = addControl(kValueIds[row], new QLineEdit(this));
        place(edit, 96, y, 180, 14);
        // The verification code, SN and MAC are shown only; the operator reads them, so their text
        // stays dark on the disabled field's light grey (contrast about 14:1).
        if (row >= Captcha) {
            edit->setEnabled(false);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x20, 0x20, 0x20));
            palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0xF0, 0xF0, 0xF0));
            edit->setPalette(palette);
        }
    }

    auto* preview = addControl(IDC_BUTTON_PREVIEW, new QPushButton(tr("打印预览"), this));
    place(preview, 20, 236, 78, 20);
    auto* direct = addControl(IDC_BUTTON_DIRECT_PRINT, new QPushButton(tr("直接打印"), this));
    place(direct, 108, 236, 78, 20);
    direct->setDefault(true);
    auto* cancel = addControl(IDCANCEL, new QPushButton(tr("取消"), this));
    place(cancel, 196, 236, 78, 20);
}

void CPelloraDlg::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_RADIO_CHINESE, m_bChinese);
    DDX_Check(pDX, IDC_RADIO_ENGLISH, m_bEnglish);
    for (int row = 0; row < RowCount; ++row) {
        DDX_Text(pDX, kCaptionIds[row], m_captions[row]);
        DDX_Text(pDX, kValueIds[row], m_values[row]);
    }
}

BOOL CPelloraDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    setWindowIcon(m_hIcon);

    m_qrModules.DeleteObject();
    m_nQrSize = 140;
    m_nQrLeft = 210;
    m_nQrTop = 5;
    m_nPageCount = 2;

    // The ini file and both logos lie in the program's folder.
    QString folder = m_programFolder;
    if (folder.isEmpty()) {
        folder = QCoreApplication::applicationDirPath();
        if (folder.isEmpty())
            AfxMessageBox(QStringLiteral("GetModuleFileName fail(%1) \n").arg(errno));
    }
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        m_strIniPath = dir.filePath(QStringLiteral("PelloraInfo.ini"));
        m_strIpLogoPath = dir.filePath(QStringLiteral("IP.bmp"));
        m_strCeLogoPath = dir.filePath(QStringLiteral("ce.bmp"));
    }

    const int count =
        static_cast<int>(GetPrivateProfileInt(L"PRINTNUM", L"MorvekNum", 0, wide(m_strIniPath).c_str()));
    m_nLabelCount = clampLabelCount(count);
    if (m_nLabelCount != count)
        Qx_Write_Log(600, "CPelloraDlg::OnInitDialog", "MorvekNum %d out of range, using %d", count,
                     m_nLabelCount);
    m_bChinese =
        static_cast<int>(GetPrivateProfileInt(L"Langugae", L"Chinese", 0, wide(m_strIniPath).c_str()));

    if (m_bChinese)
        applyChineseCaptions();
    else
        applyEnglishCaptions();

    if (!m_service)
        makeService();

    if (loginService() == QLatin1String("Error")) {
        closeWithMessage(tr("网络异常，请检查网络！"),
                         tr("The network is abnormal, please check the network!"));
        return FALSE;
    }
    if (checkDeviceIdAndMac(m_values[Sn]) == -1) {
        closeWithMessage(tr("获取验证码失败！"), tr("Failed to get the verification code!"));
        return FALSE;
    }
    if (m_nConfirmed == 0) {
        closeWithMessage(tr("设备未确认烧录！"), tr("The device is not confirmed to burn!"));
        return FALSE;
    }
    UpdateData(FALSE);
    return TRUE;
}

void CPelloraDlg::closeWithMessage(const QString& chinese, const QString& english) {
    AfxMessageBox(m_bChinese ? chinese : english, MB_OK);
    SendCloseMessage();
}

int CPelloraDlg::clampLabelCount(int value) {
    if (value < 1)
        return 1;
    return value > kMaxLabelCount ? kMaxLabelCount : value;
}

void CPelloraDlg::makeService() {
    ServiceSettings settings;
    const std::wstring ini = wide(m_strIniPath);
    wchar_t buffer[2048];
    GetPrivateProfileString(L"SERVICE", L"BaseUrl", L"", buffer, 2048, ini.c_str());
    const QString baseUrl = QString::fromWCharArray(buffer);
    settings.baseUrl = baseUrl.toStdString();
    GetPrivateProfileString(L"SERVICE", L"CaFile", L"", buffer, 2048, ini.c_str());
    QString caFile = QString::fromWCharArray(buffer);
    if (!caFile.isEmpty() && QFileInfo(caFile).isRelative() && !m_strIniPath.isEmpty())
        caFile = QFileInfo(m_strIniPath).dir().filePath(caFile);
    settings.caFile = QFile::encodeName(caFile).toStdString();
    const int connectMs =
        static_cast<int>(GetPrivateProfileInt(L"SERVICE", L"ConnectTimeoutMs", 400, ini.c_str()));
    const int receiveMs =
        static_cast<int>(GetPrivateProfileInt(L"SERVICE", L"ReceiveTimeoutMs", 12000, ini.c_str()));
    settings.connectTimeoutMs = connectMs > 0 ? connectMs : 400;
    settings.receiveTimeoutMs = receiveMs > 0 ? receiveMs : 12000;
    m_service = std::make_unique<DeviceService>(settings);

    // The QR link's host: its own key, else the service's host.
    GetPrivateProfileString(L"SERVICE", L"QrHost", L"", buffer, 2048, ini.c_str());
    m_strQrHost = QString::fromWCharArray(buffer);
    if (m_strQrHost.isEmpty()) {
        const QUrl url(baseUrl);
        m_strQrHost = url.host();
        if (url.port() > 0)
            m_strQrHost += QLatin1Char(':') + QString::number(url.port());
    }
    if (baseUrl.isEmpty())
        Qx_Write_Log(300, "CPelloraDlg::makeService", "no service address in [SERVICE] BaseUrl of %s",
                     m_strIniPath.toLocal8Bit().constData());
}

QString CPelloraDlg::loginService() {
    if (!m_service)
        return QStringLiteral("Error");
    const std::string result = m_service->loginService();
    m_strCookie = QString::fromStdString(m_service->cookie());
    return QString::fromStdString(result);
}

int CPelloraDlg::checkDeviceIdAndMac(const QString& serialNumber) {
    m_nConfirmed = 0;
    if (!m_service)
        return -1;
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    const QByteArray narrow = gbk ? gbk->fromUnicode(serialNumber) : serialNumber.toLatin1();
    const int result = m_service->checkDeviceIdAndMac(narrow.toStdString());
    m_strCookie = QString::fromStdString(m_service->cookie());
    if (result != 1)
        return -1;
    m_values[Captcha] = QString::fromStdString(m_service->verifyCode());
    m_nConfirmed = m_service->confirmed();
    return 1;
}

QString CPelloraDlg::readIni(const QString& section, const QString& key) const {
    wchar_t buffer[kIniTextSize];
    GetPrivateProfileString(wide(section).c_str(), wide(key).c_str(), L"", buffer, kIniTextSize,
                            wide(m_strIniPath).c_str());
    return QString::fromWCharArray(buffer);
}

bool CPelloraDlg::writeIni(const QString& section, const QString& key, const QString& value,
                           QStringList* failed) {
    if (WritePrivateProfileString(wide(section).c_str(), wide(key).c_str(), wide(value).c_str(),
                                  wide(m_strIniPath).c_str()))
        return true;
    const int error = errno;
    Qx_Write_Log(300, "CPelloraDlg::saveLabelInfo", "write %s/%s to %s failed: %s",
                 section.toUtf8().constData(), key.toUtf8().constData(),
                 m_strIniPath.toLocal8Bit().constData(), std::strerror(error));
    failed->append(section + QLatin1Char('/') + key);
    return false;
}

void CPelloraDlg::setButtonTexts(const QString& chinese, const QString& english, const QString& cancel,
                                 const QString& preview, const QString& directPrint) {
    SetWindowText(QStringLiteral("Pellora"));
    SetDlgItemText(IDC_RADIO_CHINESE, chinese);
    SetDlgItemText(IDC_RADIO_ENGLISH, english);
    SetDlgItemText(IDCANCEL, cancel);
    SetDlgItemText(IDC_BUTTON_PREVIEW, preview);
    SetDlgItemText(IDC_BUTTON_DIRECT_PRINT, directPrint);
}

void CPelloraDlg::applyChineseCaptions() {
    m_bChinese = 1;
    m_bEnglish = 0;
    m_nFontWidth = 10;
    m_nFontSize = 4;
    m_strFaceName = QStringLiteral("宋体");
    setButtonTexts(tr("中文"), tr("英文"), tr("取消"), tr("打印预览"), tr("直接打印"));
    for (int row = 0; row < RowCount; ++row)
        m_captions[row] = readIni(QStringLiteral("CHINESETITLE"), QLatin1String(kRowKeys[row]));
    for (int row : {Name, Model, Power, Lens, Poe, Sn, Mac})
        m_values[row] = readIni(QStringLiteral("CHINESEPRODUCTINFO"), QLatin1String(kRowKeys[row]));
}

void CPelloraDlg::applyEnglishCaptions() {
    m_bEnglish = 1;
    m_bChinese = 0;
    m_nFontWidth = 9;
    m_nFontSize = 5;
    m_strFaceName = QStringLiteral("微软雅黑");
    setButtonTexts(tr("Chinese"), tr("English"), tr("cancel"), tr("Printing Preview"), tr("Direct Printing"));
    for (int row = 0; row < RowCount; ++row)
        m_captions[row] = readIni(QStringLiteral("ENGLISHTITLE"), QLatin1String(kRowKeys[row]));
    for (int row : {Name, Model, Power, Lens, Poe})
        m_values[row] = readIni(QStringLiteral("ENGLISHPRODUCTINFO"), QLatin1String(kRowKeys[row]));
    // Both languages print the serial number and MAC address of the Chinese product section.
    for (int row : {Sn, Mac})
        m_values[row] = readIni(QStringLiteral("CHINESEPRODUCTINFO"), QLatin1String(kRowKeys[row]));
}

bool CPelloraDlg::saveLabelInfo() {
    UpdateData(TRUE);
    QStringList failed;
    writeIni(QStringLiteral("Langugae"), QStringLiteral("Chinese"), QString::number(m_bChinese), &failed);
    writeIni(QStringLiteral("Langugae"), QStringLiteral("English"), QString::number(m_bEnglish), &failed);
    writeIni(QStringLiteral("CHINESEPRODUCTINFO"), QStringLiteral("SN"), m_values[Sn], &failed);
    writeIni(QStringLiteral("CHINESEPRODUCTINFO"), QStringLiteral("MAC"), m_values[Mac], &failed);
    const QString section =
        m_bChinese ? QStringLiteral("CHINESEPRODUCTINFO") : QStringLiteral("ENGLISHPRODUCTINFO");
    for (int row : {Name, Model, Power, Lens, Poe})
        writeIni(section, QLatin1String(kRowKeys[row]), m_values[row], &failed);
    if (failed.isEmpty())
        return true;
    // The label still prints from the dialog's values; the operator learns they were not kept.
    AfxMessageBox(m_bChinese ? tr("标签信息保存失败：%1").arg(m_strIniPath)
                             : tr("The label information could not be saved to %1!").arg(m_strIniPath),
                  MB_OK | MB_ICONWARNING);
    return false;
}

void CPelloraDlg::OnBnClickedChinese() {
    applyChineseCaptions();
    UpdateData(FALSE);
}

void CPelloraDlg::OnBnClickedEnglish() {
    applyEnglishCaptions();
    UpdateData(FALSE);
}

void CPelloraDlg::OnBnClickedPreview() {
    saveLabelInfo();
    m_pFrame = new CMainFrame(this, this, CMainFrame::kPreviewMode);
    if (m_pFrame) {
        m_pFrame->show();
        m_pFrame->update();
    }
}

void CPelloraDlg::OnBnClickedDirectPrint() {
    saveLabelInfo();
    m_pFrame = new CMainFrame(this, this, CMainFrame::kDirectPrintMode);
    EndDialog(IDOK);
}

void CPelloraDlg::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
    }
}

void CPelloraDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The system menu's About item.
    const QString about = tr("关于 Pellora(&A)...");
    if (about.isEmpty())
        return;
    QMenu menu(this);
    QAction* item = menu.addAction(about);
    if (menu.exec(event->globalPos()) == item)
        OnSysCommand(IDM_ABOUTBOX);
}

QString CPelloraDlg::qrLink() const {
    return QStringLiteral("https://") + m_strQrHost +
           QStringLiteral("/home/account/device-qrcode?device_id=") + m_values[Sn];
}
