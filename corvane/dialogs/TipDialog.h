// Message box: an icon, a message and a "Confirm" button on the frameless dialog frame.
#pragma once

#include "FramelessDialog.h"

#include <QString>

class QLabel;
class QPushButton;

class TipDialog : public FramelessDialog {
    Q_OBJECT

public:
    explicit TipDialog(QWidget* parent = nullptr);
    ~TipDialog() override;

    static constexpr const char* kWarningIcon = "./skin/client/default/MainFrame/icon_warning.png";
    static constexpr const char* kSuccessIcon =
        "./skin/client/default/MainFrame/icon_notification_success.png";
    // A modal message box with the icon (a skin path) and the text; returns once it is closed.
    static void showMessage(const QString& icon, const QString& text);
    static void showWarning(const QString& text) { showMessage(kWarningIcon, text); }
    static void showSuccess(const QString& text) { showMessage(kSuccessIcon, text); }

    int dialogHeight = 202;
    int dialogWidth = 286;

    QLabel* iconLabel = nullptr;
    QLabel* textLabel = nullptr;
    QPushButton* confirmButton = nullptr;

public slots:
    void onCloseBtnClicked();
};
