// With PELLORA_SCREENSHOT_DIR set, walks the dialog once for pictures: saves the dialog as
// "pellora-dialog.png", opens the print preview and saves it as "pellora-preview.png", closes it
// and then prints directly (MFC_PRINT_TO_FILE names the PDF) or cancels when no file is named.
// Without the variable it does nothing.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class CPelloraDlg;

class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    explicit ScreenshotTour(CPelloraDlg* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void grabDialog();
    void grabPreview();
    void finish();

    QPointer<CPelloraDlg> m_dialog;
    QString m_folder;
    bool m_started = false;
};
