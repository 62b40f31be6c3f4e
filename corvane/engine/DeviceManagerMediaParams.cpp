// Family appliers of the media families: Video, Audio, OSD, Image, Privacy Mask, Motion
// Detect and Audio Board. Video and Image report whether the change restarts the device.
#include "DeviceManager.h"

#include "DeviceTableRow.h"
#include "OtherParamFields.h"
#include "kvxnet/KvxNetSdk.h"

#include <QTextCodec>

using namespace otherparam;

namespace {

std::uint8_t byte(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// The frame rate for a stream of the given size: the wanted rate, capped by the highest rate
// of every scope entry of that size (the last match wins); no entry keeps the current rate.
// The entry counts come from the device and are clamped to the tables.
void capFrameRate(const KvxEncodingScopeBlock& block, bool secondCodec, std::uint32_t width,
                  std::uint32_t height, std::uint32_t wanted, std::uint16_t* frameRate) {
    const KvxScopeEntry* entries = secondCodec ? block.codec2 : block.codec1;
    const std::size_t tableSize = secondCodec ? sizeof block.codec2 / sizeof block.codec2[0]
                                              : sizeof block.codec1 / sizeof block.codec1[0];
    const std::size_t count =
        std::min<std::size_t>(secondCodec ? block.codec2Count : block.codec1Count, tableSize);
    for (std::size_t i = 0; i < count; ++i) {
        if (entries[i].width == width && entries[i].height == height)
            *frameRate = static_cast<std::uint16_t>(std::min(wanted, entries[i].maxFrameRate));
    }
}

} // namespace

void DeviceManager::modifyVideoInfo(QStringList* qstrList, int* needReboot) {
    static const char* const fn = "DeviceManager::modifyVideoInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, " hIPCLogin < 0", &c))
        return;
    const OZM::_SC_SETVIDEO_DATA_& t = c.templates().video;
    const int h = c.handle;
    auto scope = zeroed<KvxEncodingScope>();
    auto rec = zeroed<KvxEncodingPropertyPro>();
    int length = 0;
    bool ok = false;
    bool reboot = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetEncodingScopeProperty(h, scope.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetEncodingScopeProperty", c.ip);
    } else if (!KVX_NET_GetEncodingPropertyPro(h, rec.get(), 3, &length)) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetEncodingPropertyPro", c.ip);
    } else {
        KvxStreamEncoding& main = rec->mainStream;
        // A switch into or out of 2304x1296, or another H265+ setting, restarts the device.
        const bool was2304 = main.width == 2304;
        reboot = (was2304 && t.mainResolution != 0) || (!was2304 && t.mainResolution == 0) ||
                 main.h265Plus != byte(t.mainH265Plus);
        main.codec = t.mainCodec != 0 ? 1 : 0;
        main.width = t.mainResolution == 0 ? 2304 : t.mainResolution == 1 ? 1920 : 1280;
        main.height = t.mainResolution == 0 ? 1296 : t.mainResolution == 1 ? 1080 : 720;
        capFrameRate(scope->block[0], main.codec != 0, main.width, main.height, t.mainFrameRate,
                     &main.frameRate);
        main.bitrate = static_cast<std::uint16_t>(t.mainBitrate & 0xFFFF);
        main.iFrameInterval = static_cast<std::uint16_t>(t.mainIFrameInterval & 0xFFFF);
        main.bitrateMode = byte(t.mainBitrateMode);
        main.h265Plus = byte(t.mainH265Plus);

        KvxStreamEncoding& sub = rec->subStream;
        sub.codec = t.subCodec != 0 ? 1 : 0;
        sub.width = t.subResolution == 0 ? 720 : 640;
        sub.height = 480;
        capFrameRate(scope->block[1], sub.codec != 0, sub.width, sub.height, t.subFrameRate, &sub.frameRate);
        sub.bitrate = static_cast<std::uint16_t>(t.subBitrate & 0xFFFF);
        sub.iFrameInterval = static_cast<std::uint16_t>(t.subIFrameInterval & 0xFFFF);
        sub.bitrateMode = byte(t.subBitrateMode);
        ok = KVX_NET_SetEncodingPropertyPro(h, rec.get()) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_SetEncodingPropertyPro", c.ip);
    }
    if (ok && needReboot)
        *needReboot = reboot ? 1 : 0;
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyVideo, ok, RowText::VideoSuccess,
                 RowText::VideoFailed);
}

