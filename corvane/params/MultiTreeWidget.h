// The checkable tree of parameter families: five groups with their fifteen families. Keeps the
// check states of groups and families in step and reports presses and check changes.
#pragma once

#include <QString>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

enum ACTION_EVENT_TYPE {
    ACTION_ITEM_PRESSED = 0,
    ACTION_ITEM_CHECKED = 1,
};

class MultiTreeWidget : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFamilyCount = 15;

    explicit MultiTreeWidget(QWidget* parent = nullptr);
    ~MultiTreeWidget() override;

    QTreeWidget* treeWidget() const { return _tree; }
    // The family item of a page index 0..14 (null outside).
    QTreeWidgetItem* familyItem(int index) const;

    // The translated texts the dialog matches on, in page-index order.
    static QStringList familyTexts();
    static QStringList enableCaptions();

signals:
    void configItemChange(QTreeWidgetItem* item, int column, ACTION_EVENT_TYPE action);

public slots:
    void onTreeItemChanged(QTreeWidgetItem* item, int column);
    void onTreeItemPressed(QTreeWidgetItem* item, int column);
    void onCheckBoxStateChange(QString text, Qt::CheckState state);

private:
    void initTree();
    void updateParentCheckState(QTreeWidgetItem* item);

    QTreeWidget* _tree = nullptr;
    QTreeWidgetItem* _networkItem = nullptr;
    QTreeWidgetItem* _tcpIpItem = nullptr;
    QTreeWidgetItem* _portItem = nullptr;
    QTreeWidgetItem* _ddnsItem = nullptr;
    QTreeWidgetItem* _p2pItem = nullptr;
    QTreeWidgetItem* _gb28181Item = nullptr;
    QTreeWidgetItem* _mediaItem = nullptr;
    QTreeWidgetItem* _videoItem = nullptr;
    QTreeWidgetItem* _audioItem = nullptr;
    QTreeWidgetItem* _osdItem = nullptr;
    QTreeWidgetItem* _imageItem = nullptr;
    QTreeWidgetItem* _privacyItem = nullptr;
    QTreeWidgetItem* _alarmItem = nullptr;
    QTreeWidgetItem* _motionItem = nullptr;
    QTreeWidgetItem* _systemItem = nullptr;
    QTreeWidgetItem* _accountItem = nullptr;
    QTreeWidgetItem* _timeItem = nullptr;
    QTreeWidgetItem* _maintainItem = nullptr;
    QTreeWidgetItem* _hardwareItem = nullptr;
    QTreeWidgetItem* _audioBoardItem = nullptr;
};

Q_DECLARE_METATYPE(ACTION_EVENT_TYPE)
