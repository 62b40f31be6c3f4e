#include "PlayCheckDeviceDialog.h"

#include "PreviewPanes.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

PlayCheckDeviceDialog::PlayCheckDeviceDialog(int rows, int columns, QWidget* parent)
    : FramelessDialog(parent), m_rows(std::max(1, rows)), m_columns(std::max(1, columns)),
      m_paneCount(m_rows * m_columns) {
    const QSize screen = PreviewPanes::screenSize();
    dialogWidth = screen.width();
    dialogHeight = screen.height();
    setWindowFlags(Qt::SplashScreen | Qt::BypassWindowManagerHint);

    const FramelessDialogFrame::Parts frame = PreviewPanes::buildFrame(this, dialogWidth, dialogHeight);
    m_titleBar = frame.titleBar;
    keepFrame(frame);
    connect(closeButton, &QPushButton::clicked, this, &PlayCheckDeviceDialog::onCloseBtnClicked);
    m_videoArea = PreviewPanes::buildVideoArea(
        this, QRect(0, FramelessDialogFrame::kTitleBarHeight, dialogWidth, dialogHeight), m_rows, m_columns,
        &m_panes);

    armDrag();
}

PlayCheckDeviceDialog::~PlayCheckDeviceDialog() {
    m_session.release();
}

void PlayCheckDeviceDialog::startPlay(QVector<QStringList> rows) {
    const int stream = rows.size() > 4 ? 1 : 0;
    const int count = std::min({rows.size(), m_paneCount, PreviewSession::kSlots});
    for (int i = 0; i < count; ++i) {
        const auto window = static_cast<std::uint32_t>(m_panes[i]->winId());
        m_session.play(i, rows[i], stream, window, this);
    }
}

void PlayCheckDeviceDialog::onCloseBtnClicked() {
    m_session.release();
    close();
}

void PlayCheckDeviceDialog::done(int result) {
    m_session.release();
    FramelessDialog::done(result);
}

void PlayCheckDeviceDialog::mouseDoubleClickEvent(QMouseEvent*) {
    onCloseBtnClicked();
}