void DeviceManager::modifyAudioInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyAudioInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin < 0", &c))
        return;
    const OZM::_SC_SETAUDIO_DATA_& t = c.templates().audio;
    const int h = c.handle;
    auto audio = zeroed<KvxAudioInfo>();
    auto enc = zeroed<KvxAudioEncoding>();
    int length = 0;
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetAudioEx(h, 0, audio.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetAudioEx", c.ip);
    } else if (!KVX_NET_GetEncodingProperty2(h, 0, 52, enc.get(), 1, &length)) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetEncodingProperty2", c.ip);
    } else {
        audio->enable = byte(t.enable);
        audio->outputVolume = byte(t.outputVolume);
        audio->inputVolume = byte(t.inputVolume);
        audio->input = byte(t.input);
        if (!KVX_NET_SetAudioEx(h, 0, audio.get())) {
            logCallFailed(fn, __LINE__, "KVX_NET_SetAudioEx", c.ip);
        } else {
            enc->selector = 52;
            enc->codec = t.codec == 0 ? 16 : 17;
            ok = KVX_NET_SetEncodingProperty2(h, 0, enc.get(), 1) != 0;
            if (!ok)
                logCallFailed(fn, __LINE__, "KVX_NET_SetEncodingProperty2", c.ip);
        }
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyAudio, ok, RowText::AudioSuccess,
                 RowText::AudioFailed);
}

void DeviceManager::modifyOSDInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyOSDInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c))
        return;
    const OZM::_SC_SETOSD_DATA_& t = c.templates().osd;
    const int h = c.handle;
    auto rec = zeroed<KvxOsdInfo>();
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetOSD2(h, 0, rec.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetOSD2", c.ip);
    } else {
        rec->position = byte(t.position);
        rec->showTime = byte(t.showTime);
        rec->dateFormat = byte(t.dateFormat);
        rec->showText = byte(t.showText);
        copyField(rec->text, t.text);
        ok = KVX_NET_SetOSD2(h, 0, rec.get()) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_SetOSD2", c.ip);
    }
    const QString mac = qstrList->value(DeviceColumn::Mac);
    // The device name follows the status text.
    finishFamily(mac, OZM::FamilyOsd, ok, RowText::OsdSuccess, RowText::OsdFailed, nullptr, [&] {
        const QByteArray text = QByteArray::fromStdString(fieldText(rec->text, sizeof rec->text));
        QTextCodec* codec = QTextCodec::codecForName("GBK");
        notifyTexts(1, {mac, codec ? codec->toUnicode(text) : QString::fromLatin1(text)});
    });
}

void DeviceManager::modifyImageInfo(QStringList* qstrList, int* needReboot) {
    static const char* const fn = "DeviceManager::modifyImageInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c))
        return;
    const OZM::_SC_IMAGE_DATA_& t = c.templates().image;
    const int h = c.handle;
    auto osd = zeroed<KvxOsdInfo>();
    auto light = zeroed<KvxFillLightSettings>();
    auto video = zeroed<KvxVideoParam>();
    bool ok = false;
    bool reboot = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetOSD2(h, 0, osd.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetOSD2", c.ip);
    } else if (!KVX_NET_GetFillLightSettings(h, light.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetFillLightSettings", c.ip);
    } else if (!KVX_NET_ClientGetVideoParam2(h, 0, video.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_ClientGetVideoParam2", c.ip);
    } else {
        osd->mirror = t.mirror;
        osd->shutter = t.shutter;
        light->dawnTime = t.dawnTime;
        light->darkTime = t.darkTime;
        light->mode = t.fillLightMode;
        light->brightness = t.lightBrightness;
        light->sensitivity = t.sensitivity;
        light->filterTime = t.filterTime;
        light->autoLight = t.lightMode == 0 ? 1 : 0;
        light->keepColor = t.keepColor;
        // Only a new flicker setting restarts the device.
        reboot = video->flicker != t.flicker;
        video->luminance = t.luminance;
        video->contrast = t.contrast;
        video->saturation = t.saturation;
        video->sharpness = t.sharpness;
        video->gain = t.gain;
        video->redGain = t.redGain;
        video->greenGain = t.greenGain;
        video->blueGain = t.blueGain;
        video->whiteBalance = t.whiteBalance;
        video->blc = t.blc;
        video->backlight = t.backlightAmount;
        video->exposureMode = t.exposureMode;
        video->wdrOn = t.wdrOn;
        video->wdrLevel = t.wdrLevel;
        video->flicker = t.flicker;
        video->nrMode = t.noiseMode;
        video->nr2d = t.noise2dLevel;
        video->nr3d = t.noise3dLevel;
        video->dehazeMode = t.dehazeMode;
        video->dehazeLevel = t.dehazeIntensity;
        video->distortion = t.distortion;
        video->distortionLevel = t.distortionIntensity;
        video->autoGain = t.autoGain;
        if (!KVX_NET_SetOSD2(h, 0, osd.get())) {
            logCallFailed(fn, __LINE__, "KVX_NET_SetOSD2", c.ip);
        } else if (!KVX_NET_SetFillLightSettings(h, light.get())) {
            logCallFailed(fn, __LINE__, "KVX_NET_SetFillLightSettings", c.ip);
        } else {
            ok = KVX_NET_ClientSetVideoParam2(h, 0, video.get()) != 0;
            if (!ok)
                logCallFailed(fn, __LINE__, "KVX_NET_ClientSetVideoParam2", c.ip);
        }
    }
    if (ok && needReboot)
        *needReboot = reboot ? 1 : 0;
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyImage, ok, RowText::ImageSuccess,
                 RowText::ImageFailed);
}

void DeviceManager::modifyPrivacyInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyPrivacyInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c))
        return;
    const OZM::_SC_SETPRIVACYMASKINFO_DATA_& t = c.templates().privacy;
    const QString mac = qstrList->value(DeviceColumn::Mac);
    bool ok = false;
    std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!(info = findSearchInfo(mac.toStdString()))) {
        Qx_Write_Log(300, fn, "[Line:%d] findSearchInfo Failed, ip:%s", __LINE__, c.ip.c_str());
    } else {
        auto login = zeroed<KvxLoginInfo>();
        copyField(login->address, info->ip);
        login->port = info->httpPort;
        login->stream = 0;
        copyField(login->user, info->user);
        copyField(login->password, info->password);
        login->flag204 = 0;
        login->flag206 = 1;
        login->deviceTypeFlag = fieldText(info->deviceType, sizeof info->deviceType) == "IPCAMERA" ? 0 : 1;
        login->flag208 = 0;
        login->userData = slotPointer(c.slot.index);
        login->callback = &DeviceManager::onSdkMessage;
        const int stream = KVX_NET_ClientStart(c.handle, login.get(), 0);
        if (stream == 0 || stream == -1) {
            Qx_Write_Log(300, fn, "[Line:%d] KVX_NET_ClientStart Failed, ip:%s", __LINE__, c.ip.c_str());
        } else {
            auto cover = zeroed<KvxVideoCover>();
            if (!KVX_NET_ClientGetVideoCover(stream, cover.get())) {
                logCallFailed(fn, __LINE__, "KVX_NET_ClientGetVideoCover", c.ip);
            } else {
                // Editor pixels of a 507 x 300 frame to percent of the frame, truncating.
                for (int i = 0; i < 3; ++i) {
                    const OZM::SC_PRIVACY_AREA& a = t.area[i];
                    KvxCoverArea& c = cover->areas[i];
                    c.left = static_cast<std::int32_t>(std::int64_t{a.x} * 100 / 507);
                    c.top = static_cast<std::int32_t>(std::int64_t{a.y} * 100 / 300);
                    c.right = static_cast<std::int32_t>((std::int64_t{a.x} + a.width) * 100 / 507);
                    c.bottom = static_cast<std::int32_t>((std::int64_t{a.y} + a.height) * 100 / 300);
                }
                ok = KVX_NET_ClientSetVideoCover(stream, cover.get()) != 0;
                if (!ok)
                    logCallFailed(fn, __LINE__, "KVX_NET_ClientSetVideoCover", c.ip);
            }
            KVX_NET_ClientStop(stream);
        }
    }
    finishFamily(mac, OZM::FamilyPrivacyMask, ok, RowText::PrivacySuccess, RowText::PrivacyFailed);
}

