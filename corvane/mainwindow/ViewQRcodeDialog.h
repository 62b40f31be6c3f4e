// Shows a device's QR code for the mobile app with its serial number.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class QLabel;
class QPushButton;

class ViewQRcodeDialog : public QDialog {
    Q_OBJECT
public:
    explicit ViewQRcodeDialog(QWidget* parent = nullptr);

    // Filled by the caller.
    QLabel* qrLabel() const { return _qrLabel; }
    QLabel* serialLabel() const { return _serialLabel; }
    QLabel* appLabel() const { return _appLabel; }
    QPushButton* closeButton() const { return _closeBtn; }

    // The link the code encodes for a serial number.
    static QString deviceLink(const QString& serial);

public slots:
    void onCloseBtnClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QLabel* _qrLabel = nullptr;
    QLabel* _serialLabel = nullptr;
    QLabel* _appLabel = nullptr;
    QPushButton* _closeBtn = nullptr;
    bool _dragging = false;
    QRect _dragArea;
    QPoint _pressPos;
};
