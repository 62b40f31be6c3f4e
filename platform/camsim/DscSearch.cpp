// The LAN search library's functions over the simulated world.
#include "SimWorld.h"
#include "kvxnet/DscSearch.h"

extern "C" {

int KVX_NET_StartSearchDevice(int searchSeconds, const char* cardAddress, DscSearchCallBack callback,
                              void* user, int fullNetcom) {
    return SimWorld::instance().startSearch(searchSeconds, cardAddress, callback, user, fullNetcom);
}

int KVX_NET_StopSearchDevice(void) {
    return SimWorld::instance().stopSearch();
}

int KVX_NET_ModifyNetInfo(const DSC_MODIFY_NETINFO_REQUEST* request, DscModifyNetInfoCallBack callback,
                          void* user) {
    return SimWorld::instance().modifyNetInfo(request, callback, user);
}

int KVX_NET_StopModifyNetInfo(void) {
    return SimWorld::instance().stopModify();
}

} // extern "C"
