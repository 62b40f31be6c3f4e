// Parameter store file, "ParamStore.bin" (all numbers little-endian):
//
//   offset 0   4 bytes  magic "CVPS"
//          4   u32      format version (1)
//          8   u32      number of entries
//         12   entries  { u32 id; u32 length; length bytes }
//        end   u32      CRC-32 (IEEE 802.3) of every byte before it
//
// Entry ids: 1 search time, 2 stream, 3 search full netcom, 4 language code (5 bytes),
// 5 wait time, 6 full netcom, 7 P2P (the ints as i32), 16 the IP start-address record,
// 17 the enable flags, 18..31 the family records in family-index order without P2P.
// Records are stored as their exact bytes. Unknown ids are skipped; an entry whose length does
// not match its record is skipped with a log line. A file that is short, has a wrong magic,
// version or checksum, or whose entries do not end exactly at the checksum loads as defaults
// with a log line; so does anything that is not a regular file or is larger than any valid store
// (it is not read). A save refuses a path that is not a regular file of this user (a link, a
// device), with a log line. The file is rewritten atomically (QSaveFile) on every set; a write that
// fails leaves the old file in place and the set reports it.
#include "ozmlogic/ParamsMgr.h"

#include "quillet/Quillet.h"
#include "winport/BoundedFileRead.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMagic[4] = {'C', 'V', 'P', 'S'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr int kLogError = 300;
constexpr int kLogInfo = 600;

enum EntryId : std::uint32_t {
    IdSearchTime = 1,
    IdStream = 2,
    IdSearchFullNetcom = 3,
    IdLanCode = 4,
    IdWaitTime = 5,
    IdFullNetcom = 6,
    IdP2p = 7,
    IdIp = 16,
    IdEnable = 17,
    IdTcpIp = 18,
    IdPort,
    IdDdns,
    IdGb28181,
    IdVideo,
    IdAudio,
    IdOsd,
    IdImage,
    IdPrivacy,
    IdAlarm,
    IdAccount,
    IdTime,
    IdMaintain,
    IdAudioBoard, // 31
};

std::uint32_t crc32(const char* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<std::uint8_t>(data[i])) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void putU32(QByteArray& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    out.append(bytes, 4);
}

std::uint32_t getU32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(u[0]) | (static_cast<std::uint32_t>(u[1]) << 8) |
           (static_cast<std::uint32_t>(u[2]) << 16) | (static_cast<std::uint32_t>(u[3]) << 24);
}

struct Slot {
    std::uint32_t id;
    void* data;
    std::size_t size;
};

bool isLanCode(const QByteArray& code) {
    return code == "zh_CN" || code == "en_US";
}

} // namespace

// ---- construction and file --------------------------------------------------------------------

ParamsMgr::ParamsMgr(const QString& folder) : _folder(folder) {
    _path = QDir(folder).filePath(QString::fromLatin1(kFileName));
    if (!QDir().mkpath(folder))
        Qx_Write_Log(kLogError, "ParamsMgr::ParamsMgr", "cannot create folder %s", qUtf8Printable(folder));
    removeStaleTemporaries();
    load();
}

void ParamsMgr::removeStaleTemporaries() {
    // A save killed between creating its temporary file and the rename leaves
    // "ParamStore.bin.XXXXXX" behind. One younger than a minute may belong to a save in progress
    // of another process on the same folder.
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QString prefix = QString::fromLatin1(kFileName) + QLatin1Char('.');
    const QFileInfoList entries = QDir(_folder).entryInfoList({prefix + QStringLiteral("??????")},
                                                              QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isFile() || entry.ownerId() != static_cast<uint>(getuid()) ||
            entry.lastModified().toUTC() > staleBefore)
            continue;
        if (QFile::remove(entry.filePath()))
            Qx_Write_Log(kLogInfo, "ParamsMgr::removeStaleTemporaries", "removed %s",
                         qUtf8Printable(entry.filePath()));
    }
}

QString ParamsMgr::defaultFolder() {
    const QByteArray env = qgetenv("CORVANE_CONFIG_DIR");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Corvane");
}

QString ParamsMgr::filePath() const {
    return _path;
}

