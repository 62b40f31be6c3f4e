// Helpers for the preview tests: device rows of the simulated cameras and call-log queries.
#pragma once

#include "camsim/SimControl.h"

#include <QStringList>
#include <QVector>

#include <cstring>
#include <string>
#include <vector>

namespace previewtest {

inline QStringList rowOf(const camsim::CameraProfile& camera) {
    QStringList row;
    for (int i = 0; i < 19; ++i)
        row << QString();
    row[1] = QString::fromStdString(camera.ip);
    row[7] = QString::fromStdString(camera.serial);
    row[8] = QString::fromStdString(camera.mac);
    row[12] = QString::number(camera.httpPort);
    row[13] = QString::number(camera.rtspPort);
    row[17] = QString::fromStdString(camera.user);
    row[18] = QString::fromStdString(camera.password);
    return row;
}

inline QVector<QStringList> fleetRows(int count) {
    QVector<QStringList> rows;
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    for (int i = 0; i < count && i < static_cast<int>(fleet.size()); ++i)
        rows << rowOf(fleet[static_cast<std::size_t>(i)]);
    return rows;
}

inline int countCalls(const std::string& function) {
    return static_cast<int>(camsim::calls(function).size());
}

// Calls that take a stream handle.
inline bool isStreamCall(const std::string& function) {
    return function == "KVX_NET_ClientStop" || function == "KVX_NET_ClientSetWnd" ||
           function == "KVX_NET_ClientPlayAudio" || function == "KVX_NET_ClientStopAudio" ||
           function == "KVX_NET_ClientStartTalk2" || function == "KVX_NET_ClientStopTalk";
}

// Stream and logout calls that reached nothing the SDK knew (a bad or stale handle).
inline std::vector<std::string> callsOnUnknownHandles() {
    std::vector<std::string> bad;
    for (const camsim::CallRecord& r : camsim::callLog()) {
        if ((isStreamCall(r.function) || r.function == "KVX_NET_Logout") && r.result == 0)
            bad.push_back(r.function + "(" + std::to_string(r.args.empty() ? 0 : r.args[0]) + ")");
    }
    return bad;
}

inline std::string text(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size) {
    if (bytes.size() < offset + size)
        return "<short>";
    const char* p = reinterpret_cast<const char*>(bytes.data() + offset);
    return std::string(p, strnlen(p, size));
}

inline std::uint32_t u32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    if (bytes.size() >= offset + 4)
        std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

} // namespace previewtest
