// Pieces shared by the preview dialogs: the full-screen size, the title bar with its close
// button, and the grey video area holding a grid of panes that let every mouse event through.
#pragma once

#include "FramelessDialogFrame.h"

#include <QList>
#include <QRect>
#include <QSize>

class QDialog;
class QWidget;

namespace PreviewPanes {

// The primary screen's available size (a fallback when there is no screen).
QSize screenSize();

constexpr const char* kVideoAreaName = "previewVideoArea";

// Fixed size width x height and the 30-pixel title bar of the frameless frame; the dialog's
// own look, scoped to it (none when empty).
FramelessDialogFrame::Parts buildFrame(QDialog* dialog, int width, int height,
                                       const QString& dialogLook = QString());

// A grey area at geometry with rows x columns plain panes in row-major order, split evenly.
QWidget* buildVideoArea(QWidget* parent, const QRect& geometry, int rows, int columns,
                        QList<QWidget*>* panes);

} // namespace PreviewPanes
