// The other-parameter families' captions, as the settings tree and the result table show them.
#pragma once

#include <QStringList>

namespace frametest {

// The settings tree's order.
inline const QStringList kFamilyCaptions = {"Setting TCP/IP",
                                            "Setting Port",
                                            "Setting DDNS",
                                            "Setting P2P",
                                            "Setting GB28181",
                                            "Setting Video",
                                            "Setting Audio",
                                            "Setting OSD",
                                            "Setting Image",
                                            "Setting Privacy Mask",
                                            "Setting Motion Detect",
                                            "Setting Account Manage",
                                            "Setting Time",
                                            "Setting Regular Maintain",
                                            "Setting The Audio Board In"};

// The result table's titles with every family: IP first, TCP/IP and port last.
inline QStringList resultTitles() {
    return QStringList{"IP"} + kFamilyCaptions.mid(2) + kFamilyCaptions.mid(0, 2);
}

} // namespace frametest
