// The camera-SDK side of a preview dialog: its own SDK start-up, one login and one live
// stream per slot, audio and talk on a slot's stream, and one release that stops everything
// and cleans the SDK up exactly once. GUI thread only.
#pragma once

#include "kvxnet/KvxSdkRecords.h"

#include <QStringList>

#include <cstdint>

class PreviewSession {
public:
    static constexpr int kSlots = 16;
    static constexpr int kNoHandle = -1;

    // KVX_NET_Startup and KVX_NET_SetWaitTime(2, -1, 2).
    PreviewSession();
    // release().
    ~PreviewSession();
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    // Fills a zeroed login record from a device-table row: address (column 1), HTTP port
    // (column 12, 0 when not a decimal number), user and password (columns 17, 18), the
    // stream, the window and the preview's callback. Texts are cut to their fields.
    static void fillLoginRecord(KvxLoginInfo* record, const QStringList& row, int stream,
                                std::uint32_t window, void* user);
    static std::uint32_t portOf(const QString& text);
    // The preview dialogs' message callback: debug output only.
    static void messageCallback(int loginHandle, int message, void* param, void* user);

    // Logs the slot in to the device of row and starts its stream into window; a slot
    // still in use is stopped first. True when the stream runs.
    bool play(int slot, const QStringList& row, int stream, std::uint32_t window, void* user);
    // Stops the slot's audio and talk, its stream and its login, each only when started.
    void stop(int slot);
    // Stops every slot, then KVX_NET_Cleanup; later calls do nothing.
    void release();
    bool released() const { return m_released; }

    // Audio and talk on the slot's stream: on restarts both (the result is the audio's);
    // off stops the audio, then the talk (true when both stop). False without a stream.
    bool setAudioTalk(int slot, bool on);

    int playHandle(int slot) const;
    int loginHandle(int slot) const;
    bool loggedIn(int slot) const { return loginHandle(slot) != kNoHandle; }
    bool playing(int slot) const { return playHandle(slot) != kNoHandle; }
    const KvxLoginInfo& loginRecord() const { return m_record; }

private:
    static bool inRange(int slot) { return slot >= 0 && slot < kSlots; }

    int m_play[kSlots];
    int m_login[kSlots];
    bool m_audio[kSlots] = {};
    bool m_talk[kSlots] = {};
    KvxLoginInfo m_record{};
    bool m_released = false;
};
