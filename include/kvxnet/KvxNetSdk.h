// Camera network SDK. Get, set and command calls return non-zero for success unless stated.
// Login is asynchronous: KVX_NET_Login returns a positive handle (0 when it is refused at
// once) and the result arrives later as message 1536 or 1537 through the record's callback,
// on the SDK's own thread. Startup and Cleanup are reference-counted.
#pragma once

#include "kvxnet/KvxSdkRecords.h"

extern "C" {

int KVX_NET_Startup(void);
int KVX_NET_Cleanup(void);
int KVX_NET_SetWaitTime(int connectSeconds, int retries, int receiveSeconds);

int KVX_NET_Login(const KvxLoginInfo* info);
// No message of the login reaches its callback after this returns.
int KVX_NET_Logout(int loginHandle);

int KVX_NET_Reboot(int loginHandle);
int KVX_NET_RestoreDefaultNew(int loginHandle, KvxRestoreInfo* record);

int KVX_NET_GetOSD2(int loginHandle, int channel, KvxOsdInfo* record);
int KVX_NET_SetOSD2(int loginHandle, int channel, KvxOsdInfo* record);
int KVX_NET_GetTimeParam(int loginHandle, KvxTimeParam* record);
int KVX_NET_SetTimeParam(int loginHandle, KvxTimeParam* record);
int KVX_NET_GetDstProperty(int loginHandle, KvxDstProperty* record);
int KVX_NET_SetDstProperty(int loginHandle, KvxDstProperty* record);
int KVX_NET_GetStorageInfo2(int loginHandle, int channel, int type, int maxCount, KvxStorageInfo* record,
                            int count, int* returnedLength);
int KVX_NET_GetCpldData(int loginHandle, KvxCpldData* block);
int KVX_NET_SetCpldData(int loginHandle, KvxCpldData* block, int* length);

// 2: package rejected; any other value: acceptable.
int KVX_NET_GetUpgradeFileProperty(int loginHandle, KvxUpgradeFileProperty* record);
// 0: started, progress follows as messages 1280 (param int*), then 1281 or 1282.
int KVX_NET_Upgrade(int loginHandle, const char* filePath);

int KVX_NET_GetNetPropertyEx(int loginHandle, KvxNetProperty* record);
int KVX_NET_SetNetPropertyEx(int loginHandle, KvxNetProperty* record);
int KVX_NET_SetAgreementProperty(int loginHandle, int channel, KvxAgreementProperty* record, int count);
int KVX_NET_GetDDNS2(int loginHandle, int channel, KvxDdnsInfo* record);
int KVX_NET_SetDDNS2(int loginHandle, int channel, KvxDdnsInfo* record);
int KVX_NET_GetP2P(int loginHandle, KvxP2pInfo* record);
int KVX_NET_SetP2P(int loginHandle, KvxP2pInfo* record);
int KVX_NET_GetGB28181Params(int loginHandle, int channel, KvxGb28181Params* record);
int KVX_NET_SetGB28181Params(int loginHandle, int channel, KvxGb28181Params* record);
int KVX_NET_GetEncodingScopeProperty(int loginHandle, KvxEncodingScope* record);
int KVX_NET_GetEncodingPropertyPro(int loginHandle, KvxEncodingPropertyPro* record, int type,
                                   int* returnedLength);
int KVX_NET_SetEncodingPropertyPro(int loginHandle, KvxEncodingPropertyPro* record);
int KVX_NET_GetAudioEx(int loginHandle, int channel, KvxAudioInfo* record);
int KVX_NET_SetAudioEx(int loginHandle, int channel, KvxAudioInfo* record);
int KVX_NET_GetEncodingProperty2(int loginHandle, int channel, int selector, KvxAudioEncoding* record,
                                 int count, int* returnedLength);
int KVX_NET_SetEncodingProperty2(int loginHandle, int channel, KvxAudioEncoding* record, int count);
int KVX_NET_GetFillLightSettings(int loginHandle, KvxFillLightSettings* record);
int KVX_NET_SetFillLightSettings(int loginHandle, KvxFillLightSettings* record);
int KVX_NET_ClientGetVideoParam2(int loginHandle, int channel, KvxVideoParam* record);
int KVX_NET_ClientSetVideoParam2(int loginHandle, int channel, KvxVideoParam* record);
int KVX_NET_ClientGetMDInfoEx2(int loginHandle, int channel, KvxMotionDetectInfo* record);
int KVX_NET_ClientSetMDInfoEx2(int loginHandle, int channel, KvxMotionDetectInfo* record);
int KVX_NET_GetAlarmPropertyEx(int loginHandle, KvxAlarmProperty* record);
int KVX_NET_SetAlarmPropertyEx(int loginHandle, KvxAlarmProperty* record);
int KVX_NET_UserConfig(int loginHandle, KvxUserConfig* record, int type);
int KVX_NET_GetSystemRebootExProperty(int loginHandle, KvxRebootExProperty* record);
int KVX_NET_SetSystemRebootExProperty(int loginHandle, KvxRebootExProperty* record);

// Live stream: a positive stream handle, -1 for none. The picture is drawn into the
// record's window (0: no picture) until ClientStop, Logout or the last Cleanup.
int KVX_NET_ClientStart(int loginHandle, const KvxLoginInfo* info, int reserved);
int KVX_NET_ClientSetWnd(int streamHandle, unsigned int window);
int KVX_NET_ClientStop(int streamHandle);
int KVX_NET_ClientGetVideoCover(int streamHandle, KvxVideoCover* record);
int KVX_NET_ClientSetVideoCover(int streamHandle, KvxVideoCover* record);
int KVX_NET_ClientPlayAudio(int streamHandle);
int KVX_NET_ClientStopAudio(int streamHandle);
int KVX_NET_ClientStartTalk2(int streamHandle, int channel, int format);
int KVX_NET_ClientStopTalk(int streamHandle);
int KVX_NET_PTZCtrl(int loginHandle, KvxPtzCommand* record);

} // extern "C"
