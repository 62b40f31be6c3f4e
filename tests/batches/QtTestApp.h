// A QApplication for the GUI tests (offscreen) and a closer for modal boxes.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <memory>

inline QApplication* testApp() {
    static int argc = 1;
    static char name[] = "batches-test";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app;
    if (!qApp) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    return app.get();
}

// Closes every modal box that opens while it lives and records "title|text" of each.
class ModalCloser {
public:
    ModalCloser() {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << box->windowTitle() + "|" + box->text();
                box->done(QMessageBox::Ok);
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                seen << dialog->windowTitle();
                dialog->done(0);
            }
        });
        timer.start();
    }
    QStringList seen;

private:
    QTimer timer;
};
