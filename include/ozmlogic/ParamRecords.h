// Parameter records of the client framework's parameter store: the fifteen enable flags, the
// family records the other-parameter run applies, and the IP start-address record.
//
// The byte layout is fixed: little-endian, offsets from the start of the record, character
// fields hold NUL-terminated 8-bit text (readers stop at the field size), padding is zero.
// A record is zeroed ({} or memset) before it is loaded or filled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "parameter records are little-endian");

namespace OZM {

// Family index: the position of the family's flag in SC_OTHERPARAMENABLE and of its result
// in the other-parameter run's result record.
enum OtherParamFamily : int {
    FamilyTcpIp = 0,
    FamilyPort = 1,
    FamilyDdns = 2,
    FamilyP2p = 3,
    FamilyGb28181 = 4,
    FamilyVideo = 5,
    FamilyAudio = 6,
    FamilyOsd = 7,
    FamilyImage = 8,
    FamilyPrivacyMask = 9,
    FamilyMotionDetect = 10,
    FamilyAccount = 11,
    FamilyTime = 12,
    FamilyMaintain = 13,
    FamilyAudioBoard = 14,
    FamilyCount = 15
};

// Fifteen flags in family-index order. The run treats a family as enabled only when its flag
// is exactly 1; the editors write 1 or 0.
struct SC_OTHERPARAMENABLE {
    std::int32_t flag[FamilyCount];
};

// Family 0, TCP/IP.
struct _SC_TCP_IP_DATA {
    std::uint32_t dhcp;       // 1 on, anything else off
    char ip[16];              // start address of the run's new addresses (counted up per device)
    char mask[16];            // subnet mask
    char gateway[16];         // gateway
    std::uint32_t fullNetcom; // 1 on, 0 off
    char dns[16];             // DNS server
};

// Family 1, ports (sent as their low 16 bits).
struct _SC_PORT_DATA {
    std::int32_t httpPort;
    std::int32_t rtspPort;
    std::int32_t httpsPort;
    std::int32_t onvifPort;
    std::int32_t onvifEnable; // 1 on
};

// Family 2, DDNS.
struct _SC_DDNS_DATA {
    std::uint8_t enable;   // 1 on
    std::uint8_t provider; // index of the DDNS page's provider list
    char domain[32];
    char user[32];
    char password[32];
    char passwordConfirm[32]; // editor only, never sent
    std::uint8_t reserved[6];
};

// Family 3, P2P, is a plain int of the store (1 on).

// Family 4, GB28181.
struct _SC_GB28181_DATA {
    std::uint8_t enable;
    std::uint8_t accessMethod; // protocol version index, 0 = "GB/T28181-2016"
    std::uint8_t pad0[2];
    std::int32_t localSipPort;
    char sipServerId[40];
    char sipServerDomain[40];
    char sipServerAddress[20];
    std::int32_t sipServerPort;
    char user[40];
    char authId[40];
    char password[40];
    char passwordConfirm[40]; // editor only, never sent
    std::int32_t registerValidity;
    std::uint8_t status; // 0 not online, 1 online; shown only
    std::uint8_t pad1[3];
    std::int32_t heartbeatPeriod;
    std::uint8_t stream;    // 0 main, 1 sub, 2 third
    std::uint8_t transport; // 0 TCP, 1 UDP
    std::uint8_t pad2[2];
    std::int32_t registerInterval;
    std::int32_t maxHeartbeatTimeouts;
    char alarmId[40];
};

// Family 5, video: nine words for the main stream, eight for the sub stream.
struct _SC_SETVIDEO_DATA_ {
    std::uint32_t mainStream;     // stored as 0, not read by the run
    std::uint32_t mainReserved;   // not read
    std::uint32_t mainCodec;      // 0 first codec (H.264), non-zero second (H.265)
    std::uint32_t mainResolution; // 0 2304x1296, 1 1920x1080, other 1280x720
    std::uint32_t mainFrameRate;
    std::uint32_t mainBitrate;
    std::uint32_t mainBitrateMode; // 0 VBR, 1 CBR
    std::uint32_t mainIFrameInterval;
    std::uint32_t mainH265Plus; // main stream only
    std::uint32_t subStream;
    std::uint32_t subReserved;
    std::uint32_t subCodec;
    std::uint32_t subResolution; // 0 720x480, other 640x480
    std::uint32_t subFrameRate;
    std::uint32_t subBitrate;
    std::uint32_t subBitrateMode;
    std::uint32_t subIFrameInterval;
};

// Family 6, audio.
struct _SC_SETAUDIO_DATA_ {
    std::int32_t enable;       // 1 on
    std::int32_t input;        // 0 "Mic", 1 "Line in"
    std::int32_t codec;        // 0 or 1
    std::int32_t inputVolume;  // 0..100
    std::int32_t outputVolume; // 0..100
};

// Family 7, OSD (also edited by the OSD dialog; the text is the device name the table shows).
struct _SC_SETOSD_DATA_ {
    std::uint32_t showTime;   // non-zero shown
    std::uint32_t showText;   // non-zero shown
    std::uint32_t dateFormat; // 0 Y/M/D, 1 M/D/Y, 2 D/M/Y
    std::uint32_t position;   // 0 top left, non-zero bottom left
    char text[200];           // local 8-bit (GBK)
};

// Family 8, image (one byte per setting unless stated).
struct _SC_IMAGE_DATA_ {
    std::uint8_t luminance;
    std::uint8_t contrast;
    std::uint8_t saturation;
    std::uint8_t sharpness;
    std::uint8_t exposureMode; // 0 "Auto", 1 "Manual"
    std::uint8_t shutter;      // electronic shutter index
    std::uint8_t autoGain;     // 1 on
    std::uint8_t gain;
    std::uint8_t blc;             // 0 "Close", 1 "Open"
    std::uint8_t backlightAmount; // index
    std::uint8_t fillLightMode;   // 0 "Auto", 1 "DayTime", 2 "Night", 3 "Time"
    std::uint8_t keepColor;       // index
    std::uint8_t sensitivity;     // the number shown in its list
    std::uint8_t filterTime;      // the number shown in its list
    std::uint8_t pad0[2];
    std::int32_t dawnTime;        // hours * 60 + minutes
    std::int32_t darkTime;        // hours * 60 + minutes
    std::uint8_t lightMode;       // 0 "Auto", 1 "Manual"
    std::uint8_t lightBrightness; // 0..100
    std::uint8_t redGain;
    std::uint8_t greenGain;
    std::uint8_t blueGain;
    std::uint8_t whiteBalance; // 0 "Auto", 1 "Manual"
    std::uint8_t noiseMode;    // 0 auto, 1 2D, 2 3D, 3 2D/3D
    std::uint8_t noise2dLevel;
    std::uint8_t noise3dLevel;
    std::uint8_t flicker;    // 0 60 Hz, 1 50 Hz
    std::uint8_t wdrOn;      // 1 when the WDR list index is not 0
    std::uint8_t wdrLevel;   // WDR list index
    std::uint8_t dehazeMode; // index
    std::uint8_t dehazeIntensity;
    std::uint8_t distortion; // 0 "Closed", 1 "Open"
    std::uint8_t distortionIntensity;
    std::uint8_t mirror; // index
    std::uint8_t pad1[3];
};

// Family 9, privacy mask: three areas in pixels of the 507 x 300 editing frame; an all-zero
// area is empty.
struct SC_PRIVACY_AREA {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

struct _SC_SETPRIVACYMASKINFO_DATA_ {
    SC_PRIVACY_AREA area[3];
};

// One arming period of the weekly schedule; unused bytes are 0.
struct SC_ALARM_PERIOD {
    std::uint8_t beginHour;
    std::uint8_t beginMinute;
    std::uint8_t beginSecond;
    std::uint8_t reserved0;
    std::uint8_t endHour;
    std::uint8_t endMinute;
    std::uint8_t endSecond;
    std::uint8_t reserved1;
};

// Family 10, motion detection.
struct _SC_ALARM_DATA_ {
    std::uint8_t enable;
    std::uint8_t sensitivity; // 0..10
    std::uint8_t pad0[2];
    std::uint32_t area[32]; // rows 0..17 of the 18 x 22 grid, bit c = column c; 18..31 stay 0
    SC_ALARM_PERIOD schedule[7][8];
};

// Family 11, account.
struct _SC_ACCOUNT_DATA {
    char user[32];
    char password[32];
    char passwordConfirm[32]; // editor only
    std::uint32_t userType;   // 0..2, sent as one byte
    std::uint32_t reserved;
};

// Family 12, time.
struct _SC_SETTIME_DATA_ {
    std::uint16_t year;
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
    std::uint8_t updateMethod; // 0 NTP, 1 manual, 2 the computer's time
    std::uint8_t timeZone;     // index, offset = (index - 24) * 30 minutes
    std::uint8_t syncNvr;      // 1 on
    std::uint8_t ntpAutoSync;  // list index, 0 = on
    std::uint8_t pad0;
    std::int32_t ntpInterval;    // minutes, 1..10080
    std::int32_t ntpServerIndex; // 0..4 preset servers, 5 typed by the operator
    char ntpServer[200];
    std::uint8_t summerTime; // 1 on
    std::uint8_t summerStartMonth;
    std::uint8_t summerStartHour;
    std::uint8_t summerStartWeekday;
    std::uint8_t summerStartWeek;
    std::uint8_t summerEndMonth;
    std::uint8_t summerEndHour;
    std::uint8_t summerEndWeekday;
    std::uint8_t summerEndWeek;
    std::uint8_t summerOffset; // 0 = 30, 1 = 60, 2 = 90, other = 120 minutes
    std::uint8_t pad1[2];
};

// Family 13, timed restart (all sent as single bytes).
struct _SC_SETRESTARTREGULARLY_DATA_ {
    std::uint32_t enable; // 0 never, 1 restart regularly
    std::uint32_t period; // 0 every day, 1 weekly, 2 monthly
    std::uint32_t dayOfMonth;
    std::uint32_t hour;
    std::uint32_t minute;
    std::uint32_t spare;   // not edited; kept as loaded
    std::uint32_t weekday; // 0 Sunday .. 6 Saturday
};

// Family 14, audio and light board. All four apply flags 0: the run skips the family.
struct _SC_SETAUDIOINPUT_DATA_ {
    std::uint32_t applyInput;
    std::uint32_t applyTurnOnControl;
    std::uint32_t applyLightBoardMode;
    std::uint32_t applyBrightness;
    std::uint32_t input;          // 0 "Mic", non-zero the other input
    std::uint32_t turnOnControl;  // 0 "High Level", 1 "Low Level", 2 "Pwm"
    std::uint32_t lightBoardMode; // 0..4
    std::uint32_t brightness;     // 0..100, multiples of 10
};

// The IP start-address record of the IP batch.
struct _SC_SETIP_DATA_ {
    std::uint32_t mode; // 0 "Set IP Start Address", 1 "Modify IP Start Address"
    char ip[16];
    char mask[16];
    char gateway[16];
};

// ---- layout checks -------------------------------------------------------------------------

#define OZM_CHECK_RECORD(T, size)                                                                            \
    static_assert(sizeof(T) == (size), #T " size");                                                          \
    static_assert(std::is_standard_layout<T>::value && std::is_trivially_copyable<T>::value,                 \
                  #T " must be a plain record")
#define OZM_CHECK_FIELD(T, field, offset) static_assert(offsetof(T, field) == (offset), #T "." #field)

OZM_CHECK_RECORD(SC_OTHERPARAMENABLE, 60);
OZM_CHECK_FIELD(SC_OTHERPARAMENABLE, flag, 0);
OZM_CHECK_FIELD(SC_OTHERPARAMENABLE, flag[FamilyAudioBoard], 56);

OZM_CHECK_RECORD(_SC_TCP_IP_DATA, 72);
OZM_CHECK_FIELD(_SC_TCP_IP_DATA, dhcp, 0);
OZM_CHECK_FIELD(_SC_TCP_IP_DATA, ip, 4);
OZM_CHECK_FIELD(_SC_TCP_IP_DATA, mask, 20);
OZM_CHECK_FIELD(_SC_TCP_IP_DATA, gateway, 36);
OZM_CHECK_FIELD(_SC_TCP_IP_DATA, fullNetcom, 52);
OZM_CHECK_FIELD(_SC_TCP_IP_DATA, dns, 56);

OZM_CHECK_RECORD(_SC_PORT_DATA, 20);
OZM_CHECK_FIELD(_SC_PORT_DATA, httpPort, 0);
OZM_CHECK_FIELD(_SC_PORT_DATA, rtspPort, 4);
OZM_CHECK_FIELD(_SC_PORT_DATA, httpsPort, 8);
OZM_CHECK_FIELD(_SC_PORT_DATA, onvifPort, 12);
OZM_CHECK_FIELD(_SC_PORT_DATA, onvifEnable, 16);

OZM_CHECK_RECORD(_SC_DDNS_DATA, 136);
OZM_CHECK_FIELD(_SC_DDNS_DATA, enable, 0);
OZM_CHECK_FIELD(_SC_DDNS_DATA, provider, 1);
OZM_CHECK_FIELD(_SC_DDNS_DATA, domain, 2);
OZM_CHECK_FIELD(_SC_DDNS_DATA, user, 34);
OZM_CHECK_FIELD(_SC_DDNS_DATA, password, 66);
OZM_CHECK_FIELD(_SC_DDNS_DATA, passwordConfirm, 98);
OZM_CHECK_FIELD(_SC_DDNS_DATA, reserved, 130);

OZM_CHECK_RECORD(_SC_GB28181_DATA, 336);
OZM_CHECK_FIELD(_SC_GB28181_DATA, enable, 0);
OZM_CHECK_FIELD(_SC_GB28181_DATA, accessMethod, 1);
OZM_CHECK_FIELD(_SC_GB28181_DATA, localSipPort, 4);
OZM_CHECK_FIELD(_SC_GB28181_DATA, sipServerId, 8);
OZM_CHECK_FIELD(_SC_GB28181_DATA, sipServerDomain, 48);
OZM_CHECK_FIELD(_SC_GB28181_DATA, sipServerAddress, 88);
OZM_CHECK_FIELD(_SC_GB28181_DATA, sipServerPort, 108);
OZM_CHECK_FIELD(_SC_GB28181_DATA, user, 112);
OZM_CHECK_FIELD(_SC_GB28181_DATA, authId, 152);
OZM_CHECK_FIELD(_SC_GB28181_DATA, password, 192);
OZM_CHECK_FIELD(_SC_GB28181_DATA, passwordConfirm, 232);
OZM_CHECK_FIELD(_SC_GB28181_DATA, registerValidity, 272);
OZM_CHECK_FIELD(_SC_GB28181_DATA, status, 276);
OZM_CHECK_FIELD(_SC_GB28181_DATA, heartbeatPeriod, 280);
OZM_CHECK_FIELD(_SC_GB28181_DATA, stream, 284);
OZM_CHECK_FIELD(_SC_GB28181_DATA, transport, 285);
OZM_CHECK_FIELD(_SC_GB28181_DATA, registerInterval, 288);
OZM_CHECK_FIELD(_SC_GB28181_DATA, maxHeartbeatTimeouts, 292);
OZM_CHECK_FIELD(_SC_GB28181_DATA, alarmId, 296);

OZM_CHECK_RECORD(_SC_SETVIDEO_DATA_, 68);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainStream, 0);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainReserved, 4);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainCodec, 8);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainResolution, 12);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainFrameRate, 16);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainBitrate, 20);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainBitrateMode, 24);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainIFrameInterval, 28);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, mainH265Plus, 32);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subStream, 36);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subReserved, 40);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subCodec, 44);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subResolution, 48);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subFrameRate, 52);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subBitrate, 56);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subBitrateMode, 60);
OZM_CHECK_FIELD(_SC_SETVIDEO_DATA_, subIFrameInterval, 64);

