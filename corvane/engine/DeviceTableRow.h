// The columns of a device-table row: nineteen texts per found camera, built by the main window
// from the camera's search record, and handed to the engine and the dialogs as a QStringList.
// The columns the device table writes itself are the table's own names; the others are ours.
#pragma once

#include "tarsel/CTableView.h"

namespace DeviceColumn {

enum Column : int {
    Check = 0, // the table's check box; the row keeps an empty text
    Ip = CTableView::ColIp,
    FullNetcom = CTableView::ColFullNetcom, // "Enable" / "Disable"
    NetcomFlag = CTableView::ColNetcomFlag, // "Yes" or empty
    Name = CTableView::ColName,             // the device name, once read
    Text384 = 5,                            // the search record's text at offset 384
    Status = CTableView::ColStatus,
    Serial = CTableView::ColSerial,
    Mac = CTableView::ColMac, // the key every operation finds a device by
    Mask = 9,
    Gateway = 10,
    Dns = 11,
    HttpPort = CTableView::ColHttpPort,
    RtspPort = CTableView::ColRtspPort,
    Number296 = 14, // the search record's number at offset 296
    Dhcp = CTableView::ColDhcp,
    Number300 = 16, // the search record's number at offset 300
    User = CTableView::ColUser,
    Password = CTableView::ColPassword,
    // The other-parameter run appends the device's new address to its own copy of the row.
    NewIp = CTableView::ColumnCount,
};

constexpr int Count = CTableView::ColumnCount;

// The row is the nineteen columns in this order, with no gap: our numbers fit between the table's.
static_assert(Ip == Check + 1 && FullNetcom == Ip + 1 && NetcomFlag == FullNetcom + 1 &&
                  Name == NetcomFlag + 1 && Text384 == Name + 1 && Status == Text384 + 1 &&
                  Serial == Status + 1 && Mac == Serial + 1 && Mask == Mac + 1 && Gateway == Mask + 1 &&
                  Dns == Gateway + 1 && HttpPort == Dns + 1 && RtspPort == HttpPort + 1 &&
                  Number296 == RtspPort + 1 && Dhcp == Number296 + 1 && Number300 == Dhcp + 1 &&
                  User == Number300 + 1 && Password == User + 1 && Count == Password + 1,
              "device row columns out of order");

} // namespace DeviceColumn
