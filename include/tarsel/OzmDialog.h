// Widget library: frameless dialog with its own title bar (logo, title, close button), a
// content area below it, and dragging by the top 40 pixels.
#pragma once

#include <QDialog>
#include <QPoint>

class QLabel;
class QLayout;
class QPushButton;

class OzmDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTitleHeight = 30;
    static constexpr int kDragHeight = 40;

    explicit OzmDialog(QWidget* parent = nullptr);
    ~OzmDialog() override;

    // Puts layout into the content area (the dialog takes ownership). A second call replaces
    // the earlier layout and deletes it together with its widgets.
    void setContentLayout(QLayout* layout);
    void setTitleText(const QString& text);
    QString titleText() const;

    QWidget* contentWidget() const { return m_content; }
    QPushButton* closeButton() const { return m_closeButton; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* m_titleBar = nullptr;
    QLabel* m_titleLogo = nullptr;
    QLabel* m_titleLabel = nullptr;
    QPushButton* m_closeButton = nullptr;
    QWidget* m_content = nullptr;
    bool m_dragging = false;
    QPoint m_pressPos;
};
