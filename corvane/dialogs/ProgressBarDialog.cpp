#include "ProgressBarDialog.h"

#include "FramelessDialogFrame.h"
#include "winport/WinPort.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

ProgressBarDialog::ProgressBarDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    keepFrame(frame);
    connect(closeButton, &QPushButton::clicked, this, &ProgressBarDialog::onCloseBtnClicked);
    closeButton->hide();

    progressBar = new QProgressBar(this);
    progressBar->setTextVisible(false);
    progressBar->setRange(0, 100);
    progressBar->setGeometry(17, 71, 300, 16);

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ProgressBarDialog::onProgressBar);
    progressValue = 0;
    timer->start(winport::timerInterval(kStepMs));

    armDrag();
}

ProgressBarDialog::~ProgressBarDialog() = default;

int ProgressBarDialog::exec() {
    // Before the application's event loop runs, showing a splash-screen window handles the pending
    // events; one may end the work and close this dialog before QDialog::exec() has a loop to
    // end, and that loop would then wait for ever behind a hidden dialog. So it is shown first
    // (modal, as exec() would make it) and the loop runs only while it is still up.
    // Its owner may also delete it from those events.
    const QPointer<ProgressBarDialog> self(this);
    const Qt::WindowModality modality = windowModality();
    setWindowModality(Qt::ApplicationModal);
    show();
    if (!self)
        return QDialog::Rejected;
    const int code = isVisible() ? QDialog::exec() : result();
    if (self)
        setWindowModality(modality);
    return code;
}

void ProgressBarDialog::onCloseBtnClicked() {
    close();
}

void ProgressBarDialog::reject() {}

void ProgressBarDialog::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    // QDialog's own handler would reject(), which does nothing here.
    if (isVisible())
        done(Rejected);
    event->accept();
}

void ProgressBarDialog::onProgressBar() {
    if (progressValue > 100) {
        progressValue = 0;
    }
    ++progressValue;
    progressBar->setValue(progressValue);
}
