// Shared pieces of the label program's tests: the Qt application, an ini file and logos in a
// temporary folder, a scripted service, the message-box and print-dialog hooks.
#pragma once

#include "CPelloraDlg.h"
#include "service/DeviceService.h"
#include "winport/PrivateProfile.h"

#include "mfc/CView.h"
#include "mfc/MessageBox.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPrinter>
#include <QPageSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QFile>
#include <deque>
#include <string>
#include <vector>

namespace pellora_test {

inline QApplication* app() {
    static int argc = 1;
    static char name[] = "pellora-test";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return instance;
}

inline void processDeferredDeletes() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// A service whose replies are scripted per call; records the URLs and bodies it was given.
class ScriptedService : public DeviceService {
public:
    struct Reply {
        bool ok;
        std::string head;
        std::string body;
    };
    static Reply ok(const std::string& body) { return {true, "HTTP/1.1 200 OK\r\n\r\n", body}; }

    std::deque<Reply> replies;
    std::vector<std::string> urls;
    std::vector<std::string> bodies;

protected:
    bool post(const std::string& url, const std::string& body, const std::string&,
              HttpReply& reply) override {
        urls.push_back(url);
        bodies.push_back(body);
        if (replies.empty())
            return false;
        Reply r = replies.front();
        replies.pop_front();
        reply.head = r.head;
        reply.body = r.body;
        reply.status = CHttpRequest::parseStatus(r.head);
        return r.ok;
    }
};

// Gives the dialog a scripted service with these replies; the dialog owns it.
inline ScriptedService* scriptService(CPelloraDlg& dlg, std::vector<ScriptedService::Reply> replies) {
    auto service = std::make_unique<ScriptedService>();
    service->setSettings(ServiceSettings{"https://service.example.test/", "", 400, 12000});
    for (auto& r : replies)
        service->replies.push_back(std::move(r));
    ScriptedService* raw = service.get();
    dlg.setService(std::move(service));
    return raw;
}

inline const char* loginReply() {
    return R"({"code":0,"msg":"ok","data":{"cookie":"c00kie"}})";
}
inline std::string checkReply(const std::string& verify, int confirm) {
    return R"({"code":0,"data":{"verify":")" + verify + R"(","is_confirm":)" + std::to_string(confirm) + "}}";
}
// Points the dialog at folder with a service that logs in and confirms the device with code K7Q2.
inline ScriptedService* scriptConfirmed(CPelloraDlg& dlg, const QString& folder) {
    dlg.setProgramFolder(folder);
    return scriptService(dlg,
                         {ScriptedService::ok(loginReply()), ScriptedService::ok(checkReply("K7Q2", 1))});
}

// Records message boxes while alive.
class MessageBoxes {
public:
    MessageBoxes() {
        mfc::setMessageBoxHook([this](const QString& text, UINT) {
            texts << text;
            return IDOK;
        });
    }
    ~MessageBoxes() { mfc::setMessageBoxHook(nullptr); }
    QStringList texts;
};

// Prints to a PDF file on a label-sized page while alive; cancel makes the dialog say no.
class PrintToPdf {
public:
    explicit PrintToPdf(const QString& file, bool cancel = false) {
        mfc::setPrintDialogHook([file, cancel, this](QPrinter* printer) {
            ++dialogs;
            if (cancel)
                return false;
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(file);
            printer->setResolution(203);
            printer->setPageSize(QPageSize(QSizeF(100, 35), QPageSize::Millimeter));
            printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
            return true;
        });
    }
    ~PrintToPdf() { mfc::setPrintDialogHook(nullptr); }
    int dialogs = 0;
};

inline QByteArray gbk(const QString& s) {
    return QTextCodec::codecForName("GBK")->fromUnicode(s);
}

// The shipped ini file with the keys Corvane writes.
inline void writeIni(const QString& folder, int chinese, const QByteArray& extra = QByteArray(),
                     const QByteArray& count = "2") {
    QByteArray text;
    text += "[PRINTNUM]\r\nMorvekNum=" + count + "\r\n";
    text += "[Langugae]\r\nChinese=" + QByteArray::number(chinese) +
            "\r\nEnglish=" + QByteArray::number(chinese ? 0 : 1) + "\r\n";
    text += "[CHINESETITLE]\r\n";
    text += gbk(QStringLiteral("Name=名称:\r\nModel=型号:\r\nPower=电源:\r\nLens=镜头:\r\nPOE=Poe设置:\r\n"
                               "Captcha=验证码:\r\nSN=S/N:\r\nMAC=MAC:\r\n"));
    text += "[ENGLISHTITLE]\r\nName=Name:\r\nModel=Model:\r\nPower=Power:\r\nLens=Lens:\r\nPOE=POE:\r\n"
            "Captcha=Captcha:\r\nSN=S/N:\r\nMAC=MAC:\r\n";
    text += "[CHINESEPRODUCTINFO]\r\nSN=SN20260001\r\nMAC=00:11:22:33:44:55\r\n";
    text +=
        gbk(QStringLiteral("Name=网络摄像机\r\nModel=IPC-100\r\nPower=直流12V\r\nLens=4mm\r\nPOE=支持\r\n"));
    text +=
        "[ENGLISHPRODUCTINFO]\r\nName=IP Camera\r\nModel=IPC-100\r\nPower=DC 12V\r\nLens=4mm\r\nPOE=Yes\r\n";
    text += extra;
    QFile f(folder + "/PelloraInfo.ini");
    f.open(QIODevice::WriteOnly);
    f.write(text);
}

inline void writeLogos(const QString& folder) {
    QImage ip(800, 400, QImage::Format_RGB32);
    ip.fill(QColor(255, 0, 0));
    ip.save(folder + "/IP.bmp", "BMP");
    QImage ce(800, 400, QImage::Format_RGB32);
    ce.fill(QColor(0, 0, 255));
    ce.save(folder + "/ce.bmp", "BMP");
}

inline QString readIniValue(const QString& folder, const QString& section, const QString& key) {
    wchar_t buf[100];
    GetPrivateProfileString(section.toStdWString().c_str(), key.toStdWString().c_str(), L"", buf, 100,
                            (folder + "/PelloraInfo.ini").toStdWString().c_str());
    return QString::fromWCharArray(buf);
}

} // namespace pellora_test
