#include "TitleBar.h"

#include "AboutUsDialog.h"
#include "ozmlogic/OzmLogic.h"
#include "tarsel/WindowBase.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

TitleBar::TitleBar(QWidget* parent) : QFrame(parent), _window(parent) {
    // Frameless stays: the window draws its own title bar.
    if (_window)
        _window->setWindowFlags(_window->windowFlags() | Qt::Window | Qt::CustomizeWindowHint);

    _logoLabel = new QLabel(this);
    _logoLabel->setObjectName("titleLogo");
    _nameLabel = new QLabel(tr("IPC Corvane"), this);
    _nameLabel->setObjectName("titleName");
    OzmLogic::setMyFontRegular(_nameLabel);

    _versionBtn = new QPushButton(this);
    _versionBtn->setObjectName("versionBtn");
    _versionBtn->setToolTip(tr("About"));
    _minBtn = new QPushButton(this);
    _minBtn->setObjectName("minBtn");
    _minBtn->setToolTip(tr("Minimize"));
    _maxNormalBtn = new QPushButton(this);
    _maxNormalBtn->setObjectName("maxNormalBtn");
    _maxNormalBtn->setEnabled(false);
    _closeBtn = new QPushButton(this);
    _closeBtn->setObjectName("closeButton");
    _closeBtn->setToolTip(tr("Close"));

    auto* left = new QHBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    left->addWidget(_logoLabel);
    left->addWidget(_nameLabel);
    left->addStretch();

    auto* right = new QHBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addStretch();
    right->addWidget(_versionBtn);
    right->addWidget(_minBtn);
    right->addWidget(_maxNormalBtn);
    right->addWidget(_closeBtn);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(left);
    layout->addLayout(right);

    connect(_versionBtn, &QPushButton::clicked, this, &TitleBar::onVersionBtnClicked);
    connect(_minBtn, &QPushButton::clicked, this, &TitleBar::onMinBtnClicked);
    connect(_maxNormalBtn, &QPushButton::clicked, this, &TitleBar::onMaxNormalBtnClicked);
    connect(_closeBtn, &QPushButton::clicked, this, &TitleBar::onCloseBtnClicked);
}

void TitleBar::onVersionBtnClicked() {
    AboutUsDialog about;
    about.exec();
}

void TitleBar::onMinBtnClicked() {
    if (auto* base = qobject_cast<WindowBase*>(_window))
        base->myShowMin();
    else if (_window)
        _window->showMinimized();
}

void TitleBar::onMaxNormalBtnClicked() {}

void TitleBar::onCloseBtnClicked() {
    if (_window)
        _window->close();
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && _window) {
        _pressOffset = event->globalPos() - _window->pos();
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void TitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
    onMaxNormalBtnClicked();
    event->accept();
}

void TitleBar::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && !_pressOffset.isNull() && _window) {
        auto* base = qobject_cast<WindowBase*>(_window);
        if (base && !base->isFullScreen())
            WindowBase::myDragMove(_window, event->globalPos() - _pressOffset);
        else if (!base && !_window->isFullScreen())
            _window->move(event->globalPos() - _pressOffset);
        event->accept();
        return;
    }
    QFrame::mouseMoveEvent(event);
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        _pressOffset = QPoint();
        event->accept();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}
