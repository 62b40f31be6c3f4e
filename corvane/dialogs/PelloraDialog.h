// A label form inside the main program: language choice, six product fields and three
// buttons. Nothing opens it (labels are printed by the separate label program); its printing
// slots do nothing.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class PelloraDialog : public QDialog {
    Q_OBJECT

public:
    explicit PelloraDialog(QWidget* parent = nullptr);
    ~PelloraDialog() override;

    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    int dialogHeight = 477;
    int dialogWidth = 534;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

    QRadioButton* chineseRadio = nullptr;
    QRadioButton* englishRadio = nullptr;
    QLineEdit* fieldEdits[6] = {};
    QPushButton* cancelButton = nullptr;
    QPushButton* previewButton = nullptr;
    QPushButton* printButton = nullptr;

public slots:
    void onCloseBtnClicked();
    void onPrintingPreview();
    void onDirectPrinting();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
