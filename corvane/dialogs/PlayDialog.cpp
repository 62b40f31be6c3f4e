#include "PlayDialog.h"

#include "PreviewPanes.h"
#include "kvxnet/KvxNetSdk.h"
#include "ozmlogic/ParamsMgr.h"

#include <QLabel>
#include <QPushButton>

PlayDialog::PlayDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint);
    setStyleSheet("QDialog{background: qlineargradient(spread:pad,x1:1,y1:1,x2:0,y2:0,stop:0 #E4E4E4 ,stop:1 "
                  "#CDCDCD);;border: 1px solid #ADADAD;border-radius: 4px;}");
    setAttribute(Qt::WA_DeleteOnClose);

    m_videoWidget = new QWidget(this);
    m_videoWidget->setGeometry(0, 30, dialogWidth, dialogHeight - 30);
    m_videoWidget->setStyleSheet(
        "QWidget{background:transparent;border: 1px solid #ADADAD;border-radius: 4px;}");

    const FramelessDialogFrame::Parts frame = PreviewPanes::buildFrame(this, dialogWidth, dialogHeight);
    // Scoped to the bar, as the frame's own (see FramelessDialogFrame::build).
    frame.titleBar->setStyleSheet(
        QStringLiteral("QWidget#%1{width: 340px; height: 30px;background: #CDCDCD;}")
            .arg(QLatin1String(FramelessDialogFrame::kTitleBarName)));
    keepFrame(frame);
    connect(closeButton, &QPushButton::clicked, this, &PlayDialog::accept);

    armDrag();
}

PlayDialog::~PlayDialog() {
    m_session.release();
}

void PlayDialog::playDevice(QStringList row) {
    const auto window = static_cast<std::uint32_t>(m_videoWidget->winId());
    if (m_session.play(0, row, ozmParamsMgr()->getStream(), window, this))
        KVX_NET_ClientSetWnd(m_session.playHandle(0), window);
}

void PlayDialog::done(int result) {
    m_session.release();
    FramelessDialog::done(result);
}