bool ParamsMgr::lastSaveOk() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _lastSaveOk;
}

namespace {

// The fixed-size entries of a value set, in file order.
template <typename V> std::vector<Slot> slotsOf(V& v) {
    return {
        {IdSearchTime, &v.searchTime, sizeof v.searchTime},
        {IdStream, &v.stream, sizeof v.stream},
        {IdSearchFullNetcom, &v.searchFullNetcom, sizeof v.searchFullNetcom},
        {IdWaitTime, &v.waitTime, sizeof v.waitTime},
        {IdFullNetcom, &v.fullNetcom, sizeof v.fullNetcom},
        {IdP2p, &v.p2p, sizeof v.p2p},
        {IdIp, &v.ip, sizeof v.ip},
        {IdEnable, &v.enable, sizeof v.enable},
        {IdTcpIp, &v.tcpIp, sizeof v.tcpIp},
        {IdPort, &v.port, sizeof v.port},
        {IdDdns, &v.ddns, sizeof v.ddns},
        {IdGb28181, &v.gb28181, sizeof v.gb28181},
        {IdVideo, &v.video, sizeof v.video},
        {IdAudio, &v.audio, sizeof v.audio},
        {IdOsd, &v.osd, sizeof v.osd},
        {IdImage, &v.image, sizeof v.image},
        {IdPrivacy, &v.privacy, sizeof v.privacy},
        {IdAlarm, &v.alarm, sizeof v.alarm},
        {IdAccount, &v.account, sizeof v.account},
        {IdTime, &v.time, sizeof v.time},
        {IdMaintain, &v.maintain, sizeof v.maintain},
        {IdAudioBoard, &v.audioBoard, sizeof v.audioBoard},
    };
}

} // namespace

std::size_t ParamsMgr::maxFileSize() {
    Values values;
    std::size_t size = 12 + 8 + 5 + 4; // header, language entry, checksum
    for (const Slot& s : slotsOf(values))
        size += 8 + s.size;
    return size;
}

void ParamsMgr::load() {
    std::string bytes;
    std::string why;
    switch (winport::readRegularFile(QFile::encodeName(_path).toStdString(), maxFileSize(), &bytes, &why)) {
    case winport::FileReadResult::Ok:
        break;
    case winport::FileReadResult::Missing:
        Qx_Write_Log(kLogInfo, "ParamsMgr::load", "no store file %s, using defaults", qUtf8Printable(_path));
        return;
    default:
        Qx_Write_Log(kLogError, "ParamsMgr::load", "cannot read %s (%s), using defaults",
                     qUtf8Printable(_path), why.c_str());
        return;
    }
    const char* p = bytes.data();
    const std::size_t size = bytes.size();

    auto reject = [this](const char* why) {
        Qx_Write_Log(kLogError, "ParamsMgr::load", "store file %s %s, using defaults", qUtf8Printable(_path),
                     why);
    };
    if (size < 16)
        return reject("is too short");
    if (std::memcmp(p, kMagic, 4) != 0)
        return reject("has a wrong magic");
    if (getU32(p + 4) != kFormatVersion)
        return reject("has an unknown version");
    if (getU32(p + size - 4) != crc32(p, size - 4))
        return reject("has a wrong checksum");

    Values loaded;
    std::vector<Slot> entries = slotsOf(loaded);
    const std::uint32_t count = getU32(p + 8);
    std::size_t pos = 12;
    const std::size_t end = size - 4;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (end - pos < 8)
            return reject("has a truncated entry");
        const std::uint32_t id = getU32(p + pos);
        const std::uint32_t length = getU32(p + pos + 4);
        pos += 8;
        if (length > end - pos)
            return reject("has a truncated entry");
        const char* data = p + pos;
        pos += length;
        if (id == IdLanCode) {
            const QByteArray code(data, static_cast<int>(length));
            if (isLanCode(code))
                loaded.lanCode = code;
            else
                Qx_Write_Log(kLogError, "ParamsMgr::load", "ignored language code of %u bytes", length);
            continue;
        }
        const auto slot =
            std::find_if(entries.begin(), entries.end(), [id](const Slot& s) { return s.id == id; });
        if (slot == entries.end())
            continue;
        if (slot->size != length) {
            Qx_Write_Log(kLogError, "ParamsMgr::load", "ignored entry %u of %u bytes (expected %zu)", id,
                         length, slot->size);
            continue;
        }
        std::memcpy(slot->data, data, length);
    }
    if (pos != end)
        return reject("has bytes after its entries");

    // Settings outside their ranges fall back into them.
    loaded.searchTime = std::clamp<std::int32_t>(loaded.searchTime, kSearchTimeMin, kSearchTimeMax);
    if (loaded.stream != 0 && loaded.stream != 1)
        loaded.stream = kDefaultStream;
    loaded.searchFullNetcom = loaded.searchFullNetcom != 0 ? 1 : 0;
    loaded.waitTime = std::clamp<std::int32_t>(loaded.waitTime, kWaitTimeMin, kWaitTimeMax);
    loaded.fullNetcom = loaded.fullNetcom != 0 ? 1 : 0;
    loaded.p2p = loaded.p2p == 1 ? 1 : 0; // 1 on, every other value off
    _values = loaded;
}

