#include "ScreenshotTour.h"

#include "CMainFrame.h"
#include "CPelloraDlg.h"
#include "Resource.h"

#include <QDir>
#include <QEvent>
#include <QPixmap>
#include <QTimer>

ScreenshotTour::ScreenshotTour(CPelloraDlg* dialog) : m_dialog(dialog) {
    m_folder = QString::fromLocal8Bit(qgetenv("PELLORA_SCREENSHOT_DIR"));
    if (!m_folder.isEmpty() && dialog) {
        QDir().mkpath(m_folder);
        dialog->installEventFilter(this);
    }
}

bool ScreenshotTour::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dialog && event->type() == QEvent::Show && !m_started) {
        m_started = true;
        QTimer::singleShot(600, this, &ScreenshotTour::grabDialog);
    }
    return QObject::eventFilter(watched, event);
}

void ScreenshotTour::grabDialog() {
    if (!m_dialog)
        return;
    m_dialog->grab().save(QDir(m_folder).filePath(QStringLiteral("pellora-dialog.png")));
    m_dialog->SendCommand(IDC_BUTTON_PREVIEW);
    QTimer::singleShot(1200, this, &ScreenshotTour::grabPreview);
}

void ScreenshotTour::grabPreview() {
    if (!m_dialog)
        return;
    if (CMainFrame* frame = m_dialog->m_pFrame) {
        frame->grab().save(QDir(m_folder).filePath(QStringLiteral("pellora-preview.png")));
        frame->close();
    }
    QTimer::singleShot(600, this, &ScreenshotTour::finish);
}

void ScreenshotTour::finish() {
    if (!m_dialog)
        return;
    m_dialog->grab().save(QDir(m_folder).filePath(QStringLiteral("pellora-dialog-after-preview.png")));
    if (qEnvironmentVariableIsSet("MFC_PRINT_TO_FILE"))
        m_dialog->SendCommand(IDC_BUTTON_DIRECT_PRINT);
    else
        m_dialog->SendCommand(IDCANCEL);
}
