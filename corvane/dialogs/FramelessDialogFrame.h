// The frame shared by the small frameless dialogs: a grey 30-pixel title bar with a logo
// label, a title label and a close button; dragging by a left press in the top 40 pixels.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QMouseEvent;
class QPushButton;
class QWidget;

namespace FramelessDialogFrame {

constexpr int kTitleBarHeight = 30;
constexpr int kDragAreaBottom = 40;
// Object names of the title bar and the close button, which scope their style sheets to them.
constexpr const char* kTitleBarName = "frameTitleBar";
constexpr const char* kCloseButtonName = "frameCloseButton";
// The frame's look of the dialog itself.
constexpr const char* kDialogLook = "background: #F2F2F2;border: 1px solid #ADADAD;";

struct Parts {
    QWidget* titleBar = nullptr;
    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
};

// "type#name{declarations}": a style sheet that applies to the one widget of that object name
// and to none of its children.
QString scoped(const char* type, const QString& objectName, const QString& declarations);

// Fixes the dialog's size, gives the dialog its look and builds the title bar with its close
// button at (width - 30, 0). The caller sets the window flags first and connects the close
// button. Return and Enter click none of the dialog's buttons (ReturnKeyGuard).
// Every sheet is scoped to its widget's object name (the dialog's is its class name unless it
// has one), so that no child takes it and no dialog's look depends on another's. An empty
// dialogLook sets no sheet on the dialog. A dialog's sheet is set once: one cleared, or replaced
// before the dialog is first shown, stays in the style-sheet caches under the dialog's address;
// the dialog keeps showing it, and so does the next dialog built there (the main window's
// dialogs are locals).
Parts build(QDialog* dialog, int width, int height, const QString& dialogLook = QLatin1String(kDialogLook));

// Drag handling. press: only a left press counts; it records pressPos and, when its y is at
// most 40, sets dragging to whether titleRect contains it.
void press(const QMouseEvent* event, const QRect& titleRect, QPoint& pressPos, bool& dragging);
void move(QWidget* dialog, const QMouseEvent* event, bool dragging, const QPoint& pressPos);
void release(QMouseEvent* event, bool& dragging);

} // namespace FramelessDialogFrame
