#include "winport/PrivateProfile.h"

#include "quillet/Quillet.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// One conversion direction of iconv, opened once; iconv descriptors are not thread-safe.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in whole; false when the input is not convertible.
    bool convert(const char* in, size_t inLen, char* out, size_t outCap, size_t* outLen) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        std::lock_guard<std::mutex> lock(mutex_);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t srcLeft = inLen;
        size_t dstLeft = outCap;
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0)
            return false;
        *outLen = outCap - dstLeft;
        return true;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

Converter& decoder() {
    static Converter c("WCHAR_T", "GBK");
    return c;
}

Converter& encoder() {
    static Converter c("GBK", "WCHAR_T");
    return c;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimBytes(const std::string& s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Compares two GBK names; ASCII letters match without regard to case, the second byte of a
// double-byte character is never folded.
bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x81 && ca <= 0xFE && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        const int la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
        const int lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
        if (la != lb)
            return false;
    }
    return true;
}

std::wstring trimWide(const std::wstring& s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t'))
        ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t'))
        --e;
    return s.substr(b, e - b);
}

std::wstring wide(const wchar_t* s) {
    return s ? std::wstring(s) : std::wstring();
}

std::string pathOf(const wchar_t* file) {
    // File names are UTF-8 on Linux.
    std::string out;
    for (const wchar_t* p = file; *p; ++p) {
        const std::uint32_t c = static_cast<std::uint32_t>(*p);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Largest ini file read; ours are a few KB.
constexpr off_t kMaxIniBytes = 4 * 1024 * 1024;

std::mutex g_fileMutex;

// Logs a refused file once until another refusal is logged (every key read opens the file again).
void logRefusal(const std::string& path, const struct stat& st, const char* why) {
    static std::string last;
    const std::string line = path + ": " + why;
    const std::string key = line + "/" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    if (key == last)
        return;
    last = key;
    Qx_Write_Log(300, "PrivateProfile", "ini file refused, %s", line.c_str());
}

bool readBounded(const std::string& path, std::string& data) {
    // Non-blocking open: a FIFO must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        logRefusal(path, st, "not a regular file");
        errno = EINVAL;
        return false;
    }
    if (st.st_size > kMaxIniBytes) {
        ::close(fd);
        logRefusal(path, st, "larger than 4 MB");
        errno = EFBIG;
        return false;
    }
    data.reserve(static_cast<size_t>(st.st_size));
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            errno = err;
            return false;
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (data.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxIniBytes)) {
            ::close(fd);
            logRefusal(path, st, "larger than 4 MB");
            errno = EFBIG;
            return false;
        }
        data.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// The file as lines of raw bytes, each without its line end.
class IniText {
public:
    // Reads a regular file of at most kMaxIniBytes; anything else is refused with a log line
    // (errno EINVAL for a file that is not regular, EFBIG for a large one).
    bool load(const std::string& path) {
        lines_.clear();
        eol_ = "\r\n";
        std::string data;
        if (!readBounded(path, data))
            return false;
        // A UTF-8 byte-order mark is not part of the first line's name.
        size_t pos = data.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        bool eolSeen = false;
        while (pos < data.size()) {
            size_t end = data.find('\n', pos);
            std::string line = data.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!eolSeen && end != std::string::npos) {
                eol_ = (end > pos && data[end - 1] == '\r') ? "\r\n" : "\n";
                eolSeen = true;
            }
            lines_.push_back(line);
            if (end == std::string::npos)
                break;
            pos = end + 1;
        }
        return true;
    }

    // Index of the section's header line, or -1.
    long findSection(const std::string& name) const {
        for (size_t i = 0; i < lines_.size(); ++i) {
            std::string s;
            if (sectionName(lines_[i], &s) && sameName(s, name))
                return static_cast<long>(i);
        }
        return -1;
    }

    // One past the section's last line (the next header or the end of the file).
    size_t sectionEnd(long header) const {
        size_t i = static_cast<size_t>(header) + 1;
        std::string dummy;
        while (i < lines_.size() && !sectionName(lines_[i], &dummy))
            ++i;
        return i;
    }

    long findKey(long header, const std::string& key) const {
        const size_t end = sectionEnd(header);
        for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
            std::string k, v;
            if (keyValue(lines_[i], &k, &v) && sameName(k, key))
                return static_cast<long>(i);
        }
        return -1;
    }

    static bool sectionName(const std::string& line, std::string* name) {
        const std::string t = trimBytes(line);
        if (t.empty() || t[0] != '[')
            return false;
        // The first ']' that is not the second byte of a double-byte character.
        size_t close = std::string::npos;
        for (size_t i = 1; i < t.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(t[i]);
            if (c == ']') {
                close = i;
                break;
            }
            if (c >= 0x81 && c <= 0xFE && i + 1 < t.size())
                ++i;
        }
        *name = trimBytes(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return true;
    }

    static bool keyValue(const std::string& line, std::string* key, std::string* value) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            return false;
        *key = trimBytes(line.substr(0, eq));
        if (key->empty() || (*key)[0] == ';')
            return false;
        *value = trimBytes(line.substr(eq + 1));
        return true;
    }

    bool save(const std::string& path) const {
        std::string data;
        for (const std::string& line : lines_) {
            data += line;
            data += eol_;
        }
        const size_t slash = path.rfind('/');
        const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
        std::string tmpl = dir + "/.ini-XXXXXX";
        std::vector<char> name(tmpl.begin(), tmpl.end());
        name.push_back('\0');
        const int fd = mkstemp(name.data());
        if (fd < 0)
            return false;
        struct stat st;
        if (::stat(path.c_str(), &st) == 0)
            fchmod(fd, st.st_mode & 07777);
        else
            fchmod(fd, 0644);
        size_t done = 0;
        while (done < data.size()) {
            const ssize_t w = ::write(fd, data.data() + done, data.size() - done);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                const int err = errno;
                ::close(fd);
                ::unlink(name.data());
                errno = err;
                return false;
            }
            done += static_cast<size_t>(w);
        }
        if (::fsync(fd) != 0 || ::close(fd) != 0) {
            const int err = errno;
            ::unlink(name.data());
            errno = err;
            return false;
        }
        if (::rename(name.data(), path.c_str()) != 0) {
            const int err = errno;
            ::unlink(name.data());
            errno = err;
            return false;
        }
        return true;
    }

    std::vector<std::string>& lines() { return lines_; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    std::string eol_ = "\r\n";
};

