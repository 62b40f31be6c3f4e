// The main window's title bar: logo, name, About, minimise, (disabled) maximise and close.
// Dragging it moves the window.
#pragma once

#include <QFrame>
#include <QPoint>

class QLabel;
class QPushButton;

class TitleBar : public QFrame {
    Q_OBJECT
public:
    explicit TitleBar(QWidget* parent);

    QPushButton* versionButton() const { return _versionBtn; }
    QPushButton* minButton() const { return _minBtn; }
    QPushButton* maxNormalButton() const { return _maxNormalBtn; }
    QPushButton* closeButton() const { return _closeBtn; }
    QLabel* nameLabel() const { return _nameLabel; }

public slots:
    void onVersionBtnClicked();
    void onMinBtnClicked();
    void onMaxNormalBtnClicked();
    void onCloseBtnClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPoint _pressOffset;
    QWidget* _window;
    QLabel* _logoLabel = nullptr;
    QLabel* _nameLabel = nullptr;
    QPushButton* _versionBtn = nullptr;
    QPushButton* _minBtn = nullptr;
    QPushButton* _maxNormalBtn = nullptr;
    QPushButton* _closeBtn = nullptr;
};
