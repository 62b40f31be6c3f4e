#include "PlayDialog.h"

#include "PreviewPanes.h"
#include "kvxnet/KvxNetSdk.h"
#include "ozmlogic/ParamsMgr.h"

#include <QLabel>
#include <QPushButton>

PlayDialog::PlayDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint);
    setAttribute(Qt::WA_DeleteOnClose);

    m_videoWidget = new QWidget(this);
    m_videoWidget->setObjectName("playVideo");
    m_videoWidget->setGeometry(0, 30, dialogWidth, dialogHeight - 30);
    m_videoWidget->setStyleSheet(
        FramelessDialogFrame::scoped("QWidget", m_videoWidget->objectName(),
                                     "background:transparent;border: 1px solid #ADADAD;border-radius: 4px;"));

    // The bar's look is the frame's own.
    const FramelessDialogFrame::Parts frame = PreviewPanes::buildFrame(
        this, dialogWidth, dialogHeight,
        "background: qlineargradient(spread:pad,x1:1,y1:1,x2:0,y2:0,stop:0 #E4E4E4 ,stop:1 "
        "#CDCDCD);;border: 1px solid #ADADAD;border-radius: 4px;");
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
