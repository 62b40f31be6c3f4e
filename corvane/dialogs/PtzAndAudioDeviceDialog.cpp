#include "PtzAndAudioDeviceDialog.h"

#include "PreviewPanes.h"
#include "kvxnet/KvxNetSdk.h"

#include <QDebug>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>
#include <cstring>

const PtzAndAudioDeviceDialog::PtzButton PtzAndAudioDeviceDialog::kButtons[17] = {
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "LeftUp"), 1, 0, 14, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Up"), 1, 1, 10, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "RightUp"), 1, 2, 16, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Zoom+"), 1, 3, 20, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Zoom-"), 1, 4, 21, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Open Voice"), 1, 5, -1, false},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Left"), 2, 0, 12, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Right"), 2, 2, 13, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Focus+"), 2, 3, 22, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Focus-"), 2, 4, 23, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Close Voice"), 2, 5, -1, false},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "LeftDown"), 3, 0, 15, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Down"), 3, 1, 11, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "RightDown"), 3, 2, 17, true},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Aperture+"), 3, 3, 24, false},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Aperture-"), 3, 4, 25, false},
    {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "InitLines"), 3, 5, 32, false},
};

PtzAndAudioDeviceDialog::PtzAndAudioDeviceDialog(int rows, int columns, QWidget* parent)
    : FramelessDialog(parent), m_rows(std::max(1, rows)), m_columns(std::max(1, columns)),
      m_paneCount(m_rows * m_columns) {
    const QSize screen = PreviewPanes::screenSize();
    dialogWidth = screen.width();
    dialogHeight = screen.height();
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);

    const FramelessDialogFrame::Parts frame = PreviewPanes::buildFrame(this, dialogWidth, dialogHeight);
    keepFrame(frame);
    connect(closeButton, &QPushButton::clicked, this, &PtzAndAudioDeviceDialog::onCloseBtnClicked);
    m_videoArea = PreviewPanes::buildVideoArea(
        this, QRect(0, FramelessDialogFrame::kTitleBarHeight, dialogWidth, dialogHeight - 180), m_rows,
        m_columns, &m_panes);
    buildPad();

    armDrag();
}

PtzAndAudioDeviceDialog::~PtzAndAudioDeviceDialog() {
    m_session.release();
}

void PtzAndAudioDeviceDialog::buildPad() {
    auto* panel = new QWidget(this);
    panel->setGeometry(0, dialogHeight - 150, dialogWidth, 180);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);

    auto* ptzContainer = new QWidget(panel);
    ptzContainer->setFixedSize(500, 180);
    m_ptzBox = new QGroupBox(tr("PTZ"), ptzContainer);
    m_ptzBox->setGeometry(0, 0, 500, 130);
    auto* grid = new QGridLayout(m_ptzBox);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    // The pad's 75 x 25 buttons hold their longest captions ("Close Voice") at 11 px.
    QFont padFont = m_ptzBox->font();
    padFont.setPixelSize(11);
    for (const PtzButton& entry : kButtons) {
        auto* button = new QPushButton(tr(entry.caption), m_ptzBox);
        button->setFixedSize(75, 25);
        button->setFont(padFont);
        grid->addWidget(button, entry.row, entry.column);
        m_buttons.append(button);
        const int code = entry.code;
        if (entry.hold) {
            connect(button, &QPushButton::pressed, this, [this, code] {
                m_moving = true;
                sendPtzCommand(code);
            });
            connect(button, &QPushButton::released, this, [this] { stopMovement(); });
        } else if (code >= 0) {
            connect(button, &QPushButton::clicked, this, [this, code] { sendPtzCommand(code); });
        } else if (std::strcmp(entry.caption, "Open Voice") == 0) {
            connect(button, &QPushButton::clicked, this, &PtzAndAudioDeviceDialog::openVoice);
        } else {
            connect(button, &QPushButton::clicked, this, &PtzAndAudioDeviceDialog::closeVoice);
        }
    }
    for (const char* caption : {QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Stop"),
                                QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "Continue"),
                                QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "ZoomStop"),
                                QT_TRANSLATE_NOOP("PtzAndAudioDeviceDialog", "FocusStop")}) {
        auto* hidden = new QPushButton(tr(caption), m_ptzBox);
        hidden->setFixedSize(75, 25);
        hidden->hide();
        m_buttons.append(hidden);
    }

    auto* recordContainer = new QWidget(panel);
    recordContainer->setFixedSize(200, 170);
    m_recordBox = new QTextEdit(recordContainer);
    m_recordBox->setGeometry(0, 0, 200, 120);
    m_recordBox->setReadOnly(true);
    m_recordBox->append(tr("[-Operation record-]"));

    panelLayout->addStretch();
    panelLayout->addWidget(ptzContainer);
    panelLayout->addWidget(recordContainer);
    panelLayout->addStretch();
}

