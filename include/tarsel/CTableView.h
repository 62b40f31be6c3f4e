// The device table: one row of nineteen texts per device with a check box in column 0, a
// check-all box in the header, a right-click menu (browser, QR code) and notification
// handling that shows names and status texts in the device's row.
#pragma once

#include "ozmlogic/IClientUiElement.h"

#include <QStringList>
#include <QTableView>
#include <QVector>

#include <functional>

class CTableModel;
class QAction;
class QMenu;

class CTableView : public QTableView, public IClientUiElement {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 19;
    // Columns of a device row the table itself writes to.
    enum Column {
        ColIp = 1,
        ColFullNetcom = 2,
        ColNetcomFlag = 3,
        ColName = 4,
        ColStatus = 6,
        ColSerial = 7,
        ColMac = 8,
        ColHttpPort = 12,
        ColRtspPort = 13,
        ColDhcp = 15,
        ColUser = 17,
        ColPassword = 18,
    };
    // First argument of update_checkstate.
    enum CheckState {
        RowCheckChanged = 0, // a row's box changed
        CheckAllChanged = 1, // the header box or setIsCheckAll changed every row
        TableCleared = 2,    // the table was emptied: no row is checked any more
    };

    explicit CTableView(QWidget* parent = nullptr);
    ~CTableView() override;

    // Appends a device row (shorter rows are padded, longer ones cut to ColumnCount).
    void addRow(const QStringList& row);
    // The text of one cell; an invalid QVariant outside the table.
    QVariant getData(int row, int column) const;
    QStringList rowData(int row) const;
    int rowCount() const;
    // Whether a row shows this IP address and MAC address (exact, case-sensitive); constant time.
    bool containsDevice(const QString& ip, const QString& mac) const;
    // Removes every row, unchecks the header box and reports it.
    void clear();
    // Checks or unchecks every row and the header box.
    void setIsCheckAll(bool checked);
    bool isCheckAll() const;
    // Removes the first row whose MAC column equals mac.
    void removeData(const QString& mac);

    bool isRowChecked(int row) const;
    void setRowChecked(int row, bool checked);
    QVector<QStringList> checkedRows() const;

    // Row the last right-click menu was opened on (-1: none or since removed).
    int menuRow() const { return _menuRow; }
    QStringList menuRowData() const { return rowData(_menuRow); }
    // Row of the last left double-click (-1: none).
    int doubleClickedRow() const { return _doubleClickedRow; }
    QStringList doubleClickedRowData() const { return rowData(_doubleClickedRow); }

    QMenu* contextMenu() const { return _menu; }
    QAction* browserAction() const { return _browserAction; }
    QAction* qrcodeAction() const { return _qrcodeAction; }

    // What the cells show for their stored texts (for example a translation of known status
    // texts); getData, rowData and the signals keep the stored texts.
    void setDisplayText(std::function<QString(int column, const QString& text)> display);

    // Applies a notification to the row of its MAC. Safe on any thread: the message is
    // copied and applied on the table's thread in the order of arrival. Malformed messages
    // (no data, too few texts) are ignored.
    void setNotify(const OZM::_NOTIFY_PARAM* param) override;

signals:
    void update_checkstate(int state, QVector<QStringList> rows);
    void updateCount(int count);
    void onOpenTheDeviceBrowser();
    void onViewDeviceQRcode();
    void leftdoubleClicked(int row);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void applyNotify(int type, const QStringList& texts);
    void onHeaderClicked(int section);
    void onRowCheckToggled(int row, bool checked);
    void onContextMenu(const QPoint& pos);
    void emitCheckState(int state);

    CTableModel* _model;
    QMenu* _menu;
    QAction* _browserAction;
    QAction* _qrcodeAction;
    int _menuRow = -1;
    int _doubleClickedRow = -1;
};
