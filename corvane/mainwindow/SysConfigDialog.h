// System settings: interface language (effective after restart) and the search time.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class SysConfigDialog : public QDialog {
    Q_OBJECT
public:
    explicit SysConfigDialog(QWidget* parent = nullptr);

    // Path of the label program's ini file the language keys go to.
    static QString pelloraIniPath();

    QComboBox* languageBox() const { return _languageBox; }
    QLineEdit* searchTimeEdit() const { return _searchTimeEdit; }
    QPushButton* saveButton() const { return _saveBtn; }
    QPushButton* closeButton() const { return _closeBtn; }

public slots:
    void onCloseBtnClicked();
    void onSaveDate();
    void onCheckSearchTime(QString searchTime);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QComboBox* _languageBox = nullptr;
    QLineEdit* _searchTimeEdit = nullptr;
    QPushButton* _saveBtn = nullptr;
    QPushButton* _closeBtn = nullptr;
    bool _dragging = false;
    QRect _dragArea;
    QPoint _pressPos;
};
