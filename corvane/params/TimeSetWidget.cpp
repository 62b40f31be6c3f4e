// TimeSetWidget: construction of the three sections.
#include "TimeSetWidget.h"

#include "ParamPageUtil.h"
#include "ozmlogic/OzmLogic.h"
#include "winport/WinPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char* const kZones[49] = {
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-12 Eniwetok, Kwajalein"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-11.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-11 Midway Island, Samoa"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-10.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-10 Hawaii"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-9.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-09 Alaska"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-8.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-08 Pacific Time (US & Canada), Tijuana"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-7.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-07 Mountain Time (US & Canada), Arizona"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-6.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget",
                      "GMT-06 Central Time (US & Canada), Mexico City, Tegucigalpa, Saskatchewan"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-5.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-05 Eastern Time (US & Canada), Indiana(East), Bogota, Lima"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-4.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-04 Atlantic Time (Canada), Caracas, La Paz"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-3.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-03 Brasilia, Buenos Aires, Georgetown"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-2.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-02 Mid-Atlantic"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-1.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-01 Azores, Cape Verdes Is."),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT-0.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+00 Dublin, Edinburgh, London, Lisbon, Monrovia, Casablanca"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+0.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget",
                      "GMT+01 Berlin, Stockholm, Rome, Bern, Brussels, Vienna, Paris, Madrid, "
                      "Amsterdam, Prague, Warsaw, Budapest"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+1.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget",
                      "GMT+02 Athens, Helsinki, Istanbul, Cairo, Eastern Europe, Harare, Pretoria, Israel"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+2.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget",
                      "GMT+03 Baghdad, Kuwait, Nairobi, Riyadh, Moscow, St. Petersburg, Kazan, Volgograd"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+3.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+04 Abu Dhabi, Muscat, Tbilisi"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+4.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+05 Islamabad, Karachi, Ekaterinburg, Tashkent"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+5.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+06 Alma Ata, Dhaka"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+6.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+07 Bangkok, Jakarta, Hanoi"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+7.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget",
                      "GMT+08 Taipei, Beijing, Chongqing, Urumqi, Hong Kong, Perth, Singapore"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+8.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+09 Tokyo, Osaka, Sapporo, Seoul, Yakutsk"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+9.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget",
                      "GMT+10 Brisbane, Melbourne, Sydney, Guam, Port Moresby, Vladivostok, Hobart"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+10.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+11 Magadan, Solomon Is., New Caledonia"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+11.5"),
    QT_TRANSLATE_NOOP("TimeSetWidget", "GMT+12 Fiji, Kamchatka, Marshall Is., Wellington, Auckland"),
};

QHBoxLayout* row(QVBoxLayout* column) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(8);
    layout->setContentsMargins(0, 0, 0, 0);
    column->addLayout(layout);
    return layout;
}

} // namespace

QStringList TimeSetWidget::presetServers() {
    return {"pool.ntp.org", "0.pool.ntp.org", "1.pool.ntp.org", "2.pool.ntp.org", "3.pool.ntp.org"};
}

TimeSetWidget::TimeSetWidget(QWidget* parent) : QWidget(parent) {
    createZoneAndMethod();
    createUpdatePages();
    createSummerTime();

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 30, 0, 0);
    layout->addWidget(m_topWidget);
    layout->addWidget(m_midWidget);
    layout->addWidget(m_bottomWidget);
    layout->addStretch();

    connect(m_methodCombo, SIGNAL(currentIndexChanged(int)), this, SLOT(onUpdateMethodChange(int)));
    connect(m_serverCombo, SIGNAL(currentIndexChanged(int)), this, SLOT(onSntpSeverComboBoxChange(int)));
    connect(m_autoSyncCombo, SIGNAL(currentIndexChanged(int)), this, SLOT(onNtpAutoSyncComboBox(int)));
    connect(m_summerCheck, SIGNAL(clicked()), this, SLOT(onCheckBoxClicked()));

    loadTimeInfo();

    // The clock line shows the PC's time from the start, not only after the first tick.
    onUpdateTime();
    m_clockTimer = new QTimer(this);
    connect(m_clockTimer, SIGNAL(timeout()), this, SLOT(onUpdateTime()));
    m_clockTimer->start(winport::timerInterval(1000));
}

TimeSetWidget::~TimeSetWidget() {
    if (m_clockTimer != nullptr) {
        m_clockTimer->stop();
        delete m_clockTimer;
        m_clockTimer = nullptr;
    }
}

QLabel* TimeSetWidget::makeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName("timeSettingLabel");
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OzmLogic::setMyFixedSize(label, 176, 22);
    return label;
}

QComboBox* TimeSetWidget::makeCombo(const QStringList& items, QWidget* parent, int width) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName("timeComboBox");
    pageutil::usePopupList(combo);
    combo->addItems(items);
    OzmLogic::setMyFixedSize(combo, width, 30);
    return combo;
}

