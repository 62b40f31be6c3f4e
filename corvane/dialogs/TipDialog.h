// Message box: an icon, a message and a "Confirm" button on the frameless dialog frame.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class QLabel;
class QPushButton;

class TipDialog : public QDialog {
    Q_OBJECT

public:
    explicit TipDialog(QWidget* parent = nullptr);
    ~TipDialog() override;

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