// Copies text into out as the platform does: at most size - 1 characters, terminated.
DWORD copyOut(const std::wstring& text, wchar_t* out, DWORD size) {
    if (!out || size == 0)
        return 0;
    const size_t n = std::min<size_t>(text.size(), size - 1);
    std::copy(text.begin(), text.begin() + static_cast<long>(n), out);
    out[n] = L'\0';
    return static_cast<DWORD>(n);
}

// Copies a list of names, each terminated, with a final extra terminator.
DWORD copyList(const std::vector<std::wstring>& names, wchar_t* out, DWORD size) {
    if (!out || size == 0)
        return 0;
    if (size < 2) {
        out[0] = L'\0';
        return 0;
    }
    size_t pos = 0;
    for (const std::wstring& n : names) {
        if (pos + n.size() + 1 > size - 1) {
            const size_t room = pos < size - 2 ? size - 2 - pos : 0;
            std::copy(n.begin(), n.begin() + static_cast<long>(std::min(room, n.size())), out + pos);
            out[size - 2] = L'\0';
            out[size - 1] = L'\0';
            return size - 2;
        }
        std::copy(n.begin(), n.end(), out + pos);
        pos += n.size();
        out[pos++] = L'\0';
    }
    out[pos] = L'\0';
    return static_cast<DWORD>(pos == 0 ? 0 : pos);
}

std::wstring stripQuotes(const std::wstring& v) {
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

} // namespace

namespace winport {

std::wstring fromGbk(const std::string& bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        // 0x80 is a character of its own (the euro sign); 0x81..0xFE lead a pair.
        const size_t width = c == 0x80 ? 1 : 2;
        if ((c == 0x80 || (c >= 0x81 && c <= 0xFE)) && i + width <= bytes.size()) {
            wchar_t w[2];
            size_t outLen = 0;
            if (decoder().convert(bytes.data() + i, width, reinterpret_cast<char*>(w), sizeof w, &outLen) &&
                outLen == sizeof(wchar_t)) {
                out += w[0];
                i += width;
                continue;
            }
        }
        out += static_cast<wchar_t>(0xFFFD);
        ++i;
    }
    return out;
}

std::string toGbk(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        if (w >= 0 && w < 0x80) {
            out += static_cast<char>(w);
            continue;
        }
        char buf[8];
        size_t outLen = 0;
        if (encoder().convert(reinterpret_cast<const char*>(&w), sizeof w, buf, sizeof buf, &outLen) &&
            outLen > 0)
            out.append(buf, outLen);
        else
            out += '?';
    }
    return out;
}

} // namespace winport

