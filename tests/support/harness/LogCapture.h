// Captures the log lines (Qx_Set_Log_Hook) while it exists. One capture at a time.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace harness {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();

    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    // Whether some line contains every given part.
    bool contains(const std::string& part) const;
    bool contains(const std::string& part, const std::string& other) const;
    int count(const std::string& part) const;
    void clear();

private:
    static void hook(int level, const char* line, void* user);

    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

} // namespace harness
