// The label program's dialog: start sequence, language switch, saving the label values.
#include "PelloraTestSupport.h"

#include "Resource.h"
#include "quillet/Quillet.h"
#include "TlsTestServer.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace pellora_test;

namespace {

class PelloraDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
    }

    // Runs the dialog; whileOpen runs once it is open, then the dialog is cancelled (unless
    // whileOpen ended it). Returns DoModal's result and whether the dialog opened.
    int run(CPelloraDlg& dlg, const std::function<void()>& whileOpen = {}) {
        opened = false;
        QTimer::singleShot(0, &dlg, [&] {
            if (!dlg.isModalRunning())
                return;
            opened = true;
            if (whileOpen)
                whileOpen();
            if (dlg.isModalRunning() && dlg.isVisible())
                dlg.SendCommand(IDCANCEL);
        });
        return dlg.DoModal();
    }

    QLineEdit* edit(CPelloraDlg& dlg, int id) { return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id)); }

    QTemporaryDir dir;
    QString folder;
    bool opened = false;
    MessageBoxes boxes;
};

TEST_F(PelloraDialogTest, VerifiedDeviceOpensInEnglishWithTheCode) {
    writeIni(folder, 0);
    CPelloraDlg dlg;
    ScriptedService* service = scriptConfirmed(dlg, folder);
    const int result = run(dlg, [&] {
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_CAPTCHA), "K7Q2");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_NAME), "IP Camera");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_SN), "SN20260001");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_MAC), "00:11:22:33:44:55");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_CAPTCHA), "Captcha:");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_PREVIEW), "Printing Preview");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_DIRECT_PRINT), "Direct Printing");
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), "cancel");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_RADIO_CHINESE), "Chinese");
        EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_RADIO_ENGLISH))->isChecked());
        EXPECT_FALSE(edit(dlg, IDC_EDIT_SN)->isEnabled());
        EXPECT_TRUE(edit(dlg, IDC_EDIT_NAME)->isEnabled());
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(boxes.texts.isEmpty());
    EXPECT_EQ(dlg.m_strFaceName, QStringLiteral("微软雅黑"));
    EXPECT_EQ(dlg.m_nFontSize, 5);
    EXPECT_EQ(dlg.m_nFontWidth, 9);
    EXPECT_EQ(dlg.m_nLabelCount, 2);
    EXPECT_EQ(dlg.m_nPageCount, 2);
    EXPECT_EQ(dlg.m_strCookie, "c00kie");
    ASSERT_EQ(service->urls.size(), 2u);
    EXPECT_EQ(service->urls[1], "https://service.example.test/api/device/check-device-id-and-mac");
    EXPECT_NE(service->bodies[1].find("\"device_id\":\"SN20260001\""), std::string::npos);
    // Cancel saves nothing.
    EXPECT_EQ(readIniValue(folder, "Langugae", "English"), "1");
}

TEST_F(PelloraDialogTest, ChineseFlagGivesChineseTextsAndFont) {
    writeIni(folder, 1);
    CPelloraDlg dlg;
    dlg.setProgramFolder(folder);
    scriptService(dlg, {ScriptedService::ok(loginReply()), ScriptedService::ok(checkReply("8899", 1))});
    run(dlg, [&] {
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_NAME), QStringLiteral("网络摄像机"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_NAME), QStringLiteral("名称:"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_PREVIEW), QStringLiteral("打印预览"));
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), QStringLiteral("取消"));
        EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_RADIO_CHINESE))->isChecked());
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(dlg.m_strFaceName, QStringLiteral("宋体"));
    EXPECT_EQ(dlg.m_nFontSize, 4);
    EXPECT_EQ(dlg.m_nFontWidth, 10);
}

