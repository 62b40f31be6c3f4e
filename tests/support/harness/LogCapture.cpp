#include "harness/LogCapture.h"

#include "quillet/Quillet.h"

namespace harness {

LogCapture::LogCapture() {
    Qx_Set_Log_Hook(&LogCapture::hook, this);
}

LogCapture::~LogCapture() {
    Qx_Set_Log_Hook(nullptr, nullptr);
}

void LogCapture::hook(int, const char* line, void* user) {
    auto* self = static_cast<LogCapture*>(user);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_lines.emplace_back(line ? line : "");
}

std::vector<std::string> LogCapture::lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

bool LogCapture::contains(const std::string& part) const {
    return count(part) > 0;
}

bool LogCapture::contains(const std::string& part, const std::string& other) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const std::string& line : m_lines) {
        if (line.find(part) != std::string::npos && line.find(other) != std::string::npos) {
            return true;
        }
    }
    return false;
}

int LogCapture::count(const std::string& part) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (const std::string& line : m_lines) {
        if (line.find(part) != std::string::npos) {
            ++n;
        }
    }
    return n;
}

void LogCapture::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

} // namespace harness
