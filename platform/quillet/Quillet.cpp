#include "quillet/Quillet.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
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

// path.(n-2) -> path.(n-1), ..., path -> path.1; the oldest falls off.
void rotate(LogState& s) {
    closeFile(s);
    if (s.maxFiles > 1) {
        std::remove((s.path + "." + std::to_string(s.maxFiles - 1)).c_str());
        for (int i = s.maxFiles - 2; i >= 1; --i)
            std::rename((s.path + "." + std::to_string(i)).c_str(), (s.path + "." + std::to_string(i + 1)).c_str());
        std::rename(s.path.c_str(), (s.path + ".1").c_str());
    } else {
        std::remove(s.path.c_str());
    }
    openFile(s);
}

std::string timestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm {};
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

    std::string line = timestamp() + " [" + std::to_string(level) + "] " + (function ? function : "") + ": " + message;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();

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