DWORD GetPrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* def, wchar_t* out,
                              DWORD size, const wchar_t* file) {
    if (!out || size == 0)
        return 0;
    out[0] = L'\0';
    std::wstring fallback = wide(def);
    while (!fallback.empty() && fallback.back() == L' ')
        fallback.pop_back();
    if (!file) {
        errno = EINVAL;
        return copyOut(fallback, out, size);
    }

    IniText ini;
    {
        std::lock_guard<std::mutex> lock(g_fileMutex);
        ini.load(pathOf(file));
    }

    if (!section) {
        std::vector<std::wstring> names;
        for (const std::string& line : ini.lines()) {
            std::string s;
            if (IniText::sectionName(line, &s))
                names.push_back(winport::fromGbk(s));
        }
        return copyList(names, out, size);
    }
    const long header = ini.findSection(winport::toGbk(trimWide(section)));
    if (!key) {
        std::vector<std::wstring> names;
        if (header >= 0) {
            const size_t end = ini.sectionEnd(header);
            for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
                std::string k, v;
                if (IniText::keyValue(ini.lines()[i], &k, &v))
                    names.push_back(winport::fromGbk(k));
            }
        }
        return copyList(names, out, size);
    }
    if (header < 0)
        return copyOut(fallback, out, size);
    const long line = ini.findKey(header, winport::toGbk(trimWide(key)));
    if (line < 0)
        return copyOut(fallback, out, size);
    std::string k, v;
    IniText::keyValue(ini.lines()[static_cast<size_t>(line)], &k, &v);
    return copyOut(stripQuotes(winport::fromGbk(v)), out, size);
}

UINT GetPrivateProfileInt(const wchar_t* section, const wchar_t* key, int def, const wchar_t* file) {
    wchar_t buf[64];
    const wchar_t marker[] = L"\x1\x2";
    if (!section || !key)
        return static_cast<UINT>(def);
    GetPrivateProfileString(section, key, marker, buf, 64, file);
    if (std::wcscmp(buf, marker) == 0)
        return static_cast<UINT>(def);
    const wchar_t* p = buf;
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (*p == L'-' || *p == L'+') {
        negative = *p == L'-';
        ++p;
    }
    unsigned long long value = 0;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) {
        p += 2;
        for (; *p; ++p) {
            int d;
            if (*p >= L'0' && *p <= L'9')
                d = *p - L'0';
            else if (*p >= L'a' && *p <= L'f')
                d = *p - L'a' + 10;
            else if (*p >= L'A' && *p <= L'F')
                d = *p - L'A' + 10;
            else
                break;
            value = (value * 16 + static_cast<unsigned>(d)) & 0xFFFFFFFFull;
        }
    } else {
        for (; *p >= L'0' && *p <= L'9'; ++p)
            value = (value * 10 + static_cast<unsigned>(*p - L'0')) & 0xFFFFFFFFull;
    }
    const UINT u = static_cast<UINT>(value);
    return negative ? 0u - u : u;
}

BOOL WritePrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                               const wchar_t* file) {
    if (!section || !file || !*file) {
        errno = EINVAL;
        return 0;
    }
    const std::string path = pathOf(file);
    const std::string sec = winport::toGbk(trimWide(section));
    std::lock_guard<std::mutex> lock(g_fileMutex);
    IniText ini;
    if (!ini.load(path) && errno != ENOENT)
        return 0;
    std::vector<std::string>& lines = ini.lines();
    long header = ini.findSection(sec);

    if (!key) {
        if (header < 0)
            return 1;
        const size_t end = ini.sectionEnd(header);
        lines.erase(lines.begin() + header, lines.begin() + static_cast<long>(end));
        return ini.save(path) ? 1 : 0;
    }
    const std::string k = winport::toGbk(trimWide(key));
    if (!value) {
        if (header < 0)
            return 1;
        const long line = ini.findKey(header, k);
        if (line < 0)
            return 1;
        lines.erase(lines.begin() + line);
        return ini.save(path) ? 1 : 0;
    }
    std::wstring v(value);
    const size_t brk = v.find_first_of(L"\r\n");
    if (brk != std::wstring::npos)
        v.resize(brk);
    const std::string entry = k + "=" + winport::toGbk(v);

    if (header < 0) {
        lines.push_back("[" + sec + "]");
        lines.push_back(entry);
        return ini.save(path) ? 1 : 0;
    }
    const long line = ini.findKey(header, k);
    if (line >= 0) {
        lines[static_cast<size_t>(line)] = entry;
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        size_t at = ini.sectionEnd(header);
        while (at > static_cast<size_t>(header) + 1 && trimBytes(lines[at - 1]).empty())
            --at;
        lines.insert(lines.begin() + static_cast<long>(at), entry);
    }
    return ini.save(path) ? 1 : 0;
}