QPushButton* PtzAndAudioDeviceDialog::ptzButton(const QString& caption) const {
    for (QPushButton* button : m_buttons) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

void PtzAndAudioDeviceDialog::startPlay(QVector<QStringList> rows) {
    m_keptRows = rows;
    m_stream = rows.size() > 4 ? 1 : 0;
    const int count = std::min({rows.size(), m_paneCount, PreviewSession::kSlots});
    for (int i = 0; i < count; ++i) {
        const auto window = static_cast<std::uint32_t>(m_panes[i]->winId());
        m_session.play(i, rows[i], m_stream, window, this);
    }
}

int PtzAndAudioDeviceDialog::deviceCount() const {
    return std::min(m_keptRows.size(), PreviewSession::kSlots);
}

void PtzAndAudioDeviceDialog::sendPtzCommand(int command) {
    for (int i = 0; i < deviceCount(); ++i) {
        if (!m_session.loggedIn(i))
            continue;
        KvxPtzCommand record{};
        record.stream = static_cast<std::uint8_t>(m_stream);
        record.command = static_cast<std::uint8_t>(command);
        if (KVX_NET_PTZCtrl(m_session.loginHandle(i), &record))
            qDebug() << "PTZ Success!" << i;
        else
            qDebug() << "PTZ Fail!" << i;
    }
}

bool PtzAndAudioDeviceDialog::setAudioTalk(int device, bool on) {
    return m_session.setAudioTalk(device, on);
}

void PtzAndAudioDeviceDialog::switchVoice(bool on) {
    const QString success = on ? tr("Open Voice Success") : tr("Close Voice Success");
    const QString fail = on ? tr("Open Voice Fail") : tr("Close Voice Fail");
    for (int i = 0; i < deviceCount(); ++i) {
        KvxAudioInfo record{};
        if (!m_session.loggedIn(i) || !setAudioTalk(i, on)) {
            m_recordBox->append(fail);
            continue;
        }
        const int login = m_session.loginHandle(i);
        if (!KVX_NET_GetAudioEx(login, 0, &record)) {
            m_recordBox->append(fail);
            continue;
        }
        record.enable = on ? 1 : 0;
        m_recordBox->append(KVX_NET_SetAudioEx(login, 0, &record) ? success : fail);
    }
}

void PtzAndAudioDeviceDialog::openVoice() {
    switchVoice(true);
}

void PtzAndAudioDeviceDialog::closeVoice() {
    switchVoice(false);
}

void PtzAndAudioDeviceDialog::stopMovement() {
    m_moving = false;
    sendPtzCommand(0);
}

void PtzAndAudioDeviceDialog::onCloseBtnClicked() {
    // A movement still held would go on after the logout.
    if (m_moving)
        stopMovement();
    m_session.release();
    m_keptRows.clear();
    close();
}

void PtzAndAudioDeviceDialog::done(int result) {
    if (m_moving)
        stopMovement();
    m_session.release();
    m_keptRows.clear();
    FramelessDialog::done(result);
}

void PtzAndAudioDeviceDialog::mouseDoubleClickEvent(QMouseEvent*) {
    onCloseBtnClicked();
}

void PtzAndAudioDeviceDialog::showEvent(QShowEvent* event) {
    setAttribute(Qt::WA_Mapped);
    FramelessDialog::showEvent(event);
}
