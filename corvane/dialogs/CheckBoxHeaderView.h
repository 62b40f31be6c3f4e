// Table header drawn with the skin's section background, white centred titles and sort arrows;
// optionally shows a check box in section 0 and reports its state.
#pragma once

#include <QHeaderView>
#include <QPixmap>

class CheckBoxHeaderView : public QHeaderView {
    Q_OBJECT
public:
    CheckBoxHeaderView(Qt::Orientation orientation, bool checkable, QWidget* parent = nullptr);
    ~CheckBoxHeaderView() override;

    void setChecked(bool checked);
    bool checked() const { return isChecked; }

signals:
    void checkBoxClicked(bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    bool isChecked = false;
    bool isCheckable = false;
    QPixmap checkedPixmap;
    QPixmap uncheckedPixmap;
};
