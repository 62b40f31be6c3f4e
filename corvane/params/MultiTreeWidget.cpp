#include "MultiTreeWidget.h"

#include "ozmlogic/OzmLogic.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const Qt::ItemFlags kItemFlags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;

} // namespace

MultiTreeWidget::MultiTreeWidget(QWidget* parent) : QWidget(parent) {
    qRegisterMetaType<ACTION_EVENT_TYPE>("ACTION_EVENT_TYPE");
    initTree();
    connect(_tree, &QTreeWidget::itemChanged, this, &MultiTreeWidget::onTreeItemChanged);
    connect(_tree, &QTreeWidget::itemPressed, this, &MultiTreeWidget::onTreeItemPressed);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_tree);
}

MultiTreeWidget::~MultiTreeWidget() = default;

QStringList MultiTreeWidget::familyTexts() {
    return {tr("TCP/IP Setting"),  tr("Port Setting"),     tr("DDNS Setting"),     tr("P2P Setting"),
            tr("GB28181 Setting"), tr("Video Setting"),    tr("Audio Setting"),    tr("OSD Setting"),
            tr("Image Setting"),   tr("Privacy Mask"),     tr("Motion Alarm"),     tr("Account Manage"),
            tr("Time Setting"),    tr("Regular Maintain"), tr("Audio Lgtboard In")};
}

QStringList MultiTreeWidget::enableCaptions() {
    return {tr("Setting TCP/IP"),
            tr("Setting Port"),
            tr("Setting DDNS"),
            tr("Setting P2P"),
            tr("Setting GB28181"),
            tr("Setting Video"),
            tr("Setting Audio"),
            tr("Setting OSD"),
            tr("Setting Image"),
            tr("Setting Privacy Mask"),
            tr("Setting Motion Detect"),
            tr("Setting Account Manage"),
            tr("Setting Time"),
            tr("Setting Regular Maintain"),
            tr("Setting The Audio Board In")};
}

void MultiTreeWidget::initTree() {
    _tree = new QTreeWidget(this);
    _tree->clear();
    _tree->header()->setVisible(false);
    _tree->setColumnCount(1);
    OzmLogic::setMyFontNormal(_tree);

    QTreeWidgetItem* group = nullptr;
    auto make = [&](const QString& text, bool isGroup) {
        auto* item = isGroup ? new QTreeWidgetItem(_tree) : new QTreeWidgetItem(group);
        item->setText(0, text);
        item->setFlags(kItemFlags);
        item->setCheckState(0, Qt::Unchecked);
        if (isGroup)
            group = item;
        return item;
    };
    const QStringList families = familyTexts();
    _networkItem = make(tr("Network Parameters"), true);
    _tcpIpItem = make(families[0], false);
    _portItem = make(families[1], false);
    _ddnsItem = make(families[2], false);
    _p2pItem = make(families[3], false);
    _gb28181Item = make(families[4], false);
    _mediaItem = make(tr("Media Setting"), true);
    _videoItem = make(families[5], false);
    _audioItem = make(families[6], false);
    _osdItem = make(families[7], false);
    _imageItem = make(families[8], false);
    _privacyItem = make(families[9], false);
    _alarmItem = make(tr("Alarm Setting"), true);
    _motionItem = make(families[10], false);
    _systemItem = make(tr("System Setting"), true);
    _accountItem = make(families[11], false);
    _timeItem = make(families[12], false);
    _maintainItem = make(families[13], false);
    _hardwareItem = make(tr("Hardware Setting"), true);
    _audioBoardItem = make(families[14], false);
    _tree->expandAll();
}

QTreeWidgetItem* MultiTreeWidget::familyItem(int index) const {
    QTreeWidgetItem* const items[kFamilyCount] = {_tcpIpItem,   _portItem,     _ddnsItem,      _p2pItem,
                                                  _gb28181Item, _videoItem,    _audioItem,     _osdItem,
                                                  _imageItem,   _privacyItem,  _motionItem,    _accountItem,
                                                  _timeItem,    _maintainItem, _audioBoardItem};
    return index >= 0 && index < kFamilyCount ? items[index] : nullptr;
}

void MultiTreeWidget::updateParentCheckState(QTreeWidgetItem* item) {
    for (QTreeWidgetItem* parent = item ? item->parent() : nullptr; parent; parent = parent->parent()) {
        int marked = 0;
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i)->checkState(0) != Qt::Unchecked)
                ++marked;
        }
        if (marked == 0)
            parent->setCheckState(0, Qt::Unchecked);
        else if (marked == parent->childCount())
            parent->setCheckState(0, Qt::Checked);
    }
}

void MultiTreeWidget::onTreeItemChanged(QTreeWidgetItem* item, int column) {
    if (!item)
        return;
    disconnect(_tree, &QTreeWidget::itemChanged, this, &MultiTreeWidget::onTreeItemChanged);
    const Qt::CheckState state = item->checkState(0);
    if (state == Qt::Checked || state == Qt::Unchecked) {
        if (item->childCount() > 0) {
            for (int i = 0; i < item->childCount(); ++i)
                item->child(i)->setCheckState(0, state);
        } else {
            updateParentCheckState(item);
        }
    }
    connect(_tree, &QTreeWidget::itemChanged, this, &MultiTreeWidget::onTreeItemChanged);
    emit configItemChange(item, column, ACTION_ITEM_CHECKED);
}

void MultiTreeWidget::onTreeItemPressed(QTreeWidgetItem* item, int column) {
    emit configItemChange(item, column, ACTION_ITEM_PRESSED);
}

void MultiTreeWidget::onCheckBoxStateChange(QString text, Qt::CheckState state) {
    const int index = enableCaptions().indexOf(text);
    if (QTreeWidgetItem* item = familyItem(index))
        item->setCheckState(0, state);
}
