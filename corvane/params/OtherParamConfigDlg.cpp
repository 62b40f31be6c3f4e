// The dialog's frame: construction, the page index between tree, stack and check boxes, the
// enable flags and the save sequence.
#include "OtherParamConfigDlg.h"

#include "TcpIpPage.h"
#include "TipDialog.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDebug>
#include <QFrame>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStackedLayout>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

constexpr int kTreeWidth = 200;

} // namespace

OtherParamConfigDlg::OtherParamConfigDlg(QWidget* parent) : OzmDialog(parent) {
    OzmLogic::setMyFixedHeight(this, 760);

    _treeWidget = new MultiTreeWidget(this);
    OzmLogic::setMyFixedWidth(_treeWidget, kTreeWidth);
    connect(_treeWidget, &MultiTreeWidget::configItemChange, this, &OtherParamConfigDlg::onConfigItemChange);

    _saveBtn = new QPushButton(tr("Save"), this);
    _saveBtn->setObjectName("comButton");
    OzmLogic::setMyFixedSize(_saveBtn, QSize(88, 30));
    connect(_saveBtn, &QPushButton::clicked, this, &OtherParamConfigDlg::onSaveParamSlot);

    initNetworkPages();
    initMediaPages();
    initAlarmPages();
    initSystemPages();
    initAudioBoardPages();

    _stackedLayout = new QStackedLayout;
    for (QFrame* frame : _pageFrame)
        _stackedLayout->addWidget(frame);
    _stackedLayout->setCurrentIndex(0);

    auto* topRow = new QHBoxLayout;
    topRow->setSpacing(16);
    topRow->setContentsMargins(16, 20, 16, 0);
    topRow->addWidget(_treeWidget);
    topRow->addLayout(_stackedLayout, 1);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->setSpacing(0);
    bottomRow->setContentsMargins(956, 20, 16, 20);
    bottomRow->addWidget(_saveBtn);
    auto* content = new QVBoxLayout;
    content->setSpacing(0);
    content->setContentsMargins(0, 0, 0, 0);
    content->addLayout(topRow);
    content->addLayout(bottomRow);
    setContentLayout(content);

    for (QCheckBox* check : _enableCheck)
        connect(check, &QCheckBox::clicked, this, &OtherParamConfigDlg::onCheckBoxClicked);
    connectNetworkPages();

    loadOtherParamEnable();
    loadMaintainInfo();
    connectLightBrightness();
    // Loading the flags went through the tree, which may have switched pages.
    _stackedLayout->setCurrentIndex(0);
    loadPrivacyEditor();
}

OtherParamConfigDlg::~OtherParamConfigDlg() {
    // A running address test ends while the pages' widgets still exist.
    _tcpIpPage->abortAddressTest();
}

void OtherParamConfigDlg::closeEvent(QCloseEvent* event) {
    Q_UNUSED(event);
}

void OtherParamConfigDlg::reject() {
    close();
}

QWidget* OtherParamConfigDlg::createPageFrame(int index, const char* contentName) {
    auto* frame = new QFrame(this);
    frame->setObjectName("pageSetFrame");
    auto* layout = new QVBoxLayout(frame);
    layout->setSpacing(8);
    layout->setContentsMargins(0, 10, 0, 0);

    auto* check = new QCheckBox(MultiTreeWidget::enableCaptions().value(index), this);
    check->setObjectName("checkBox");
    auto* checkRow = new QHBoxLayout;
    checkRow->setContentsMargins(4, 0, 0, 0);
    checkRow->addWidget(check);
    checkRow->addStretch();
    layout->addLayout(checkRow);

    auto* content = new QWidget(frame);
    content->setObjectName(contentName);
    layout->addWidget(content, 1);

    _pageFrame[index] = frame;
    _enableCheck[index] = check;
    return content;
}

void OtherParamConfigDlg::initNetworkPages() {
    createTcpIpPage();
    createPortPage();
    createDdnsPage();
    createP2pPage();
    createGb28181Page();
}

void OtherParamConfigDlg::initMediaPages() {
    createVideoPage();
    createAudioPage();
    createOsdPage();
    createImagePage();
    createPrivacyMaskPage();
}

void OtherParamConfigDlg::initAlarmPages() {
    createMotionDetectPage();
}

void OtherParamConfigDlg::initSystemPages() {
    createAccountPage();
    createTimePage();
    createMaintainPage();
}

void OtherParamConfigDlg::initAudioBoardPages() {
    createAudioBoardPage();
}

// ---- tree and check boxes ----------------------------------------------------------------------

void OtherParamConfigDlg::onConfigItemChange(QTreeWidgetItem* item, int column, ACTION_EVENT_TYPE action) {
    qDebug() << "OtherParamConfigDlg onConfigItemChange start";
    if (!item)
        return;
    if (item->childCount() == 0)
        switchConfigPage(item, column);
    else if (action == ACTION_ITEM_CHECKED)
        syncGroupCheckState(item, column);
}

