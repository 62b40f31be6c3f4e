// The About window: title strip, icon, rights notice and the framework's version text.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class QLabel;
class QPushButton;

class AboutUsDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutUsDialog(QWidget* parent = nullptr);

    QLabel* titleLabel() const { return _titleLabel; }
    QLabel* versionLabel() const { return _versionLabel; }
    QLabel* rightsLabel() const { return _rightsLabel; }
    QPushButton* closeButton() const { return _closeBtn; }
    bool isDragging() const { return _dragging; }

public slots:
    void onCloseBtnClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildUi();

    QLabel* _titleLogoLabel = nullptr;
    QLabel* _titleLabel = nullptr;
    int _dlgHeight;
    int _dlgWidth;
    QPushButton* _closeBtn = nullptr;
    QLabel* _iconLabel = nullptr;
    QLabel* _rightsLabel = nullptr;
    QLabel* _versionLabel = nullptr;
    bool _dragging = false;
    QRect _dragArea;
    QPoint _pressPos;
};
