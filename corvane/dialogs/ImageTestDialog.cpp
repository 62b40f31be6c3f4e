#include "ImageTestDialog.h"

#include "DeviceTableRow.h"
#include "FramelessDialogFrame.h"
#include "PreviewPanes.h"
#include "ozmlogic/OzmLogic.h"
#include "tarsel/ReturnKeyGuard.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

ImageTestDialog::ImageTestDialog(QWidget* parent) : FramelessDialog(parent) {
    const QSize screen = PreviewPanes::screenSize();
    dialogWidth = screen.width();
    dialogHeight = screen.height();
    setWindowFlags(Qt::CustomizeWindowHint | Qt::FramelessWindowHint);
    ReturnKeyGuard::install(this); // no frame: the guard of its own
    setFixedSize(dialogWidth, dialogHeight);
    // The dialog's grey and its 1-pixel border, on the dialog and on the two children that have no
    // grey or border of their own: the title text and the video area (which keeps its lighter
    // grey). Each sheet is scoped to its widget's name (see FramelessDialogFrame::build).
    setObjectName("ImageTestDialog");
    const QString look = QStringLiteral("background: #ADADAD;border: 1px solid #ADADAD;");
    setStyleSheet(FramelessDialogFrame::scoped("QDialog", objectName(), look));

    titleLabel = new QLabel(this);
    titleLabel->setObjectName("imageTestTitle");
    titleLabel->setStyleSheet(FramelessDialogFrame::scoped("QLabel", titleLabel->objectName(), look));
    titleLabel->setGeometry(0, 0, dialogWidth - 30, 30);
    OzmLogic::setMyFontRegular(titleLabel);

    closeButton = new QPushButton(this);
    closeButton->setObjectName(FramelessDialogFrame::kCloseButtonName);
    closeButton->setGeometry(dialogWidth - 30, 0, 30, 30);
    closeButton->setStyleSheet(FramelessDialogFrame::scoped(
        "QPushButton", closeButton->objectName(),
        "background:transparent; "
        "border:no;image:url(./skin/client/default/MainFrame/icon_close_black.png);"));

    m_videoWidget = new QWidget(this);
    m_videoWidget->setObjectName("imageTestVideo");
    m_videoWidget->setGeometry(0, 30, dialogWidth, dialogHeight - 30);
    m_videoWidget->setStyleSheet(FramelessDialogFrame::scoped(
        "QWidget", m_videoWidget->objectName(), "background:#F4F4F4;border: 1px solid #ADADAD;"));
    m_videoWidget->setMouseTracking(true);

    m_nextButton = new QPushButton(this);
    m_nextButton->setObjectName("imageTestNext");
    m_nextButton->setGeometry(dialogWidth - 50, (dialogHeight - 90) / 2, 50, 90);
    m_nextButton->setStyleSheet(FramelessDialogFrame::scoped(
        "QPushButton", m_nextButton->objectName(),
        "background:#B4B4B4; border:no;image:url(./skin/client/default/MainFrame/button_vedio_right.png);"));

    connect(closeButton, &QPushButton::clicked, this, &ImageTestDialog::stopPreview);
    connect(m_nextButton, &QPushButton::clicked, this, &ImageTestDialog::startPreview);

    // The operator's own time, not the program's: a double click's second click comes within it.
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(QApplication::doubleClickInterval());
    connect(m_settle, &QTimer::timeout, this, &ImageTestDialog::onShown);

    armDrag();
}

ImageTestDialog::~ImageTestDialog() {
    m_session.release();
}

void ImageTestDialog::setDeviceList(const QVector<QStringList>& rows) {
    m_rows = rows;
    m_next = 0;
    m_remaining = m_rows.size();
    if (m_rows.isEmpty()) {
        m_nextButton->hide();
        return;
    }
    startPreview();
}

void ImageTestDialog::startPreview() {
    if (m_starting || m_session.released() || m_next >= m_rows.size())
        return;
    const QStringList row = m_rows[m_next++];
    m_remaining = m_rows.size() - m_next;
    if (m_remaining == 0)
        m_nextButton->hide();
    titleLabel->setText(row.value(DeviceColumn::Ip));
    m_session.stop(0);
    m_session.play(0, row, 0, static_cast<std::uint32_t>(m_videoWidget->winId()), this);
    // Reported once it has been on screen; the dialog may not be shown yet.
    m_starting = true;
    m_startingMac = row.value(DeviceColumn::Mac);
    if (isVisible())
        m_settle->start();
}

void ImageTestDialog::showEvent(QShowEvent* event) {
    FramelessDialog::showEvent(event);
    if (m_starting && !m_settle->isActive())
        m_settle->start();
}

void ImageTestDialog::onShown() {
    if (!m_starting || m_session.released())
        return;
    m_starting = false;
    emit removeRow(m_startingMac, m_remaining);
}

void ImageTestDialog::stopPreview() {
    m_settle->stop();
    m_starting = false;
    m_session.release();
    close();
}

void ImageTestDialog::done(int result) {
    // A device still starting was never on screen long enough: it stays in the table.
    m_settle->stop();
    m_starting = false;
    m_session.release();
    FramelessDialog::done(result);
}

void ImageTestDialog::mouseDoubleClickEvent(QMouseEvent*) {
    // The second half of a double click on the arrow that lands here once the arrow is gone.
    if (m_starting)
        return;
    stopPreview();
}