bool ParamsMgr::saveLocked(const char* function) {
    QByteArray out;
    out.append(kMagic, 4);
    putU32(out, kFormatVersion);
    std::vector<Slot> entries = slotsOf(_values);
    putU32(out, static_cast<std::uint32_t>(entries.size() + 1));
    for (const Slot& s : entries) {
        putU32(out, s.id);
        putU32(out, static_cast<std::uint32_t>(s.size));
        out.append(static_cast<const char*>(s.data), static_cast<int>(s.size));
    }
    putU32(out, IdLanCode);
    putU32(out, static_cast<std::uint32_t>(_values.lanCode.size()));
    out.append(_values.lanCode);
    putU32(out, crc32(out.constData(), static_cast<std::size_t>(out.size())));

    QDir().mkpath(_folder);
    // The save would write through a link (over its target) or replace what is not ours: like the
    // load, it takes only a regular file of this user, or none.
    struct stat st {};
    if (::lstat(QFile::encodeName(_path).constData(), &st) == 0 &&
        (!S_ISREG(st.st_mode) || st.st_uid != ::getuid())) {
        Qx_Write_Log(kLogError, function, "refusing to write %s: not a regular file of this user",
                     qUtf8Printable(_path));
        _lastSaveOk = false;
        return false;
    }
    // Unbuffered, and every step checked before the rename: a buffered write error (a full
    // disk) would otherwise only surface in commit's close, after the old file was replaced.
    QSaveFile file(_path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    ok = ok && file.write(out) == out.size();
    ok = ok && file.flush();
    if (!ok) {
        const QString why = file.errorString();
        file.cancelWriting();
        Qx_Write_Log(kLogError, function, "cannot write %s: %s", qUtf8Printable(_path), qUtf8Printable(why));
    } else if (!file.commit()) {
        ok = false;
        Qx_Write_Log(kLogError, function, "cannot write %s: %s", qUtf8Printable(_path),
                     qUtf8Printable(file.errorString()));
    }
    _lastSaveOk = ok;
    return ok;
}

template <typename T> void ParamsMgr::getRecord(const T& stored, T* out) const {
    if (!out)
        return;
    std::lock_guard<std::mutex> lock(_mutex);
    std::memcpy(out, &stored, sizeof(T));
}

template <typename T> bool ParamsMgr::setRecord(T& stored, const T* in, const char* function) {
    if (!in)
        return false;
    std::lock_guard<std::mutex> lock(_mutex);
    std::memcpy(&stored, in, sizeof(T));
    return saveLocked(function);
}

bool ParamsMgr::setInt(std::int32_t& stored, std::int32_t value, const char* function) {
    std::lock_guard<std::mutex> lock(_mutex);
    stored = value;
    return saveLocked(function);
}

// ---- settings ----------------------------------------------------------------------------------

int ParamsMgr::getSearchTime() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _values.searchTime;
}

bool ParamsMgr::setSearchTime(int seconds) {
    return setInt(_values.searchTime, std::clamp(seconds, kSearchTimeMin, kSearchTimeMax),
                  "ParamsMgr::setSearchTime");
}

