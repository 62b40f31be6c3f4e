#include "FramelessDialog.h"

#include <QMouseEvent>

FramelessDialog::FramelessDialog(QWidget* parent) : QDialog(parent) {}

void FramelessDialog::keepFrame(const FramelessDialogFrame::Parts& frame) {
    titleLogoLabel = frame.titleLogoLabel;
    titleLabel = frame.titleLabel;
    closeButton = frame.closeButton;
}

void FramelessDialog::armDrag() {
    isDragging = false;
    titleRect = geometry();
}

void FramelessDialog::mousePressEvent(QMouseEvent* event) {
    FramelessDialogFrame::press(event, titleRect, pressPos, isDragging);
}

void FramelessDialog::mouseReleaseEvent(QMouseEvent* event) {
    FramelessDialogFrame::release(event, isDragging);
}

void FramelessDialog::mouseMoveEvent(QMouseEvent* event) {
    FramelessDialogFrame::move(this, event, isDragging, pressPos);
}
