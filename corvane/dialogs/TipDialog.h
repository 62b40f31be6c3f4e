// Message box: an icon, a message and a "Confirm" button on the frameless dialog frame.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;

class TipDialog : public QDialog {
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

    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    int dialogHeight = 202;
    int dialogWidth = 286;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

    QLabel* iconLabel = nullptr;
    QLabel* textLabel = nullptr;
    QPushButton* confirmButton = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

public slots:
    void onCloseBtnClicked();
};
