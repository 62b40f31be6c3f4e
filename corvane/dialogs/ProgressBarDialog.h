// Busy indicator: a title text and an endless progress bar on the frameless dialog frame,
// without a close button; its owner closes it.
#pragma once

#include "FramelessDialog.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class ProgressBarDialog : public FramelessDialog {
    Q_OBJECT

public:
    static constexpr int kStepMs = 200;

    explicit ProgressBarDialog(QWidget* parent = nullptr);
    ~ProgressBarDialog() override;

    // Modal until its owner closes it; returns at once when it was closed while it showed.
    int exec() override;

    int dialogHeight = 139;
    int dialogWidth = 354;

    QProgressBar* progressBar = nullptr;
    QTimer* timer = nullptr;
    int progressValue = 0;

    // Escape: the operator cannot end the busy indicator.
    void reject() override;

protected:
    // Only the owner's close() ends it; a close asked for by the window system is refused.
    void closeEvent(QCloseEvent* event) override;

public slots:
    void onCloseBtnClicked();
    void onProgressBar();
};