QList<QWidget*> TimeSetWidget::summerControls() const {
    return {m_startMonth, m_startWeek,  m_startWeekday, m_startHour,  m_endMonth,
            m_endWeek,    m_endWeekday, m_endHour,      m_offsetCombo};
}

void TimeSetWidget::createZoneAndMethod() {
    m_topWidget = new QWidget(this);
    m_topWidget->setObjectName("topWidget");
    OzmLogic::setMyFixedHeight(m_topWidget, 154);
    auto* column = new QVBoxLayout(m_topWidget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    m_zoneLabel = makeLabel(tr("Time Zone:"), m_topWidget);
    QStringList zones;
    for (const char* zone : kZones)
        zones << tr(zone);
    m_zoneCombo = makeCombo(zones, m_topWidget, 294);
    m_zoneCombo->setStyleSheet(
        "QComboBox{height:30px;width:294px}QAbstractItemView{min-height:30px;min-width:770px}");
    m_zoneCombo->setCurrentIndex(0);
    QHBoxLayout* zone = row(column);
    zone->addWidget(m_zoneLabel);
    zone->addWidget(m_zoneCombo);
    zone->addStretch();

    m_nvrCheck = new QCheckBox(tr("NVR Prohibit Modification IPC Time"), m_topWidget);
    m_nvrCheck->setObjectName("timeCheckBox");
    QHBoxLayout* nvr = row(column);
    nvr->addSpacing(184);
    nvr->addWidget(m_nvrCheck);
    nvr->addStretch();

    m_splitLine = new QFrame(m_topWidget);
    m_splitLine->setObjectName("timeSplitLine");
    m_splitLine->setFrameShape(QFrame::HLine);
    OzmLogic::setMyFixedSize(m_splitLine, 782, 1);
    column->addWidget(m_splitLine);

    m_methodLabel = makeLabel(tr("Update Method:"), m_topWidget);
    m_methodCombo =
        makeCombo({tr("NTP Time Calibration "), tr("Manual Correction "), tr("Synchronize With Computer ")},
                  m_topWidget, 294);
    QHBoxLayout* method = row(column);
    method->addWidget(m_methodLabel);
    method->addWidget(m_methodCombo);
    method->addStretch();
}

void TimeSetWidget::createUpdatePages() {
    m_midWidget = new QWidget(this);
    m_midWidget->setObjectName("midWidget");
    OzmLogic::setMyFixedHeight(m_midWidget, 212);
    m_midStack = new QStackedLayout(m_midWidget);

    // NTP frame: server list and name, automatic sync and its interval.
    m_ntpFrame = new QFrame(m_midWidget);
    m_ntpFrame->setObjectName("ntpSetFrame");
    auto* ntp = new QVBoxLayout(m_ntpFrame);
    ntp->setContentsMargins(0, 20, 0, 0);
    ntp->setSpacing(12);
    m_serverLabel = makeLabel(tr("SNTP Server:"), m_ntpFrame);
    QStringList servers = presetServers();
    servers << tr("Customize");
    m_serverCombo = makeCombo(servers, m_ntpFrame, 294);
    m_serverCombo->setCurrentIndex(0);
    QHBoxLayout* server = row(ntp);
    server->addWidget(m_serverLabel);
    server->addWidget(m_serverCombo);
    server->addStretch();
    m_serverEdit = new QLineEdit(servers.first(), m_ntpFrame);
    m_serverEdit->setObjectName("timeLineEdit");
    m_serverEdit->setMaxLength(kServerNameMax);
    m_serverEdit->setEnabled(false);
    OzmLogic::setMyFixedSize(m_serverEdit, 294, 30);
    QHBoxLayout* name = row(ntp);
    name->addSpacing(184);
    name->addWidget(m_serverEdit);
    name->addStretch();
    m_autoSyncLabel = makeLabel(tr("NTP Auto Time Sync:"), m_ntpFrame);
    m_autoSyncCombo = makeCombo({tr("On"), tr("Off")}, m_ntpFrame, 294);
    QHBoxLayout* autoSync = row(ntp);
    autoSync->addWidget(m_autoSyncLabel);
    autoSync->addWidget(m_autoSyncCombo);
    autoSync->addStretch();
    m_intervalLabel = makeLabel(tr("Time Interval:"), m_ntpFrame);
    m_intervalEdit = new QLineEdit(m_ntpFrame);
    m_intervalEdit->setObjectName("timeLineEdit");
    m_intervalEdit->setValidator(new QIntValidator(kIntervalMin, kIntervalMax, m_intervalEdit));
    OzmLogic::setMyFixedSize(m_intervalEdit, 294, 30);
    m_unitLabel = new QLabel(tr("Minute"), m_ntpFrame);
    m_unitLabel->setObjectName("timeSettingLabel");
    QHBoxLayout* interval = row(ntp);
    interval->addWidget(m_intervalLabel);
    interval->addWidget(m_intervalEdit);
    interval->addWidget(m_unitLabel);
    interval->addStretch();
    ntp->addStretch();

    // Manual frame: the date and time to set.
    m_manualFrame = new QFrame(m_midWidget);
    m_manualFrame->setObjectName("manualSetFrame");
    auto* manual = new QVBoxLayout(m_manualFrame);
    manual->setContentsMargins(0, 20, 0, 0);
    m_setTimeLabel = makeLabel(tr("Set Time:"), m_manualFrame);
    m_setTimeEdit = new QDateTimeEdit(QDateTime::currentDateTime(), m_manualFrame);
    m_setTimeEdit->setDisplayFormat("yyyy-MM-dd HH:mm:ss");
    OzmLogic::setMyFixedSize(m_setTimeEdit, 220, 30);
    QHBoxLayout* setTime = row(manual);
    setTime->addWidget(m_setTimeLabel);
    setTime->addWidget(m_setTimeEdit);
    setTime->addStretch();
    manual->addStretch();

    // Computer frame: the PC's clock, read only.
    m_computerFrame = new QFrame(m_midWidget);
    m_computerFrame->setObjectName("syncComputerSetFrame");
    auto* computer = new QVBoxLayout(m_computerFrame);
    computer->setContentsMargins(0, 20, 0, 0);
    m_computerTimeLabel = makeLabel(tr("Computer Time:"), m_computerFrame);
    m_computerTimeEdit = new QLineEdit(m_computerFrame);
    m_computerTimeEdit->setObjectName("timeLineEdit");
    m_computerTimeEdit->setEnabled(false);
    OzmLogic::setMyFixedSize(m_computerTimeEdit, 294, 30);
    QHBoxLayout* pcTime = row(computer);
    pcTime->addWidget(m_computerTimeLabel);
    pcTime->addWidget(m_computerTimeEdit);
    pcTime->addStretch();
    computer->addStretch();

    m_midStack->addWidget(m_ntpFrame);
    m_midStack->addWidget(m_manualFrame);
    m_midStack->addWidget(m_computerFrame);
    m_midStack->setCurrentIndex(0);
}

void TimeSetWidget::createSummerTime() {
    m_bottomWidget = new QWidget(this);
    m_bottomWidget->setObjectName("bottomWidget");
    OzmLogic::setMyFixedHeight(m_bottomWidget, 168);
    auto* column = new QVBoxLayout(m_bottomWidget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    m_summerCheck = new QCheckBox(tr("Enable Summer Time"), m_bottomWidget);
    m_summerCheck->setObjectName("timeCheckBox");
    QHBoxLayout* check = row(column);
    check->addSpacing(184);
    check->addWidget(m_summerCheck);
    check->addStretch();

    const QStringList months = {tr("Jan"), tr("Feb"), tr("Mar"), tr("Apr"), tr("May"), tr("Jun"),
                                tr("Jul"), tr("Aug"), tr("Sep"), tr("Oct"), tr("Nov"), tr("Dec")};
    const QStringList weeks = {tr("First"), tr("Second"), tr("Third"), tr("Fourth"), tr("The End")};
    const QStringList weekdays = {tr("Sun"), tr("Mon"), tr("Tue"), tr("Wed"),
                                  tr("Thu"), tr("Fri"), tr("Sat")};

    auto makeHour = [this]() {
        auto* edit = new QDateTimeEdit(QDateTime::currentDateTime(), m_bottomWidget);
        edit->setDisplayFormat("HH");
        OzmLogic::setMyFixedSize(edit, 100, 30);
        return edit;
    };

    m_startLabel = makeLabel(tr("Summer Time Start:"), m_bottomWidget);
    m_startMonth = makeCombo(months, m_bottomWidget, 90);
    m_startWeek = makeCombo(weeks, m_bottomWidget, 90);
    m_startWeekday = makeCombo(weekdays, m_bottomWidget, 90);
    m_startHour = makeHour();
    QHBoxLayout* start = row(column);
    for (QWidget* w : std::initializer_list<QWidget*>{m_startLabel, m_startMonth, m_startWeek, m_startWeekday,
                                                      m_startHour})
        start->addWidget(w);
    start->addStretch();

    m_endLabel = makeLabel(tr("Summer Time End:"), m_bottomWidget);
    m_endMonth = makeCombo(months, m_bottomWidget, 90);
    m_endWeek = makeCombo(weeks, m_bottomWidget, 90);
    m_endWeekday = makeCombo(weekdays, m_bottomWidget, 90);
    m_endWeekday->setObjectName("comboBox");
    m_endHour = makeHour();
    QHBoxLayout* end = row(column);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_endLabel, m_endMonth, m_endWeek, m_endWeekday, m_endHour})
        end->addWidget(w);
    end->addStretch();

    m_offsetLabel = makeLabel(tr("Summer Time Offset:"), m_bottomWidget);
    m_offsetCombo =
        makeCombo({tr("30 mins"), tr("60 mins"), tr("90 mins"), tr("120 mins")}, m_bottomWidget, 185);
    QHBoxLayout* offset = row(column);
    offset->addWidget(m_offsetLabel);
    offset->addWidget(m_offsetCombo);
    offset->addStretch();
}
