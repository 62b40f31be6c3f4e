// MotionDetectSetWidget: the two tabs, loading and the buttons.
#include "MotionDetectSetWidget.h"

#include "AreaWndWidget.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CScheduleSet.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <cstring>

namespace {

QPushButton* makeButton(const QString& text, QWidget* parent, const char* name, int width, int height) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    OzmLogic::setMyFixedSize(button, width, height);
    return button;
}

} // namespace

MotionDetectSetWidget::MotionDetectSetWidget(QWidget* parent) : QWidget(parent) {
    m_regionActive = false;
    m_armingActive = false;
    m_areaWidget = nullptr;
    initUi();
    for (QPushButton* button : {m_regionSelectAll, m_regionCleanAll, m_armingSelectAll, m_armingCleanAll})
        connect(button, SIGNAL(clicked()), this, SLOT(onBtnClicked()));
    loadMotionDetect();
}

MotionDetectSetWidget::~MotionDetectSetWidget() = default;

void MotionDetectSetWidget::initUi() {
    m_topWidget = new QWidget(this);
    m_topWidget->setObjectName("mdTopWidget");
    OzmLogic::setMyFixedSize(m_topWidget, 814, 32);
    m_regionButton = makeButton(tr("Region"), m_topWidget, "mdPushButton", 56, 20);
    m_armingButton = makeButton(tr("Arming"), m_topWidget, "mdPushButton", 56, 20);
    m_enableCheck = new QCheckBox(tr("Enable"), m_topWidget);
    m_enableCheck->setObjectName("checkBox");
    m_regionMarker = new QLabel(m_topWidget);
    m_regionMarker->setObjectName("mdLabel");
    OzmLogic::setMyFixedSize(m_regionMarker, 56, 3);
    m_armingMarker = new QLabel(m_topWidget);
    m_armingMarker->setObjectName("mdLabel");
    OzmLogic::setMyFixedSize(m_armingMarker, 56, 3);
    m_splitLine = new QFrame(m_topWidget);
    m_splitLine->setObjectName("mdSplitLine");
    m_splitLine->setFrameShape(QFrame::HLine);
    OzmLogic::setMyFixedSize(m_splitLine, 782, 1);

    auto* top = new QVBoxLayout(m_topWidget);
    top->setContentsMargins(16, 0, 16, 0);
    top->setSpacing(2);
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(0);
    tabs->addWidget(m_regionButton);
    tabs->addWidget(m_armingButton);
    tabs->addSpacing(566);
    tabs->addWidget(m_enableCheck);
    tabs->addStretch();
    top->addLayout(tabs);
    auto* markers = new QHBoxLayout;
    markers->setSpacing(0);
    markers->addWidget(m_regionMarker);
    markers->addWidget(m_armingMarker);
    markers->addStretch();
    top->addLayout(markers);
    top->addWidget(m_splitLine);

    m_bottomWidget = new QWidget(this);
    m_bottomWidget->setObjectName("mdBottomWidget");
    OzmLogic::setMyFixedSize(m_bottomWidget, 814, 569);
    m_pages = new QStackedLayout(m_bottomWidget);
    m_pages->addWidget(createRegionPage());
    m_pages->addWidget(createArmingPage());

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_topWidget);
    layout->addWidget(m_bottomWidget);

    connect(m_regionButton, SIGNAL(clicked()), this, SLOT(onAreaSetBtnClicked()));
    connect(m_armingButton, SIGNAL(clicked()), this, SLOT(onArmingTimeBtnClicked()));
    m_armingButton->click();
}