TEST_F(PelloraDialogTest, RefusalsEndTheProgramWithTheirMessage) {
    struct Case {
        int chinese;
        std::vector<ScriptedService::Reply> replies;
        QString message;
        size_t posts;
    };
    const ScriptedService::Reply forbidden{true, "HTTP/1.1 403 Forbidden\r\n\r\n", R"({"code":0})"};
    const std::vector<Case> cases = {
        {0, {forbidden}, "The network is abnormal, please check the network!", 1},
        {1, {{false, "", ""}}, QStringLiteral("网络异常，请检查网络！"), 1},
        {0,
         {ScriptedService::ok(loginReply()), ScriptedService::ok(R"({"code":7})")},
         "Failed to get the verification code!",
         2},
        {1,
         {ScriptedService::ok(loginReply()), ScriptedService::ok(R"({"code":0,"x":{"code":5}})")},
         QStringLiteral("获取验证码失败！"),
         2},
        {0,
         {ScriptedService::ok(loginReply()), ScriptedService::ok(checkReply("1234", 0))},
         "The device is not confirmed to burn!",
         2},
        {1,
         {ScriptedService::ok(loginReply()), ScriptedService::ok(checkReply("1234", 0))},
         QStringLiteral("设备未确认烧录！"),
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        writeIni(folder, c.chinese);
        boxes.texts.clear();
        CPelloraDlg dlg;
        dlg.setProgramFolder(folder);
        ScriptedService* raw = scriptService(dlg, c.replies);
        EXPECT_EQ(run(dlg), IDCANCEL);
        EXPECT_FALSE(opened);
        EXPECT_EQ(boxes.texts, QStringList{c.message});
        EXPECT_EQ(raw->urls.size(), c.posts);
    }
}

TEST_F(PelloraDialogTest, LanguageSwitchReloadsStoredValues) {
    writeIni(folder, 0);
    CPelloraDlg dlg;
    scriptConfirmed(dlg, folder);
    run(dlg, [&] {
        edit(dlg, IDC_EDIT_NAME)->setText("typed, not saved");
        qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_RADIO_CHINESE))->click();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_NAME), QStringLiteral("网络摄像机"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATIC_POE), QStringLiteral("Poe设置:"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_BUTTON_DIRECT_PRINT), QStringLiteral("直接打印"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_SN), "SN20260001");
        EXPECT_EQ(dlg.m_bChinese, 1);
        EXPECT_EQ(dlg.m_bEnglish, 0);
        EXPECT_EQ(dlg.m_strFaceName, QStringLiteral("宋体"));
        qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_RADIO_ENGLISH))->click();
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_NAME), "IP Camera");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_RADIO_ENGLISH), "English");
        EXPECT_EQ(dlg.m_bEnglish, 1);
        // The verification code is not stored and stays.
        EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_CAPTCHA), "K7Q2");
    });
    EXPECT_TRUE(opened);
}

TEST_F(PelloraDialogTest, SaveWritesTheLanguagesSectionOnly) {
    writeIni(folder, 0);
    CPelloraDlg dlg;
    scriptConfirmed(dlg, folder);
    run(dlg, [&] {
        edit(dlg, IDC_EDIT_NAME)->setText("Dome Camera");
        EXPECT_TRUE(dlg.saveLabelInfo());
        EXPECT_EQ(readIniValue(folder, "ENGLISHPRODUCTINFO", "Name"), "Dome Camera");
        EXPECT_EQ(readIniValue(folder, "CHINESEPRODUCTINFO", "Name"), QStringLiteral("网络摄像机"));
        EXPECT_EQ(readIniValue(folder, "Langugae", "Chinese"), "0");
        EXPECT_EQ(readIniValue(folder, "Langugae", "English"), "1");
        EXPECT_EQ(readIniValue(folder, "CHINESEPRODUCTINFO", "SN"), "SN20260001");
        EXPECT_EQ(readIniValue(folder, "CHINESEPRODUCTINFO", "MAC"), "00:11:22:33:44:55");

        qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_RADIO_CHINESE))->click();
        edit(dlg, IDC_EDIT_LENS)->setText(QStringLiteral("6毫米"));
        EXPECT_TRUE(dlg.saveLabelInfo());
        EXPECT_EQ(readIniValue(folder, "CHINESEPRODUCTINFO", "Lens"), QStringLiteral("6毫米"));
        EXPECT_EQ(readIniValue(folder, "ENGLISHPRODUCTINFO", "Lens"), "4mm");
        EXPECT_EQ(readIniValue(folder, "Langugae", "Chinese"), "1");
        EXPECT_EQ(readIniValue(folder, "Langugae", "English"), "0");
    });
    EXPECT_TRUE(boxes.texts.isEmpty());
}

std::mutex g_logMutex;
QStringList g_logLines;
void captureLog(int, const char* line, void*) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logLines << QString::fromUtf8(line);
}

TEST_F(PelloraDialogTest, FailedSaveIsLoggedAndShown) {
    writeIni(folder, 0);
    CPelloraDlg dlg;
    scriptConfirmed(dlg, folder);
    Qx_Set_Log_Hook(&captureLog, nullptr);
    run(dlg, [&] {
        // The ini file's folder is gone.
        dlg.m_strIniPath = folder + "/gone/PelloraInfo.ini";
        EXPECT_FALSE(dlg.saveLabelInfo());
    });
    Qx_Set_Log_Hook(nullptr, nullptr);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith("The label information could not be saved"));
    std::lock_guard<std::mutex> lock(g_logMutex);
    EXPECT_TRUE(g_logLines.filter("CPelloraDlg::saveLabelInfo").size() >= 9);
}

TEST_F(PelloraDialogTest, LabelCountIsAtLeastOneAndBounded) {
    EXPECT_EQ(CPelloraDlg::clampLabelCount(0), 1);
    EXPECT_EQ(CPelloraDlg::clampLabelCount(-4), 1);
    EXPECT_EQ(CPelloraDlg::clampLabelCount(2), 2);
    EXPECT_EQ(CPelloraDlg::clampLabelCount(100000), CPelloraDlg::kMaxLabelCount);
    for (const QByteArray& count : {QByteArray("0"), QByteArray("-3"), QByteArray("")}) {
        writeIni(folder, 0, QByteArray(), count);
        CPelloraDlg dlg;
        scriptConfirmed(dlg, folder);
        run(dlg);
        EXPECT_EQ(dlg.m_nLabelCount, 1) << count.constData();
    }
}

