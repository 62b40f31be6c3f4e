// Page 9, privacy mask: build, the two loads, the editor and edits kept in step, save.
#include "PrivacyMaskPage.h"

#include "ParamPageKit.h"
#include "PlayWidget.h"
#include "ozmlogic/ParamsMgr.h"
#include "ozmlogic/ParamRecords.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

using pagekit::Cell;

namespace {

// The gap between a coordinate's caption and its edit.
constexpr int kCaptionGap = 4;

// A stored value as the page loads it, clamped to the editor: x and y within it, width and height
// up to one past its edge (where a drag across it ends). Values from the store may be anything.
int areaValue(const OZM::SC_PRIVACY_AREA& area, int value) {
    const int x = std::clamp(area.x, 0, PlayWidget::kWidth);
    const int y = std::clamp(area.y, 0, PlayWidget::kHeight);
    switch (value) {
    case 0:
        return x;
    case 1:
        return y;
    case 2:
        return std::clamp(area.width, 0, PlayWidget::kWidth + 1 - x);
    default:
        return std::clamp(area.height, 0, PlayWidget::kHeight + 1 - y);
    }
}

} // namespace

PrivacyMaskPage::PrivacyMaskPage(QWidget* dialog, QWidget* content) : QObject(dialog) {
    _playWidget = new PlayWidget(dialog);
    _playWidget->setObjectName("playWidget");
    OzmLogic::setMyFixedSize(_playWidget, QSize(PlayWidget::kWidth, PlayWidget::kHeight));
    const int width = _playWidget->width();
    const int height = _playWidget->height();

    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 10, 0, 0);
    auto* editorRow = new QHBoxLayout;
    editorRow->setContentsMargins(155, 0, 0, 0);
    editorRow->addWidget(_playWidget);
    editorRow->addStretch();
    layout->addLayout(editorRow);

    const char* const captions[4] = {QT_TR_NOOP("X"), QT_TR_NOOP("Y"), QT_TR_NOOP("W"), QT_TR_NOOP("H")};
    const int captionWidths[4] = {9, 9, 13, 10};
    const int groupGaps[4] = {0, 8, 4, 7};
    for (int area = 0; area < kAreas; ++area) {
        layout->addSpacing(area == 0 ? 10 : 18);
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        row->setContentsMargins(60, 0, 0, 0);
        row->addWidget(pagekit::label(content, tr("Area %1:").arg(area + 1), "areaLabel", 56, 22));
        row->addSpacing(4);
        for (int v = 0; v < 4; ++v) {
            QLineEdit* edit = pagekit::lineEdit(content, "settinglineEdit", 100, 30);
            edit->setValidator(new QIntValidator(0, v % 2 == 0 ? width : height, edit));
            _privacyEdit[area][v] = edit;
            row->addSpacing(groupGaps[v]);
            // A caption wider than its place in this font takes the room from the gap before its
            // edit, so the edits stay where they are.
            QLabel* caption = pagekit::label(content, tr(captions[v]), "settingLabel", captionWidths[v], 20);
            caption->ensurePolished();
            const int grow = std::max(0, caption->fontMetrics().horizontalAdvance(caption->text()) -
                                             caption->minimumWidth());
            caption->setFixedWidth(caption->minimumWidth() + grow);
            row->addWidget(caption);
            row->addSpacing(std::max(0, kCaptionGap - grow));
            row->addWidget(edit);
        }
        _privacyDeleteBtn[area] = new QPushButton(tr("Delete"), dialog);
        _privacyDeleteBtn[area]->setObjectName("comButton");
        OzmLogic::setMyFixedSize(_privacyDeleteBtn[area], QSize(88, 30));
        row->addSpacing(8);
        row->addWidget(_privacyDeleteBtn[area]);
        row->addStretch();
        layout->addLayout(row);
    }
    layout->addStretch();
}

void PrivacyMaskPage::load() {
    OZM::_SC_SETPRIVACYMASKINFO_DATA_ info{};
    ozmParamsMgr()->getPrivacyMaskInfo(&info);
    for (int area = 0; area < kAreas; ++area)
        for (int v = 0; v < 4; ++v)
            _privacyEdit[area][v]->setText(QString::number(areaValue(info.area[area], v)));
}

std::array<QLineEdit*, PrivacyMaskPage::kAreas * 4> PrivacyMaskPage::edits() const {
    std::array<QLineEdit*, kAreas * 4> result{};
    for (int field = 0; field < kAreas * 4; ++field)
        result[field] = _privacyEdit[field / 4][field % 4];
    return result;
}

void PrivacyMaskPage::loadEditor() {
    OZM::_SC_SETPRIVACYMASKINFO_DATA_ info{};
    ozmParamsMgr()->getPrivacyMaskInfo(&info);
    // x and y before width and height, so each rectangle ends exactly at the stored values.
    for (int field = 0; field < kAreas * 4; ++field)
        _playWidget->setAreaValue(field, areaValue(info.area[field / 4], field % 4));
    _playWidget->refreshAreas();
    for (int area = 0; area < kAreas; ++area)
        for (int v = 0; v < 4; ++v) {
            _privacyEdit[area][v]->setText(QString::number(areaValue(info.area[area], v)));
            _privacyEdit[area][v]->setEnabled(false);
        }
}

void PrivacyMaskPage::showArea(int index, const QRect& rect) {
    const int area = index == 0 ? 0 : index == 1 ? 1 : 2;
    const int values[4] = {rect.x(), rect.y(), rect.width(), rect.height()};
    for (int v = 0; v < 4; ++v) {
        const QSignalBlocker blocker(_privacyEdit[area][v]);
        _privacyEdit[area][v]->setText(QString::number(values[v]));
    }
}

void PrivacyMaskPage::editChanged(const QObject* edit, const QString& text) {
    for (int field = 0; edit && field < kAreas * 4; ++field) {
        if (edit != _privacyEdit[field / 4][field % 4])
            continue;
        if (_playWidget)
            _playWidget->setAreaValue(field, pagekit::number(text));
        return;
    }
}

void PrivacyMaskPage::clearArea(const QObject* button) {
    for (int area = 0; area < kAreas; ++area) {
        if (button != _privacyDeleteBtn[area] || !_playWidget)
            continue;
        _playWidget->clearArea(area);
        for (QLineEdit* edit : _privacyEdit[area])
            edit->setText(QStringLiteral("0"));
        return;
    }
}

void PrivacyMaskPage::save() const {
    OZM::_SC_SETPRIVACYMASKINFO_DATA_ info{};
    for (int area = 0; area < kAreas; ++area) {
        OZM::SC_PRIVACY_AREA& a = info.area[area];
        a.x = pagekit::number(_privacyEdit[area][0]->text());
        a.y = pagekit::number(_privacyEdit[area][1]->text());
        a.width = pagekit::number(_privacyEdit[area][2]->text());
        a.height = pagekit::number(_privacyEdit[area][3]->text());
    }
    ozmParamsMgr()->setPrivacyMaskInfo(&info);
}