QWidget* MotionDetectSetWidget::createRegionPage() {
    auto* page = new QWidget(m_bottomWidget);
    m_regionSelectAll = makeButton(tr("Select All"), page, "mdNomalPushButton", 88, 30);
    m_regionCleanAll = makeButton(tr("Clean All"), page, "mdNomalPushButton", 88, 30);
    m_sensitivityLabel = new QLabel(tr("Sensitive"), page);
    m_sensitivityLabel->setObjectName("mdNomalLabel");
    m_sensitivityLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OzmLogic::setMyFixedSize(m_sensitivityLabel, 156, 20);
    m_sensitivitySlider = new QSlider(Qt::Horizontal, page);
    m_sensitivitySlider->setRange(0, 10);
    m_sensitivitySlider->setSingleStep(1);
    OzmLogic::setMyFixedWidth(m_sensitivitySlider, 200);
    m_sensitivityBox = new QSpinBox(page);
    m_sensitivityBox->setRange(0, 10);
    m_sensitivityBox->setSingleStep(1);
    OzmLogic::setMyFixedSize(m_sensitivityBox, 60, 30);
    connect(m_sensitivityBox, SIGNAL(valueChanged(int)), m_sensitivitySlider, SLOT(setValue(int)));
    connect(m_sensitivitySlider, SIGNAL(valueChanged(int)), m_sensitivityBox, SLOT(setValue(int)));
    m_areaWidget = new AreaWndWidget(page);
    m_areaWidget->setObjectName("playWidget");

    auto* column = new QVBoxLayout(page);
    column->setSpacing(19);
    column->setContentsMargins(0, 30, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->setContentsMargins(100, 0, 0, 0);
    buttons->addWidget(m_regionSelectAll);
    buttons->addWidget(m_regionCleanAll);
    buttons->addStretch();
    column->addLayout(buttons);
    auto* sensitivity = new QHBoxLayout;
    sensitivity->setSpacing(0);
    sensitivity->addWidget(m_sensitivityLabel);
    sensitivity->addSpacing(8);
    sensitivity->addWidget(m_sensitivitySlider);
    sensitivity->addSpacing(8);
    sensitivity->addWidget(m_sensitivityBox);
    sensitivity->addStretch();
    column->addLayout(sensitivity);
    auto* grid = new QHBoxLayout;
    grid->setContentsMargins(155, 0, 0, 0);
    grid->addWidget(m_areaWidget);
    grid->addStretch();
    column->addLayout(grid);
    column->addStretch();
    return page;
}

QWidget* MotionDetectSetWidget::createArmingPage() {
    auto* page = new QWidget(m_bottomWidget);
    m_armingSelectAll = makeButton(tr("Select All"), page, "mdNomalPushButton", 88, 30);
    m_armingCleanAll = makeButton(tr("Clean All"), page, "mdNomalPushButton", 88, 30);
    m_scheduleSet = new CScheduleSet(this);
    OzmLogic::setMyFixedSize(m_scheduleSet, 726, 400);

    auto* column = new QVBoxLayout(page);
    column->setSpacing(35);
    column->setContentsMargins(0, 30, 0, 0);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->setContentsMargins(100, 0, 0, 0);
    buttons->addWidget(m_armingSelectAll);
    buttons->addWidget(m_armingCleanAll);
    buttons->addStretch();
    column->addLayout(buttons);
    auto* schedule = new QHBoxLayout;
    schedule->setContentsMargins(44, 0, 0, 0);
    schedule->addWidget(m_scheduleSet);
    schedule->addStretch();
    column->addLayout(schedule);
    column->addStretch();
    return page;
}

void MotionDetectSetWidget::loadMotionDetect() {
    OZM::_SC_ALARM_DATA_ info;
    std::memset(&info, 0, sizeof info);
    ozmParamsMgr()->getAlarmInfo(&info);
    if (m_areaWidget != nullptr)
        AreaMaskToGrid(m_areaWidget, &info);
    m_sensitivityBox->setValue(info.sensitivity);
    m_enableCheck->setChecked(info.enable != 0);
    if (m_scheduleSet != nullptr)
        m_scheduleSet->setSchedule(&info);
}

void MotionDetectSetWidget::onAreaSetBtnClicked() {
    if (m_regionActive)
        return;
    m_regionMarker->setStyleSheet("background: #006AFE;");
    m_armingMarker->setStyleSheet("background: transparent;");
    m_pages->setCurrentIndex(0);
    m_regionActive = true;
    m_armingActive = false;
}

void MotionDetectSetWidget::onArmingTimeBtnClicked() {
    if (m_armingActive)
        return;
    m_regionMarker->setStyleSheet("background: transparent;");
    m_armingMarker->setStyleSheet("background: #006AFE;");
    m_pages->setCurrentIndex(1);
    m_armingActive = true;
    m_regionActive = false;
}

void MotionDetectSetWidget::onBtnClicked() {
    QObject* from = sender();
    if (from == nullptr)
        return;
    if (from == m_regionSelectAll) {
        if (m_areaWidget != nullptr)
            m_areaWidget->selectAll();
    } else if (from == m_regionCleanAll) {
        if (m_areaWidget != nullptr)
            m_areaWidget->clearAll();
    } else if (from == m_armingSelectAll) {
        if (m_scheduleSet != nullptr)
            m_scheduleSet->selectAll();
    } else if (from == m_armingCleanAll) {
        if (m_scheduleSet != nullptr)
            m_scheduleSet->clearAll();
    }
}