int ParamsMgr::getStream() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _values.stream;
}

bool ParamsMgr::setStream(int stream) {
    if (stream != 0 && stream != 1) {
        Qx_Write_Log(kLogError, "ParamsMgr::setStream", "refused stream %d", stream);
        return false;
    }
    return setInt(_values.stream, stream, "ParamsMgr::setStream");
}

int ParamsMgr::getSearchFullNetcom() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _values.searchFullNetcom;
}

bool ParamsMgr::setSearchFullNetcom(int on) {
    return setInt(_values.searchFullNetcom, on != 0 ? 1 : 0, "ParamsMgr::setSearchFullNetcom");
}

QString ParamsMgr::currentLanCode() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return QString::fromLatin1(_values.lanCode);
}

bool ParamsMgr::setCurrentLanCode(const QString& code) {
    const QByteArray latin = code.toLatin1();
    if (!isLanCode(latin)) {
        Qx_Write_Log(kLogError, "ParamsMgr::setCurrentLanCode", "refused language code \"%s\"",
                     qUtf8Printable(code));
        return false;
    }
    std::lock_guard<std::mutex> lock(_mutex);
    _values.lanCode = latin;
    return saveLocked("ParamsMgr::setCurrentLanCode");
}

int ParamsMgr::getWaitInfo() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _values.waitTime;
}

bool ParamsMgr::setWaitInfo(int seconds) {
    return setInt(_values.waitTime, std::clamp(seconds, kWaitTimeMin, kWaitTimeMax),
                  "ParamsMgr::setWaitInfo");
}

int ParamsMgr::getFullNetcom() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _values.fullNetcom;
}

bool ParamsMgr::setFullNetcom(int value) {
    return setInt(_values.fullNetcom, value != 0 ? 1 : 0, "ParamsMgr::setFullNetcom");
}

QString ParamsMgr::appName() const {
    return QStringLiteral("Corvane");
}
QString ParamsMgr::manufacturers() const {
    return QStringLiteral("Corvane");
}
QString ParamsMgr::version() const {
    return QStringLiteral("1.0.0");
}

// ---- records -----------------------------------------------------------------------------------

void ParamsMgr::getIpInfo(OZM::_SC_SETIP_DATA_* info) const {
    getRecord(_values.ip, info);
}
bool ParamsMgr::setIpInfo(const OZM::_SC_SETIP_DATA_* info) {
    return setRecord(_values.ip, info, "ParamsMgr::setIpInfo");
}

void ParamsMgr::getOtherParamEnable(OZM::SC_OTHERPARAMENABLE* info) const {
    getRecord(_values.enable, info);
}
bool ParamsMgr::setOtherParamEnable(const OZM::SC_OTHERPARAMENABLE* info) {
    return setRecord(_values.enable, info, "ParamsMgr::setOtherParamEnable");
}

void ParamsMgr::getTcpIpInfo(OZM::_SC_TCP_IP_DATA* info) const {
    getRecord(_values.tcpIp, info);
}
bool ParamsMgr::setTcpIpInfo(const OZM::_SC_TCP_IP_DATA* info) {
    return setRecord(_values.tcpIp, info, "ParamsMgr::setTcpIpInfo");
}

void ParamsMgr::getPortParamInfo(OZM::_SC_PORT_DATA* info) const {
    getRecord(_values.port, info);
}
bool ParamsMgr::setPortParamInfo(const OZM::_SC_PORT_DATA* info) {
    return setRecord(_values.port, info, "ParamsMgr::setPortParamInfo");
}

void ParamsMgr::getDDNSInfo(OZM::_SC_DDNS_DATA* info) const {
    getRecord(_values.ddns, info);
}
bool ParamsMgr::setDDNSInfo(const OZM::_SC_DDNS_DATA* info) {
    return setRecord(_values.ddns, info, "ParamsMgr::setDDNSInfo");
}

int ParamsMgr::getP2PInfo() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _values.p2p;
}
bool ParamsMgr::setP2pInfo(int on) {
    return setInt(_values.p2p, on == 1 ? 1 : 0, "ParamsMgr::setP2pInfo");
}

