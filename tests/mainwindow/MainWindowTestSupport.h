// Fixture for the main-window tests: application object, a temporary program and
// configuration folder per test, and a closer that records and closes modal dialogs.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace mwtest {

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "mainwindow_test";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

struct ModalRecord {
    QString className;
    QStringList labels; // non-empty label texts in creation order
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(_dir.isValid());
        qputenv("CORVANE_PROGRAM_DIR", _dir.path().toUtf8());
        qputenv("CORVANE_CONFIG_DIR", (_dir.path() + "/config").toUtf8());
        app();
        _closer = new QTimer;
        _closer->setInterval(5);
        QObject::connect(_closer, &QTimer::timeout, [this] { closeModal(); });
        _closer->start();
    }
    void TearDown() override {
        delete _closer;
        _closer = nullptr;
    }

    QString dir() const { return _dir.path(); }
    const QList<ModalRecord>& modals() const { return _modals; }
    // The message of each modal message box, in order.
    QStringList modalTexts() const {
        QStringList texts;
        for (const ModalRecord& m : _modals) {
            if (m.className == "TipDialog" && !m.labels.isEmpty())
                texts << m.labels.last();
        }
        return texts;
    }
    // The first label text (the title) of each modal dialog, in order.
    QStringList modalTitles() const {
        QStringList titles;
        for (const ModalRecord& m : _modals)
            titles << m.labels.value(0);
        return titles;
    }

private:
    void closeModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        ModalRecord record;
        record.className = modal->metaObject()->className();
        for (QLabel* label : modal->findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                record.labels << label->text();
        }
        _modals << record;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTemporaryDir _dir;
    QTimer* _closer = nullptr;
    QList<ModalRecord> _modals;
};

} // namespace mwtest
