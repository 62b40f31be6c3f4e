#include "CheckBoxHeaderView.h"

#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/SkinMgr.h"

namespace {
QPixmap managementPixmap(const char* file) {
    return ozmSkinMgr()->getPixmap("Management", file, QSize(), -1, -1);
}
} // namespace

CheckBoxHeaderView::CheckBoxHeaderView(Qt::Orientation orientation, bool checkable, QWidget* parent)
    : QHeaderView(orientation, parent) {
    checkedPixmap = managementPixmap("checkbox-checked.png");
    uncheckedPixmap = managementPixmap("checkbox.png");
    isChecked = false;
    isCheckable = checkable;
}

CheckBoxHeaderView::~CheckBoxHeaderView() = default;

void CheckBoxHeaderView::setChecked(bool checked) {
    if (!isCheckable || checked == isChecked)
        return;
    isChecked = checked;
    // Hiding and showing the section repaints it.
    hideSection(0);
    showSection(0);
}

void CheckBoxHeaderView::mousePressEvent(QMouseEvent* event) {
    if (isCheckable && logicalIndexAt(event->pos()) == 0) {
        isChecked = !isChecked;
        emit checkBoxClicked(isChecked);
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void CheckBoxHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    painter->drawPixmap(rect, managementPixmap("tableview-row-bk.png"));

    const QString title =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    painter->setPen(QColor(255, 255, 255, 255));
    QFont font("Microsoft YaHei");
    font.setItalic(false);
    font.setPixelSize(OzmLogic::getMyHeight(16));
    painter->setFont(font);
    const QString elided = QFontMetrics(font).elidedText(title, Qt::ElideRight, rect.width());
    painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, elided);

    const bool boxSection = isCheckable && logicalIndex == 0;
    if (boxSection) {
        const int w = checkedPixmap.width() > 0 ? checkedPixmap.width() : 16;
        const int h = checkedPixmap.height() > 0 ? checkedPixmap.height() : 16;
        const QRect box(rect.x() + (rect.width() - w) / 2, rect.y() + (rect.height() - h) / 2, w, h);
        painter->drawPixmap(box, isChecked ? checkedPixmap : uncheckedPixmap);
    }

    if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex && !boxSection) {
        const char* arrow =
            sortIndicatorOrder() == Qt::AscendingOrder ? "indicator-up.png" : "indicator-down.png";
        painter->drawPixmap(QRect(rect.x() + 5, rect.y() + 2, 9, 5), managementPixmap(arrow));
    }
    painter->restore();
}
