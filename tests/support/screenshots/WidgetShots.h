// Helpers of the programs that save PNGs of windows for tools/screenshots (run under Xvfb).
#pragma once

#include <QPoint>
#include <QString>

class QPixmap;
class QWidget;

namespace widgetshots {

// The absolute output folder named by the first argument, created. Without one, prints
// "usage: PROGRAM OUTPUT_FOLDER" plus moreUsage to stderr and ends the program with status 2.
// SCREENSHOT_LANG=CODE (e.g. zh_CN) also installs translations/corvane_CODE.qm from the working
// folder, so the pictures show that language; one that cannot be loaded ends the program with
// status 2.
QString outputFolder(int argc, char* argv[], const char* moreUsage = "");

// Runs the event loop for ms milliseconds.
void pump(int ms);

// Saves shot as PNG at path and prints "saved PATH (WxH)" or "FAILED PATH (WxH)" on stdout.
bool savePng(const QPixmap& shot, const QString& path);

enum class Grab {
    Screen, // the window as the screen shows it; the widget's own rendering if the screen has none
    Widget, // the widget's own rendering
};

// Shows and raises widget, lets it paint for settleMs, then saves it as PNG at path.
bool saveWindow(QWidget* widget, const QString& path, int settleMs = 300, Grab grab = Grab::Screen);

// Presses the left button at from, moves to `to` and releases it there, each event sent at once
// and followed by a repaint.
void drag(QWidget* widget, QPoint from, QPoint to);

} // namespace widgetshots