void ParamsMgr::getGb28181Info(OZM::_SC_GB28181_DATA* info) const {
    getRecord(_values.gb28181, info);
}
bool ParamsMgr::setGb28181Info(const OZM::_SC_GB28181_DATA* info) {
    return setRecord(_values.gb28181, info, "ParamsMgr::setGb28181Info");
}

void ParamsMgr::getVideoInfo(OZM::_SC_SETVIDEO_DATA_* info) const {
    getRecord(_values.video, info);
}
bool ParamsMgr::setVideoInfo(const OZM::_SC_SETVIDEO_DATA_* info) {
    return setRecord(_values.video, info, "ParamsMgr::setVideoInfo");
}

void ParamsMgr::getAudioInfo(OZM::_SC_SETAUDIO_DATA_* info) const {
    getRecord(_values.audio, info);
}
bool ParamsMgr::setAudioInfo(const OZM::_SC_SETAUDIO_DATA_* info) {
    return setRecord(_values.audio, info, "ParamsMgr::setAudioInfo");
}

void ParamsMgr::getOsdInfo(OZM::_SC_SETOSD_DATA_* info) const {
    getRecord(_values.osd, info);
}
bool ParamsMgr::setOsdInfo(const OZM::_SC_SETOSD_DATA_* info) {
    return setRecord(_values.osd, info, "ParamsMgr::setOsdInfo");
}

void ParamsMgr::getImageInfo(OZM::_SC_IMAGE_DATA_* info) const {
    getRecord(_values.image, info);
}
bool ParamsMgr::setImageInfo(const OZM::_SC_IMAGE_DATA_* info) {
    return setRecord(_values.image, info, "ParamsMgr::setImageInfo");
}

void ParamsMgr::getPrivacyMaskInfo(OZM::_SC_SETPRIVACYMASKINFO_DATA_* info) const {
    getRecord(_values.privacy, info);
}
bool ParamsMgr::setPrivacyMaskInfo(const OZM::_SC_SETPRIVACYMASKINFO_DATA_* info) {
    return setRecord(_values.privacy, info, "ParamsMgr::setPrivacyMaskInfo");
}

void ParamsMgr::getAlarmInfo(OZM::_SC_ALARM_DATA_* info) const {
    getRecord(_values.alarm, info);
}
bool ParamsMgr::setAlarmInfo(const OZM::_SC_ALARM_DATA_* info) {
    return setRecord(_values.alarm, info, "ParamsMgr::setAlarmInfo");
}

void ParamsMgr::getAccountInfo(OZM::_SC_ACCOUNT_DATA* info) const {
    getRecord(_values.account, info);
}
bool ParamsMgr::setAccountInfo(const OZM::_SC_ACCOUNT_DATA* info) {
    return setRecord(_values.account, info, "ParamsMgr::setAccountInfo");
}

void ParamsMgr::getTimeInfo(OZM::_SC_SETTIME_DATA_* info) const {
    getRecord(_values.time, info);
}
bool ParamsMgr::setTimeInfo(const OZM::_SC_SETTIME_DATA_* info) {
    return setRecord(_values.time, info, "ParamsMgr::setTimeInfo");
}

void ParamsMgr::getMaintainInfo(OZM::_SC_SETRESTARTREGULARLY_DATA_* info) const {
    getRecord(_values.maintain, info);
}
bool ParamsMgr::setMaintainInfo(const OZM::_SC_SETRESTARTREGULARLY_DATA_* info) {
    return setRecord(_values.maintain, info, "ParamsMgr::setMaintainInfo");
}

void ParamsMgr::getAudioBoard(OZM::_SC_SETAUDIOINPUT_DATA_* info) const {
    getRecord(_values.audioBoard, info);
}
bool ParamsMgr::setAudioBoard(const OZM::_SC_SETAUDIOINPUT_DATA_* info) {
    return setRecord(_values.audioBoard, info, "ParamsMgr::setAudioBoard");
}

// ---- the process's store -----------------------------------------------------------------------

ParamsMgr* ozmParamsMgr() {
    // Never destroyed: detached engine threads may still read it while the process exits.
    static ParamsMgr* const instance = new ParamsMgr(ParamsMgr::defaultFolder());
    return instance;
}
