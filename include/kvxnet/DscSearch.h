// LAN search library: search for cameras and change their network information by MAC.
// Answers arrive on the library's own thread, one per camera, then one call with a null
// record when the run is over. A Stop call ends its run: no callback of that run starts
// after it returns (it may be called from inside a callback).
#pragma once

#include "kvxnet/DscSearchRecords.h"

extern "C" {

typedef int (*DscSearchCallBack)(const DSC_SEARCH_RESPONSE_INFO* record, void* user);
typedef int (*DscModifyNetInfoCallBack)(const DSC_MODIFY_NETINFO_RESPONSE* record, void* user);

// Starts a search of searchSeconds on the card with address cardAddress; a running search
// is stopped first. fullNetcom: 1 searches full-netcom cameras too. 0 started, -1 refused.
int KVX_NET_StartSearchDevice(int searchSeconds, const char* cardAddress, DscSearchCallBack callback,
                              void* user, int fullNetcom);
int KVX_NET_StopSearchDevice(void);

// Sends one change request; the camera with the request's MAC answers through the callback.
// Requests join the running modification run, which ends with a null record some seconds
// after its last request. 0 sent, -1 refused.
int KVX_NET_ModifyNetInfo(const DSC_MODIFY_NETINFO_REQUEST* request, DscModifyNetInfoCallBack callback,
                          void* user);
int KVX_NET_StopModifyNetInfo(void);

} // extern "C"
