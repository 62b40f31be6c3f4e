#include "quillet/Quillet.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <sys/stat.h>

namespace {

struct LogState {
    std::mutex mutex;
    std::string path;
    FILE* file = nullptr;
    unsigned long long size = 0;
    unsigned int maxSize = 0x500000;
    int maxFiles = 20;
    int level = 600;
    Qx_Log_Hook hook = nullptr;
    void* hookUser = nullptr;
    bool rotationFailed = false; // said once on stderr
};

LogState& state() {
    static LogState s;
    return s;
}

void closeFile(LogState& s) {
    if (s.file) {
        fclose(s.file);
        s.file = nullptr;
    }
}

bool openFile(LogState& s) {
    s.file = fopen(s.path.c_str(), "ab");
    if (!s.file)
        return false;
    struct stat st {};
    s.size = (fstat(fileno(s.file), &st) == 0) ? static_cast<unsigned long long>(st.st_size) : 0;
    return true;
}

// path.(n-2) -> path.(n-1), ..., path -> path.1; the oldest falls off. When the current file
// cannot be moved aside (a folder that refuses renames), it is emptied instead, so the cap holds;
// that is said once on stderr.
void rotate(LogState& s) {
    closeFile(s);
    bool moved = false;
    if (s.maxFiles > 1) {
        std::remove((s.path + "." + std::to_string(s.maxFiles - 1)).c_str());
        for (int i = s.maxFiles - 2; i >= 1; --i)
            std::rename((s.path + "." + std::to_string(i)).c_str(),
                        (s.path + "." + std::to_string(i + 1)).c_str());
        moved = std::rename(s.path.c_str(), (s.path + ".1").c_str()) == 0;
    } else {
        moved = std::remove(s.path.c_str()) == 0;
    }
    if (moved) {
        openFile(s);
        return;
    }
    const int error = errno;
    s.file = fopen(s.path.c_str(), "wb");
    s.size = 0;
    if (!s.rotationFailed) {
        s.rotationFailed = true;
        std::fprintf(stderr, "log: cannot rotate %s (%s); %s\n", s.path.c_str(), std::strerror(error),
                     s.file ? "it is emptied at its size limit instead" : "no more lines are written");
    }
}

// Control characters (a line feed from a peer, say) would forge or break lines: they are written
// as \xNN. Bytes from 0x80 on (UTF-8) pass.
void escapeControls(std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c >= 0x20 && c != 0x7F) {
            if (!out.empty())
                out.push_back(static_cast<char>(c));
            continue;
        }
        if (out.empty())
            out.assign(line, 0, i);
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
        out += escaped;
    }
    if (!out.empty())
        line.swap(out);
}

std::string timestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
    return buf;
}

} // namespace

extern "C" int Qx_Set_Log_File(const char* path, unsigned int maxSize, int maxFiles, const char*) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    closeFile(s);
    if (!path || !*path)
        return 0;
    s.path = path;
    s.maxSize = maxSize > 0 ? maxSize : 0x500000;
    s.maxFiles = maxFiles > 0 ? maxFiles : 1;
    return openFile(s) ? 1 : 0;
}

extern "C" int Qx_Set_Log_Level(int level) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.level = level;
    return 1;
}

extern "C" int Qx_Write_Log(int level, const char* function, const char* format, ...) {
    LogState& s = state();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (level > s.level)
            return 0;
    }
    char message[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format ? format : "", args);
    va_end(args);

    std::string line =
        timestamp() + " [" + std::to_string(level) + "] " + (function ? function : "") + ": " + message;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    escapeControls(line);

    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.file) {
        const unsigned long long need = line.size() + 1;
        if (s.size > 0 && s.size + need > s.maxSize)
            rotate(s);
        if (s.file) {
            std::fwrite(line.data(), 1, line.size(), s.file);
            std::fputc('\n', s.file);
            std::fflush(s.file);
            s.size += need;
        }
    }
    if (s.hook)
        s.hook(level, line.c_str(), s.hookUser);
    return 1;
}

extern "C" void Qx_Set_Log_Hook(Qx_Log_Hook hook, void* user) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.hook = hook;
    s.hookUser = user;
}

extern "C" void Qx_Close_Log(void) {
    LogState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    closeFile(s);
}