OZM_CHECK_RECORD(_SC_SETAUDIO_DATA_, 20);
OZM_CHECK_FIELD(_SC_SETAUDIO_DATA_, enable, 0);
OZM_CHECK_FIELD(_SC_SETAUDIO_DATA_, input, 4);
OZM_CHECK_FIELD(_SC_SETAUDIO_DATA_, codec, 8);
OZM_CHECK_FIELD(_SC_SETAUDIO_DATA_, inputVolume, 12);
OZM_CHECK_FIELD(_SC_SETAUDIO_DATA_, outputVolume, 16);

OZM_CHECK_RECORD(_SC_SETOSD_DATA_, 216);
OZM_CHECK_FIELD(_SC_SETOSD_DATA_, showTime, 0);
OZM_CHECK_FIELD(_SC_SETOSD_DATA_, showText, 4);
OZM_CHECK_FIELD(_SC_SETOSD_DATA_, dateFormat, 8);
OZM_CHECK_FIELD(_SC_SETOSD_DATA_, position, 12);
OZM_CHECK_FIELD(_SC_SETOSD_DATA_, text, 16);

OZM_CHECK_RECORD(_SC_IMAGE_DATA_, 44);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, luminance, 0);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, contrast, 1);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, saturation, 2);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, sharpness, 3);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, exposureMode, 4);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, shutter, 5);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, autoGain, 6);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, gain, 7);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, blc, 8);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, backlightAmount, 9);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, fillLightMode, 10);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, keepColor, 11);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, sensitivity, 12);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, filterTime, 13);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, pad0, 14);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, dawnTime, 16);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, darkTime, 20);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, lightMode, 24);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, lightBrightness, 25);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, redGain, 26);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, greenGain, 27);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, blueGain, 28);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, whiteBalance, 29);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, noiseMode, 30);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, noise2dLevel, 31);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, noise3dLevel, 32);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, flicker, 33);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, wdrOn, 34);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, wdrLevel, 35);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, dehazeMode, 36);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, dehazeIntensity, 37);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, distortion, 38);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, distortionIntensity, 39);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, mirror, 40);
OZM_CHECK_FIELD(_SC_IMAGE_DATA_, pad1, 41);

