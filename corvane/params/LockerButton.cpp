#include "LockerButton.h"

#include <QHBoxLayout>
#include <QLabel>

LockerButton::LockerButton(QWidget* parent)
    : QPushButton(parent), m_imageLabel(new QLabel), m_textLabel(new QLabel) {
    m_imageLabel->setObjectName("imageLabel");
    m_imageLabel->setScaledContents(true);
    m_imageLabel->setFixedSize(16, 16);
    m_textLabel->setObjectName("textLabel");
    m_textLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* layout = new QHBoxLayout;
    layout->setSpacing(8);
    layout->setMargin(0);
    layout->setContentsMargins(27, 0, 0, 0);
    layout->addWidget(m_imageLabel);
    layout->addWidget(m_textLabel);
    layout->addStretch();
    setLayout(layout); // the labels become the button's children here
}

LockerButton::~LockerButton() = default;

void LockerButton::setImage(const QPixmap& image) {
    m_imageLabel->setPixmap(image);
}

void LockerButton::setText(QString text) {
    m_textLabel->setText(text);
}
