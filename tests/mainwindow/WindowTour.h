// A walk through every window of Corvane: the main window against the simulated fleet and a fake
// fixture, through a search, the batches of every button, every dialog, result table, preview and
// parameter page they open; a visitor sees each window once it is shown.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace mwtest {

// Called for each visible top-level window (and each parameter page) once it is shown, with a
// description of where the tour is. The window stays open until the visitor returns.
using TourVisitor = std::function<void(QWidget* window, const QString& where)>;

class WindowTour {
public:
    explicit WindowTour(TourVisitor visitor);
    ~WindowTour();

    // Runs the whole tour in the language code ("zh_CN", "en_US"), which takes effect through the
    // framework as at a start. Needs the test's application, a working folder that stands in for
    // the program folder (CORVANE_PROGRAM_DIR) and the stand-in ping first on PATH. False when a
    // step could not be completed; error() says which.
    bool run(const QString& language);
    QString error() const;
    // The where of every visit, in order.
    QStringList visits() const;

    WindowTour(const WindowTour&) = delete;
    WindowTour& operator=(const WindowTour&) = delete;

private:
    class Walker;
    std::unique_ptr<Walker> _walker;
};

} // namespace mwtest