void DeviceManager::modifyAlarmInfo(QStringList* qstrList) {
    ApplierContext c;
    if (!openApplier(qstrList, "DeviceManager::modifyAlarmInfo", nullptr, &c))
        return;
    const OZM::_SC_ALARM_DATA_& t = c.templates().alarm;
    const int h = c.handle;
    auto md = zeroed<KvxMotionDetectInfo>();
    auto alarm = zeroed<KvxAlarmProperty>();
    alarm->byte0 = 0;
    alarm->byte1 = 1;
    static_assert(sizeof md->area == sizeof t.area, "motion area words");
    static_assert(sizeof alarm->schedule == sizeof t.schedule, "arming schedule");
    bool ok = false;
    if (c.loggedIn && KVX_NET_ClientGetMDInfoEx2(h, 0, md.get()) &&
        KVX_NET_GetAlarmPropertyEx(h, alarm.get())) {
        md->enable = t.enable;
        md->sensitivity = t.sensitivity;
        std::memcpy(md->area, t.area, sizeof md->area);
        if (KVX_NET_ClientSetMDInfoEx2(h, 0, md.get())) {
            alarm->byte0 = 0;
            alarm->byte1 = 1;
            std::memcpy(alarm->schedule, t.schedule, sizeof alarm->schedule);
            ok = KVX_NET_SetAlarmPropertyEx(h, alarm.get()) != 0;
        }
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyMotionDetect, ok, RowText::MotionSuccess,
                 RowText::MotionFailed);
}

void DeviceManager::modifyAudioBoard(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyAudioBoard";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c))
        return;
    const OZM::_SC_SETAUDIOINPUT_DATA_& t = c.templates().audioBoard;
    const int h = c.handle;
    auto buffer = zeroed<KvxCpldData>();
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetCpldData(h, buffer.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetCpldData", c.ip);
    } else {
        if (t.applyInput == 1)
            buffer->audioInput = t.input == 0 ? 5 : 2;
        if (t.applyLightBoardMode != 0)
            buffer->lightBoard = t.lightBoardMode == 0 ? 2 : t.lightBoardMode == 1 ? 3 : 7;
        int length = static_cast<int>(sizeof(KvxCpldData));
        ok = KVX_NET_SetCpldData(h, buffer.get(), &length) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_SetCpldData", c.ip);
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyAudioBoard, ok, RowText::AudioBoardSuccess,
                 RowText::AudioBoardFailed);
}
