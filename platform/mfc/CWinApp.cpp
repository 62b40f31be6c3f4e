#include "mfc/CWinApp.h"

#include "mfc/CFont.h"

#include <QApplication>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
CWinApp* g_app = nullptr;
} // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = (denominator > 0 ? denominator : -denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude =
        ((product < 0 ? -product : product) + half) / (denominator > 0 ? denominator : -denominator);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

CWinApp::CWinApp(const QString& appName) : m_appName(appName) {
    if (!g_app)
        g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::run(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!m_appName.isEmpty())
        QApplication::setApplicationName(m_appName);
    // Windows come and go (the dialog hides while a frame shows); the program ends when
    // InitInstance or the event loop returns, not when the last window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    mfc::registerFontSubstitutes();
    int code = 0;
    if (InitInstance())
        code = QApplication::exec();
    const int exitCode = ExitInstance();
    m_printer.reset();
    return code != 0 ? code : exitCode;
}

QPrinter* CWinApp::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (QPrinterInfo::availablePrinterNames().isEmpty()) {
            // No printer on this system: print to PDF at the resolution of a label printer.
            m_printer->setOutputFormat(QPrinter::PdfFormat);
            m_printer->setResolution(203);
        }
    }
    return m_printer.get();
}

CWinApp* AfxGetApp() {
    if (g_app)
        return g_app;
    static CWinApp fallback;
    return &fallback;
}

QWidget* AfxGetMainWnd() {
    return AfxGetApp()->m_pMainWnd;
}
