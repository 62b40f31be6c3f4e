// Runs a function when the scope ends, however it ends (an early return, a failed ASSERT).
#pragma once

#include <functional>
#include <utility>

namespace harness {

class AtExit {
public:
    explicit AtExit(std::function<void()> fn) : _fn(std::move(fn)) {}
    ~AtExit() {
        if (_fn)
            _fn();
    }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    std::function<void()> _fn;
};

} // namespace harness
