// The camera SDK's functions over the simulated world.
#include "SimWorld.h"
#include "kvxnet/KvxNetSdk.h"

namespace {
SimWorld& world() {
    return SimWorld::instance();
}
} // namespace

extern "C" {

int KVX_NET_Startup(void) {
    return world().startup();
}
int KVX_NET_Cleanup(void) {
    return world().cleanup();
}
int KVX_NET_SetWaitTime(int connectSeconds, int retries, int receiveSeconds) {
    return world().setWaitTime(connectSeconds, retries, receiveSeconds);
}
int KVX_NET_Login(const KvxLoginInfo* info) {
    return world().login(info);
}
int KVX_NET_Logout(int loginHandle) {
    return world().logout(loginHandle);
}
int KVX_NET_Reboot(int loginHandle) {
    return world().reboot(loginHandle);
}
int KVX_NET_RestoreDefaultNew(int loginHandle, KvxRestoreInfo* record) {
    return world().restore(loginHandle, record);
}

int KVX_NET_GetOSD2(int h, int channel, KvxOsdInfo* record) {
    return world().getFamily("KVX_NET_GetOSD2", h, "osd", record, sizeof *record, {channel});
}
int KVX_NET_SetOSD2(int h, int channel, KvxOsdInfo* record) {
    return world().setFamily("KVX_NET_SetOSD2", h, "osd", record, sizeof *record, {channel});
}
int KVX_NET_GetTimeParam(int h, KvxTimeParam* record) {
    return world().getFamily("KVX_NET_GetTimeParam", h, "time", record, KVX_TIME_PARAM_SDK_BYTES, {});
}
int KVX_NET_SetTimeParam(int h, KvxTimeParam* record) {
    return world().setFamily("KVX_NET_SetTimeParam", h, "time", record, KVX_TIME_PARAM_SDK_BYTES, {});
}
int KVX_NET_GetDstProperty(int h, KvxDstProperty* record) {
    return world().getFamily("KVX_NET_GetDstProperty", h, "dst", record, sizeof *record, {});
}
int KVX_NET_SetDstProperty(int h, KvxDstProperty* record) {
    return world().setFamily("KVX_NET_SetDstProperty", h, "dst", record, sizeof *record, {});
}
int KVX_NET_GetStorageInfo2(int h, int channel, int type, int maxCount, KvxStorageInfo* record, int count,
                            int* returnedLength) {
    return world().getStorage(h, channel, type, maxCount, record, count, returnedLength);
}
int KVX_NET_GetCpldData(int h, KvxCpldData* block) {
    return world().getFamily("KVX_NET_GetCpldData", h, "cpld", block, sizeof *block, {});
}
int KVX_NET_SetCpldData(int h, KvxCpldData* block, int* length) {
    const int n = length ? *length : 0;
    if (n != static_cast<int>(sizeof(KvxCpldData)))
        return world().setFamily("KVX_NET_SetCpldData", h, "cpld", nullptr, 0, {n});
    return world().setFamily("KVX_NET_SetCpldData", h, "cpld", block, sizeof *block, {n});
}
int KVX_NET_GetUpgradeFileProperty(int h, KvxUpgradeFileProperty* record) {
    return world().upgradeFileProperty(h, record);
}
int KVX_NET_Upgrade(int h, const char* filePath) {
    return world().upgrade(h, filePath);
}

int KVX_NET_GetNetPropertyEx(int h, KvxNetProperty* record) {
    return world().getNetProperty(h, record);
}
int KVX_NET_SetNetPropertyEx(int h, KvxNetProperty* record) {
    return world().setNetProperty(h, record);
}
int KVX_NET_SetAgreementProperty(int h, int channel, KvxAgreementProperty* record, int count) {
    return world().setAgreement(h, channel, record, count);
}
int KVX_NET_GetDDNS2(int h, int channel, KvxDdnsInfo* record) {
    return world().getFamily("KVX_NET_GetDDNS2", h, "ddns", record, sizeof *record, {channel});
}
int KVX_NET_SetDDNS2(int h, int channel, KvxDdnsInfo* record) {
    return world().setFamily("KVX_NET_SetDDNS2", h, "ddns", record, sizeof *record, {channel});
}
int KVX_NET_GetP2P(int h, KvxP2pInfo* record) {
    return world().getFamily("KVX_NET_GetP2P", h, "p2p", record, sizeof *record, {});
}
int KVX_NET_SetP2P(int h, KvxP2pInfo* record) {
    return world().setFamily("KVX_NET_SetP2P", h, "p2p", record, sizeof *record, {});
}
int KVX_NET_GetGB28181Params(int h, int channel, KvxGb28181Params* record) {
    return world().getFamily("KVX_NET_GetGB28181Params", h, "gb28181", record, sizeof *record, {channel});
}
int KVX_NET_SetGB28181Params(int h, int channel, KvxGb28181Params* record) {
    return world().setFamily("KVX_NET_SetGB28181Params", h, "gb28181", record, sizeof *record, {channel});
}
int KVX_NET_GetEncodingScopeProperty(int h, KvxEncodingScope* record) {
    return world().getFamily("KVX_NET_GetEncodingScopeProperty", h, "encScope", record, sizeof *record, {});
}
int KVX_NET_GetEncodingPropertyPro(int h, KvxEncodingPropertyPro* record, int type, int* returnedLength) {
    const int r =
        world().getFamily("KVX_NET_GetEncodingPropertyPro", h, "encPro", record, sizeof *record, {type});
    if (r && returnedLength)
        *returnedLength = static_cast<int>(sizeof *record);
    return r;
}
int KVX_NET_SetEncodingPropertyPro(int h, KvxEncodingPropertyPro* record) {
    return world().setEncodingPro(h, record);
}
int KVX_NET_GetAudioEx(int h, int channel, KvxAudioInfo* record) {
    return world().getFamily("KVX_NET_GetAudioEx", h, "audio", record, sizeof *record, {channel});
}
int KVX_NET_SetAudioEx(int h, int channel, KvxAudioInfo* record) {
    return world().setFamily("KVX_NET_SetAudioEx", h, "audio", record, sizeof *record, {channel});
}
int KVX_NET_GetEncodingProperty2(int h, int channel, int selector, KvxAudioEncoding* record, int count,
                                 int* returnedLength) {
    const int r = world().getFamily("KVX_NET_GetEncodingProperty2", h, "audioEnc", record, sizeof *record,
                                    {channel, selector, count});
    if (r && returnedLength)
        *returnedLength = static_cast<int>(sizeof *record);
    return r;
}
int KVX_NET_SetEncodingProperty2(int h, int channel, KvxAudioEncoding* record, int count) {
    return world().setFamily("KVX_NET_SetEncodingProperty2", h, "audioEnc", record, sizeof *record,
                             {channel, count});
}
int KVX_NET_GetFillLightSettings(int h, KvxFillLightSettings* record) {
    return world().getFamily("KVX_NET_GetFillLightSettings", h, "fillLight", record, sizeof *record, {});
}
int KVX_NET_SetFillLightSettings(int h, KvxFillLightSettings* record) {
    return world().setFamily("KVX_NET_SetFillLightSettings", h, "fillLight", record, sizeof *record, {});
}
int KVX_NET_ClientGetVideoParam2(int h, int channel, KvxVideoParam* record) {
    return world().getFamily("KVX_NET_ClientGetVideoParam2", h, "videoParam", record, sizeof *record,
                             {channel});
}
int KVX_NET_ClientSetVideoParam2(int h, int channel, KvxVideoParam* record) {
    return world().setVideoParam(h, channel, record);
}
int KVX_NET_ClientGetMDInfoEx2(int h, int channel, KvxMotionDetectInfo* record) {
    return world().getFamily("KVX_NET_ClientGetMDInfoEx2", h, "md", record, sizeof *record, {channel});
}
int KVX_NET_ClientSetMDInfoEx2(int h, int channel, KvxMotionDetectInfo* record) {
    return world().setFamily("KVX_NET_ClientSetMDInfoEx2", h, "md", record, sizeof *record, {channel});
}
int KVX_NET_GetAlarmPropertyEx(int h, KvxAlarmProperty* record) {
    return world().getFamily("KVX_NET_GetAlarmPropertyEx", h, "alarm", record, sizeof *record, {});
}
int KVX_NET_SetAlarmPropertyEx(int h, KvxAlarmProperty* record) {
    return world().setFamily("KVX_NET_SetAlarmPropertyEx", h, "alarm", record, sizeof *record, {});
}
int KVX_NET_UserConfig(int h, KvxUserConfig* record, int type) {
    return world().userConfig(h, record, type);
}
int KVX_NET_GetSystemRebootExProperty(int h, KvxRebootExProperty* record) {
    return world().getFamily("KVX_NET_GetSystemRebootExProperty", h, "rebootEx", record, sizeof *record, {});
}
int KVX_NET_SetSystemRebootExProperty(int h, KvxRebootExProperty* record) {
    return world().setFamily("KVX_NET_SetSystemRebootExProperty", h, "rebootEx", record, sizeof *record, {});
}

int KVX_NET_ClientStart(int h, const KvxLoginInfo* info, int reserved) {
    return world().clientStart(h, info, reserved);
}
int KVX_NET_ClientSetWnd(int stream, unsigned int window) {
    return world().clientSetWnd(stream, window);
}
int KVX_NET_ClientStop(int stream) {
    return world().clientStop(stream);
}
int KVX_NET_ClientGetVideoCover(int stream, KvxVideoCover* record) {
    return world().streamFamily("KVX_NET_ClientGetVideoCover", stream, false, record, sizeof *record);
}
int KVX_NET_ClientSetVideoCover(int stream, KvxVideoCover* record) {
    return world().streamFamily("KVX_NET_ClientSetVideoCover", stream, true, record, sizeof *record);
}
int KVX_NET_ClientPlayAudio(int stream) {
    return world().streamSwitch("KVX_NET_ClientPlayAudio", stream, {});
}
int KVX_NET_ClientStopAudio(int stream) {
    return world().streamSwitch("KVX_NET_ClientStopAudio", stream, {});
}
int KVX_NET_ClientStartTalk2(int stream, int channel, int format) {
    return world().streamSwitch("KVX_NET_ClientStartTalk2", stream, {channel, format});
}
int KVX_NET_ClientStopTalk(int stream) {
    return world().streamSwitch("KVX_NET_ClientStopTalk", stream, {});
}
int KVX_NET_PTZCtrl(int h, KvxPtzCommand* record) {
    return world().ptz(h, record);
}

} // extern "C"