// Relative luminance of a colour as the contrast ratio of the web's accessibility rules uses it.
double luminance(QRgb rgb) {
    auto channel = [](int v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

TEST_F(PelloraDialogTest, ShownOnlyFieldsAreReadable) {
    writeIni(folder, 0);
    CPelloraDlg dlg;
    scriptConfirmed(dlg, folder);
    run(dlg, [&] {
        for (int id : {IDC_EDIT_CAPTCHA, IDC_EDIT_SN, IDC_EDIT_MAC}) {
            SCOPED_TRACE(id);
            QLineEdit* field = edit(dlg, id);
            EXPECT_TRUE(!field->isEnabled() || field->isReadOnly());
            ASSERT_FALSE(field->text().isEmpty());
            // Background: the field's inner right end, past the text; text: the pixel that stands
            // out most from it.
            const QImage image = field->grab().toImage();
            const QRgb background = image.pixel(image.width() - 6, image.height() / 2);
            double text = luminance(background);
            for (int y = 3; y < image.height() - 3; ++y)
                for (int x = 3; x < image.width() - 3; ++x)
                    text = std::min(text, luminance(image.pixel(x, y)));
            const double contrast = (luminance(background) + 0.05) / (text + 0.05);
            EXPECT_GE(contrast, 4.5) << qPrintable(QColor(background).name());
        }
    });
    EXPECT_TRUE(opened);
}

// Against the local HTTPS double, with the service settings taken from the ini file.
class PelloraServiceTest : public PelloraDialogTest {};

TEST_F(PelloraServiceTest, VerifiedOverTls) {
    testsupport::TlsTestServer server;
    server.enqueue(testsupport::ScriptedReply::http(200, "OK", loginReply()));
    server.enqueue(testsupport::ScriptedReply::http(200, "OK", checkReply("TLS9", 1)));
    writeIni(folder, 0,
             QByteArray("[SERVICE]\r\nBaseUrl=") + server.baseUrl().c_str() +
                 "\r\nCaFile=" + server.caFile().c_str() + "\r\nReceiveTimeoutMs=5000\r\n");
    CPelloraDlg dlg;
    dlg.setProgramFolder(folder);
    run(dlg, [&] { EXPECT_EQ(dlg.GetDlgItemText(IDC_EDIT_CAPTCHA), "TLS9"); });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join('|').toStdString();
    // The double records an exchange after its own close, which may come after the client is done.
    ASSERT_TRUE(server.waitForExchanges(2, 10000));
    const auto exchanges = server.exchanges();
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_NE(exchanges[1].request.find("Cookie: PexorID=c00kie"), std::string::npos);
    EXPECT_EQ(dlg.m_strQrHost, QStringLiteral("127.0.0.1:%1").arg(server.port()));
}

TEST_F(PelloraServiceTest, RefusedUnreachableUntrustedOrUnsetService) {
    testsupport::TlsTestServer server;
    server.enqueue(testsupport::ScriptedReply::http(401, "Unauthorized", R"({"code":0})"));
    // A port nobody listens on.
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    const int closedPort = ntohs(addr.sin_port);
    close(fd);

    const std::vector<QByteArray> sections = {
        QByteArray("[SERVICE]\r\nBaseUrl=") + server.baseUrl().c_str() +
            "\r\nCaFile=" + server.caFile().c_str() + "\r\n",
        QByteArray("[SERVICE]\r\nBaseUrl=https://127.0.0.1:") + QByteArray::number(closedPort) + "/\r\n",
        // The double's certificate is not trusted without its CA file.
        QByteArray("[SERVICE]\r\nBaseUrl=") + server.baseUrl().c_str() + "\r\n",
        QByteArray("[SERVICE]\r\nBaseUrl=\r\n"),
        QByteArray(),
    };
    for (const QByteArray& section : sections) {
        SCOPED_TRACE(section.constData());
        writeIni(folder, 0, section);
        boxes.texts.clear();
        CPelloraDlg dlg;
        dlg.setProgramFolder(folder);
        EXPECT_EQ(run(dlg), IDCANCEL);
        EXPECT_FALSE(opened);
        EXPECT_EQ(boxes.texts, QStringList{"The network is abnormal, please check the network!"});
    }
}

} // namespace

namespace {

TEST(PelloraAboutTest, SystemCommandSixteenShowsTheAboutBox) {
    app();
    CPelloraDlg dlg;
    QString title;
    QStringList texts;
    int shown = 0;
    for (unsigned command : {0x10u, 0x13u, 0x20u}) {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* about = qobject_cast<CDialogEx*>(modal)) {
                ++shown;
                title = about->windowTitle();
                for (QLabel* label : about->findChildren<QLabel*>())
                    texts << label->text();
                about->SendCommand(IDOK);
            }
        });
        dlg.OnSysCommand(command);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(title, QStringLiteral("关于 Pellora"));
    EXPECT_TRUE(texts.contains(QStringLiteral("Pellora，1.0 版")));
}

} // namespace