OZM_CHECK_RECORD(SC_PRIVACY_AREA, 16);
OZM_CHECK_FIELD(SC_PRIVACY_AREA, x, 0);
OZM_CHECK_FIELD(SC_PRIVACY_AREA, y, 4);
OZM_CHECK_FIELD(SC_PRIVACY_AREA, width, 8);
OZM_CHECK_FIELD(SC_PRIVACY_AREA, height, 12);
OZM_CHECK_RECORD(_SC_SETPRIVACYMASKINFO_DATA_, 48);
OZM_CHECK_FIELD(_SC_SETPRIVACYMASKINFO_DATA_, area[1], 16);
OZM_CHECK_FIELD(_SC_SETPRIVACYMASKINFO_DATA_, area[2], 32);

OZM_CHECK_RECORD(SC_ALARM_PERIOD, 8);
OZM_CHECK_FIELD(SC_ALARM_PERIOD, beginHour, 0);
OZM_CHECK_FIELD(SC_ALARM_PERIOD, beginMinute, 1);
OZM_CHECK_FIELD(SC_ALARM_PERIOD, beginSecond, 2);
OZM_CHECK_FIELD(SC_ALARM_PERIOD, endHour, 4);
OZM_CHECK_FIELD(SC_ALARM_PERIOD, endMinute, 5);
OZM_CHECK_FIELD(SC_ALARM_PERIOD, endSecond, 6);
OZM_CHECK_RECORD(_SC_ALARM_DATA_, 580);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, enable, 0);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, sensitivity, 1);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, area, 4);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, area[18], 76);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, schedule, 132);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, schedule[1][0], 196);
OZM_CHECK_FIELD(_SC_ALARM_DATA_, schedule[6][7], 572);

