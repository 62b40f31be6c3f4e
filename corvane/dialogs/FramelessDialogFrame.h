// The frame shared by the small frameless dialogs: a grey 30-pixel title bar with a logo
// label, a title label and a close button; dragging by a left press in the top 40 pixels.
#pragma once

#include <QPoint>
#include <QRect>

class QDialog;
class QLabel;
class QMouseEvent;
class QPushButton;
class QWidget;

namespace FramelessDialogFrame {

constexpr int kTitleBarHeight = 30;
constexpr int kDragAreaBottom = 40;
// Object name of the title bar, which scopes the bar's style sheet to the bar.
constexpr const char* kTitleBarName = "frameTitleBar";

struct Parts {
    QWidget* titleBar = nullptr;
    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
};

// Fixes the dialog's size, sets the dialog style sheet and builds the title bar with its
// close button at (width - 30, 0). The caller sets the window flags first and connects the
// close button. Return and Enter click none of the dialog's buttons (ReturnKeyGuard).
Parts build(QDialog* dialog, int width, int height);

// Drag handling. press: only a left press counts; it records pressPos and, when its y is at
// most 40, sets dragging to whether titleRect contains it.
void press(const QMouseEvent* event, const QRect& titleRect, QPoint& pressPos, bool& dragging);
void move(QWidget* dialog, const QMouseEvent* event, bool dragging, const QPoint& pressPos);
void release(QMouseEvent* event, bool& dragging);

} // namespace FramelessDialogFrame
