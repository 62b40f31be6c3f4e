// Limits on the waits of a test process. Each wait holds a Deadline; one that is still open when
// its limit passes ends the process at once (exit status 1) after printing what was waited for,
// the test and step it was in, the open windows and the modal dialogs with the code that opened
// them, and the main thread's stack. The whole process is also bounded below the ctest limit
// (CORVANE_TEST_TIMEOUT seconds, set by the build), so no test waits silently until it is killed.
#pragma once

#include <functional>
#include <string>

namespace harness {

class Deadline {
public:
    Deadline(std::string what, int limitMs);
    ~Deadline();

    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    unsigned long long m_id;
};

// Names the part of a test that runs while it exists (printed when a limit passes); steps nest.
class Step {
public:
    explicit Step(std::string name);
    ~Step();

    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
};

namespace watchdog {

// Hooks of the widget harness: `describe` runs on the main thread (through `post`) and lists the
// open windows; both are optional.
void setWindowHooks(std::function<std::string()> describe, std::function<void(std::function<void()>)> post);

// A modal dialog the closer saw open; call on the main thread, where the frames at that moment are
// kept (the code that opened it runs its exec() below them). Keyed by the dialog's address.
void noteModal(const void* key, const std::string& description);
void forgetModal(const void* key);

// Prints `message` and the process state as a passed limit does, then ends the process.
[[noreturn]] void fail(const std::string& message);

} // namespace watchdog

} // namespace harness
