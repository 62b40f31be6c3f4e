// Base of the small frameless dialogs: the frame's members (title bar labels, close button and
// the drag state) and the dragging by the top strip (FramelessDialogFrame::press, move, release).
// Each dialog builds its frame, keeps its parts and, at the end of its constructor, arms the
// drag area with its own geometry.
#pragma once

#include "FramelessDialogFrame.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

class QLabel;
class QPushButton;

class FramelessDialog : public QDialog {
    Q_OBJECT

public:
    // Null where the dialog builds its own bar without it.
    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

protected:
    explicit FramelessDialog(QWidget* parent);

    // Keeps the labels and the close button of a built frame.
    void keepFrame(const FramelessDialogFrame::Parts& frame);
    // The end of construction: no drag under way, and a press may start one anywhere in the
    // dialog's geometry (within the top strip).
    void armDrag();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
