#include "PreviewSession.h"

#include "DeviceTableRow.h"
#include "fields/FixedFieldText.h"
#include "kvxnet/KvxNetSdk.h"

#include <QDebug>

#include <algorithm>
#include <cstring>

namespace {

// The SDK refuses a login with 0 or -1 and a stream with -1.
int handleOrNone(int value) {
    return value > 0 ? value : PreviewSession::kNoHandle;
}

} // namespace

PreviewSession::PreviewSession() {
    std::fill(std::begin(m_play), std::end(m_play), kNoHandle);
    std::fill(std::begin(m_login), std::end(m_login), kNoHandle);
    KVX_NET_Startup();
    KVX_NET_SetWaitTime(2, -1, 2);
}

PreviewSession::~PreviewSession() {
    release();
}

std::uint32_t PreviewSession::portOf(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    return ok ? port : 0;
}

void PreviewSession::fillLoginRecord(KvxLoginInfo* record, const QStringList& row, int stream,
                                     std::uint32_t window, void* user) {
    std::memset(record, 0, sizeof *record);
    fixedfield::copyUtf8Field(record->address, sizeof record->address, row.value(DeviceColumn::Ip));
    record->port = portOf(row.value(DeviceColumn::HttpPort));
    record->stream = static_cast<std::uint32_t>(stream);
    fixedfield::copyUtf8Field(record->user, sizeof record->user, row.value(DeviceColumn::User));
    fixedfield::copyUtf8Field(record->password, sizeof record->password, row.value(DeviceColumn::Password));
    record->window = window;
    record->flag204 = 1;
    record->flag206 = 1;
    record->deviceTypeFlag = 0;
    record->flag208 = 0;
    record->flag210 = 0;
    record->userData = user;
    record->callback = &PreviewSession::messageCallback;
}

void PreviewSession::messageCallback(int, int message, void*, void*) {
    switch (message) {
    case KVX_MSG_LOGIN_OK:
        qDebug() << "1";
        break;
    case KVX_MSG_LOGIN_FAILED:
        qDebug() << "2";
        break;
    case 2:
        qDebug() << "6";
        break;
    case 3:
        qDebug() << "7";
        break;
    default:
        break;
    }
}

bool PreviewSession::play(int slot, const QStringList& row, int stream, std::uint32_t window, void* user) {
    if (!inRange(slot) || m_released)
        return false;
    stop(slot);
    fillLoginRecord(&m_record, row, stream, window, user);
    m_login[slot] = handleOrNone(KVX_NET_Login(&m_record));
    if (m_login[slot] != kNoHandle)
        m_play[slot] = handleOrNone(KVX_NET_ClientStart(m_login[slot], &m_record, 0));
    return m_play[slot] != kNoHandle;
}

void PreviewSession::stop(int slot) {
    if (!inRange(slot))
        return;
    if (m_play[slot] != kNoHandle) {
        if (m_audio[slot])
            KVX_NET_ClientStopAudio(m_play[slot]);
        if (m_talk[slot])
            KVX_NET_ClientStopTalk(m_play[slot]);
        KVX_NET_ClientStop(m_play[slot]);
    }
    if (m_login[slot] != kNoHandle)
        KVX_NET_Logout(m_login[slot]);
    m_audio[slot] = m_talk[slot] = false;
    m_play[slot] = m_login[slot] = kNoHandle;
}

void PreviewSession::release() {
    if (m_released)
        return;
    m_released = true;
    for (int slot = 0; slot < kSlots; ++slot)
        stop(slot);
    KVX_NET_Cleanup();
}

bool PreviewSession::setAudioTalk(int slot, bool on) {
    if (!inRange(slot) || m_play[slot] == kNoHandle)
        return false;
    const int stream = m_play[slot];
    if (on) {
        KVX_NET_ClientStopAudio(stream);
        KVX_NET_ClientStopTalk(stream);
        m_audio[slot] = KVX_NET_ClientPlayAudio(stream) != 0;
        m_talk[slot] = KVX_NET_ClientStartTalk2(stream, 0, 17) != 0;
        return m_audio[slot];
    }
    if (KVX_NET_ClientStopAudio(stream) == 0)
        return false;
    m_audio[slot] = false;
    if (KVX_NET_ClientStopTalk(stream) == 0)
        return false;
    m_talk[slot] = false;
    return true;
}

int PreviewSession::playHandle(int slot) const {
    return inRange(slot) ? m_play[slot] : kNoHandle;
}

int PreviewSession::loginHandle(int slot) const {
    return inRange(slot) ? m_login[slot] : kNoHandle;
}
