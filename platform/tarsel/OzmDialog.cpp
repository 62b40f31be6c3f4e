#include "tarsel/OzmDialog.h"

#include "ozmlogic/OzmLogic.h"
#include "tarsel/ReturnKeyGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

OzmDialog::OzmDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setObjectName("ozmDialog");
    // Return in a field of the content never ends the dialog or clicks a button: edits stay until
    // they are saved, and the ways out are the title bar and Escape.
    ReturnKeyGuard::install(this);
    setStyleSheet("QDialog#ozmDialog{background: #F2F2F2;border: 1px solid #ADADAD;}");

    m_titleBar = new QWidget(this);
    m_titleBar->setObjectName("ozmDialogTitleBar");
    m_titleBar->setFixedHeight(kTitleHeight);
    m_titleBar->setAttribute(Qt::WA_StyledBackground, true);
    m_titleBar->setStyleSheet("QWidget#ozmDialogTitleBar{background: #CDCDCD;}");

    m_titleLogo = new QLabel(m_titleBar);
    m_titleLogo->setObjectName("titleLogo");
    m_titleLabel = new QLabel(m_titleBar);
    m_titleLabel->setObjectName("titleName");
    OzmLogic::setMyFontRegular(m_titleLabel);
    m_closeButton = new QPushButton(m_titleBar);
    m_closeButton->setObjectName("ozmDialogClose");
    m_closeButton->setFixedSize(kTitleHeight, kTitleHeight);
    m_closeButton->setStyleSheet("QPushButton{background:transparent; border:no;"
                                 "image:url(./skin/client/default/MainFrame/icon_close_black.png);}");
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* titleLayout = new QHBoxLayout(m_titleBar);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(0);
    titleLayout->addWidget(m_titleLogo);
    titleLayout->addWidget(m_titleLabel);
    titleLayout->addStretch();
    titleLayout->addWidget(m_closeButton);

    m_content = new QWidget(this);
    m_content->setObjectName("ozmDialogContent");

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(m_titleBar);
    outer->addWidget(m_content, 1);
}

OzmDialog::~OzmDialog() = default;

void OzmDialog::setContentLayout(QLayout* layout) {
    if (!layout) {
        return;
    }
    if (m_content->layout()) {
        // A widget keeps its first layout: the new content goes into a fresh widget.
        QWidget* fresh = new QWidget(this);
        fresh->setObjectName("ozmDialogContent");
        delete this->layout()->replaceWidget(m_content, fresh);
        delete m_content;
        m_content = fresh;
    }
    m_content->setLayout(layout);
}

void OzmDialog::setTitleText(const QString& text) {
    m_titleLabel->setText(text);
}

QString OzmDialog::titleText() const {
    return m_titleLabel->text();
}

void OzmDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_pressPos = event->pos();
    if (m_pressPos.y() <= kDragHeight) {
        m_dragging = rect().contains(m_pressPos);
    }
}

void OzmDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        move(pos() + event->pos() - m_pressPos);
    }
}

void OzmDialog::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    if (event->button() == Qt::LeftButton) {
        event->accept();
    }
}