void OtherParamConfigDlg::switchConfigPage(QTreeWidgetItem* item, int column) {
    const int index = MultiTreeWidget::familyTexts().indexOf(item->text(column));
    if (index >= 0 && index < kPageCount) {
        _stackedLayout->setCurrentIndex(index);
        _enableCheck[index]->setChecked(item->checkState(0) == Qt::Checked);
    }
    showPrivacyEditor(_stackedLayout->currentIndex() == OZM::FamilyPrivacyMask);
}

void OtherParamConfigDlg::syncGroupCheckState(QTreeWidgetItem* item, int column) {
    const QString text = item->text(column);
    int first = OZM::FamilyAudioBoard;
    int last = OZM::FamilyAudioBoard;
    if (text == tr("Network Parameters")) {
        first = OZM::FamilyTcpIp;
        last = OZM::FamilyGb28181;
    } else if (text == tr("Media Setting")) {
        first = OZM::FamilyVideo;
        last = OZM::FamilyPrivacyMask;
    } else if (text == tr("Alarm Setting")) {
        first = last = OZM::FamilyMotionDetect;
    } else if (text == tr("System Setting")) {
        first = OZM::FamilyAccount;
        last = OZM::FamilyMaintain;
    }
    const bool checked = item->checkState(0) == Qt::Checked;
    for (int i = first; i <= last; ++i)
        _enableCheck[i]->setChecked(checked);
}

void OtherParamConfigDlg::onCheckBoxClicked() {
    auto* check = qobject_cast<QCheckBox*>(sender());
    if (!check)
        return;
    qDebug() << "onCheckBoxClicked" << check->text();
    disconnect(check, &QCheckBox::clicked, this, &OtherParamConfigDlg::onCheckBoxClicked);
    const Qt::CheckState state = check->checkState();
    if (state == Qt::Checked || state == Qt::Unchecked)
        _treeWidget->onCheckBoxStateChange(check->text(), state);
    connect(check, &QCheckBox::clicked, this, &OtherParamConfigDlg::onCheckBoxClicked);
}

// ---- enable flags and saving -------------------------------------------------------------------

void OtherParamConfigDlg::loadOtherParamEnable() {
    _otherParamEnable = OZM::SC_OTHERPARAMENABLE{};
    ozmParamsMgr()->getOtherParamEnable(&_otherParamEnable);
    for (int i = 0; i < kPageCount; ++i) {
        // Only 1 is on, as the run applies it: any other stored value shows unchecked.
        _enableCheck[i]->setChecked(_otherParamEnable.flag[i] == 1);
        emit _enableCheck[i]->clicked(false);
    }
}

void OtherParamConfigDlg::saveOtherParamEnable() {
    _otherParamEnable = OZM::SC_OTHERPARAMENABLE{};
    for (int i = 0; i < kPageCount; ++i)
        _otherParamEnable.flag[i] = _enableCheck[i]->isChecked() ? 1 : 0;
    ozmParamsMgr()->setOtherParamEnable(&_otherParamEnable);
}

void OtherParamConfigDlg::revealField(QWidget* field) {
    for (int i = 0; i < kPageCount; ++i) {
        if (!_pageFrame[i]->isAncestorOf(field))
            continue;
        _stackedLayout->setCurrentIndex(i);
        showPrivacyEditor(i == OZM::FamilyPrivacyMask);
        if (QTreeWidgetItem* item = _treeWidget->familyItem(i))
            _treeWidget->treeWidget()->setCurrentItem(item);
        field->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void OtherParamConfigDlg::showWarningTip(const QString& text, QWidget* field) {
    if (field)
        revealField(field);
    TipDialog::showWarning(text);
}

void OtherParamConfigDlg::onSaveParamSlot() {
    saveOtherParamEnable();
    if (!saveTcpIpInfo())
        return;
    if (!savePortParamInfo())
        return;
    if (_enableCheck[OZM::FamilyDdns]->isChecked() && !saveDDNSInfo())
        return;
    saveP2PInfo();
    if (_enableCheck[OZM::FamilyGb28181]->isChecked() && !saveGb28181Info())
        return;
    if (!savePrivacyMaskInfo())
        return;
    if (!saveMotionDetectInfo())
        return;
    saveVideoInfo();
    saveAudioInfo();
    saveOsdInfo();
    saveImageInfo();
    if (_enableCheck[OZM::FamilyTime]->isChecked() && !saveTimeInfo())
        return;
    if (_enableCheck[OZM::FamilyAccount]->isChecked() && !saveAccountInfo())
        return;
    saveMaintainInfo();
    saveAudioBoard();

    // Every store call rewrites the whole file, so the last write tells whether all of it is on
    // disk.
    if (!ozmParamsMgr()->lastSaveOk()) {
        showWarningTip(tr("Save Failed! The settings could not be written."));
        return;
    }
    TipDialog::showSuccess(tr("Save Success!"));
}
