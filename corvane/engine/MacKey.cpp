#include "MacKey.h"

namespace mackey {

std::string key(const std::string& mac) {
    std::string out;
    out.reserve(mac.size());
    for (char c : mac) {
        if (c >= 'A' && c <= 'Z')
            out.push_back(static_cast<char>(c - 'A' + 'a'));
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            out.push_back(c);
    }
    if (out.empty() && !mac.empty())
        return "=" + mac;
    return out;
}

} // namespace mackey