OZM_CHECK_RECORD(_SC_ACCOUNT_DATA, 104);
OZM_CHECK_FIELD(_SC_ACCOUNT_DATA, user, 0);
OZM_CHECK_FIELD(_SC_ACCOUNT_DATA, password, 32);
OZM_CHECK_FIELD(_SC_ACCOUNT_DATA, passwordConfirm, 64);
OZM_CHECK_FIELD(_SC_ACCOUNT_DATA, userType, 96);
OZM_CHECK_FIELD(_SC_ACCOUNT_DATA, reserved, 100);

OZM_CHECK_RECORD(_SC_SETTIME_DATA_, 232);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, year, 0);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, month, 2);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, day, 3);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, hour, 4);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, minute, 5);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, second, 6);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, updateMethod, 7);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, timeZone, 8);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, syncNvr, 9);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, ntpAutoSync, 10);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, ntpInterval, 12);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, ntpServerIndex, 16);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, ntpServer, 20);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerTime, 220);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerStartMonth, 221);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerStartHour, 222);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerStartWeekday, 223);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerStartWeek, 224);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerEndMonth, 225);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerEndHour, 226);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerEndWeekday, 227);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerEndWeek, 228);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, summerOffset, 229);
OZM_CHECK_FIELD(_SC_SETTIME_DATA_, pad1, 230);

