#include "SimControl.h"

#include "SimPictures.h"
#include "SimWorld.h"

namespace camsim {

namespace {
SimWorld& world() {
    return SimWorld::instance();
}
} // namespace

void useFleet(const std::vector<CameraProfile>& cameras) {
    world().useFleet(cameras);
}
void resetWorld() {
    world().reset();
}
std::vector<CameraProfile> fleet() {
    return world().fleet();
}
bool findCamera(const std::string& macOrAddress, CameraProfile* out) {
    return world().findCamera(macOrAddress, out);
}
void setOnline(const std::string& mac, bool online) {
    world().setOnline(mac, online);
}
void rebootCamera(const std::string& mac) {
    world().rebootCamera(mac);
}
std::vector<std::uint8_t> paramBytes(const std::string& mac, const std::string& family) {
    return world().paramBytes(mac, family);
}
bool setParamBytes(const std::string& mac, const std::string& family,
                   const std::vector<std::uint8_t>& bytes) {
    return world().setParamBytes(mac, family, bytes);
}
void inject(const Injection& injection) {
    world().inject(injection);
}
void clearInjections() {
    world().clearInjections();
}
void releaseHeldCalls(const std::string& mac) {
    world().releaseHeldCalls(mac);
}
int heldCalls(const std::string& mac) {
    return world().heldCalls(mac);
}
void setTiming(const Timing& t) {
    world().setTiming(t);
}
Timing timing() {
    return world().timing();
}
std::vector<CallRecord> callLog() {
    return world().log().all();
}
std::vector<CallRecord> calls(const std::string& function) {
    return world().log().named(function);
}
void clearCallLog() {
    world().log().clear();
}
void setCallRecording(bool on) {
    world().setCallRecording(on);
}
int startupCount() {
    return world().startupCount();
}
int sessionCount() {
    return world().sessionCount();
}
int streamCount() {
    return world().streamCount();
}
int pictureCount() {
    return SimPictures::count();
}
std::string stateFilePath() {
    return world().stateFilePath();
}

} // namespace camsim
