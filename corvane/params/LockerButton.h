// Header of one accordion section: an icon and a caption side by side on a push button.
#pragma once

#include <QPushButton>

class QLabel;

class LockerButton : public QPushButton {
    Q_OBJECT

public:
    explicit LockerButton(QWidget* parent = nullptr);
    ~LockerButton() override;

    void setImage(const QPixmap& image);
    // Sets the caption label; the button's own text stays empty.
    void setText(QString text);

    QLabel* getImageLabel() const { return m_imageLabel; }
    QLabel* getTextLabel() const { return m_textLabel; }

private:
    QLabel* m_imageLabel;
    QLabel* m_textLabel;
};