OZM_CHECK_RECORD(_SC_SETRESTARTREGULARLY_DATA_, 28);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, enable, 0);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, period, 4);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, dayOfMonth, 8);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, hour, 12);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, minute, 16);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, spare, 20);
OZM_CHECK_FIELD(_SC_SETRESTARTREGULARLY_DATA_, weekday, 24);

OZM_CHECK_RECORD(_SC_SETAUDIOINPUT_DATA_, 32);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, applyInput, 0);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, applyTurnOnControl, 4);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, applyLightBoardMode, 8);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, applyBrightness, 12);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, input, 16);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, turnOnControl, 20);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, lightBoardMode, 24);
OZM_CHECK_FIELD(_SC_SETAUDIOINPUT_DATA_, brightness, 28);

OZM_CHECK_RECORD(_SC_SETIP_DATA_, 52);
OZM_CHECK_FIELD(_SC_SETIP_DATA_, mode, 0);
OZM_CHECK_FIELD(_SC_SETIP_DATA_, ip, 4);
OZM_CHECK_FIELD(_SC_SETIP_DATA_, mask, 20);
OZM_CHECK_FIELD(_SC_SETIP_DATA_, gateway, 36);

#undef OZM_CHECK_FIELD
#undef OZM_CHECK_RECORD

} // namespace OZM
