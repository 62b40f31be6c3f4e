#include "harness/Watchdog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <execinfo.h>
#include <map>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <vector>

namespace harness {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxFrames = 64;

struct Wait {
    std::string what;
    int limitMs;
    Clock::time_point end;
};

struct Modal {
    std::string description;
    std::vector<void*> frames;
};

// Lives for the whole process (never destroyed: the watchdog thread may still wait at exit).
struct State {
    std::mutex mutex;
    std::condition_variable changed;
    std::map<unsigned long long, Wait> waits;
    unsigned long long nextId = 1;
    std::vector<std::string> steps;
    std::string test;
    std::map<const void*, Modal> modals;
    std::function<std::string()> describe;
    std::function<void(std::function<void()>)> post;
    pthread_t mainThread{};
    bool threadStarted = false;
};

State& state() {
    static State* s = new State;
    return *s;
}

// The main thread's frames, taken by its own signal handler.
void* g_stack[kMaxFrames];
std::atomic<int> g_stackCount{-1};

void stackHandler(int) {
    g_stackCount.store(backtrace(g_stack, kMaxFrames));
}

std::string demangled(const char* symbol) {
    // "file(name+0x12) [0x...]": the name between '(' and '+'.
    const char* open = std::strchr(symbol, '(');
    const char* plus = open ? std::strchr(open, '+') : nullptr;
    if (!open || !plus || plus == open + 1)
        return symbol;
    const std::string mangled(open + 1, plus);
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status), &std::free);
    std::string out = status == 0 && name ? name.get() : mangled;
    const char* file = std::strrchr(symbol, '/');
    const std::string where(file ? file + 1 : symbol, open);
    return out + "  [" + where + "]";
}

// Symbolic frames, innermost first. fromLoop: only the frames from the innermost exec() of a
// dialog or event loop outwards (the code that opened the dialog), at most 12 of them.
std::string frames(void* const* stack, int count, bool fromLoop = false) {
    std::string out;
    std::unique_ptr<char*, decltype(&std::free)> symbols(backtrace_symbols(stack, count), &std::free);
    bool printing = !fromLoop;
    int printed = 0;
    for (int i = 0; i < count; ++i) {
        const std::string line = symbols ? demangled(symbols.get()[i]) : std::string("?");
        if (!printing && line.find("::exec(") != std::string::npos &&
            line.find("QEventLoop::") == std::string::npos)
            printing = true;
        if (!printing || (fromLoop && ++printed > 12))
            continue;
        // The harness's own frames say nothing about the wait.
        if (line.find("harness::watchdog") != std::string::npos ||
            line.find("stackHandler") != std::string::npos)
            continue;
        out += "      " + line + "\n";
    }
    return out.empty() && fromLoop ? frames(stack, count, false) : out;
}

void print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

// What the main thread shows, asked through its event loop; empty when it does not answer.
std::string windows(State& s) {
    std::function<std::string()> describe;
    std::function<void(std::function<void()>)> post;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        describe = s.describe;
        post = s.post;
    }
    if (!describe || !post)
        return "      (not known: this test does not use the widget harness)\n";
    struct Answer {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
        std::string text;
    };
    auto answer = std::make_shared<Answer>();
    post([answer, describe] {
        std::string text = describe();
        std::lock_guard<std::mutex> lock(answer->mutex);
        answer->text = std::move(text);
        answer->done = true;
        answer->cv.notify_all();
    });
    std::unique_lock<std::mutex> lock(answer->mutex);
    if (!answer->cv.wait_for(lock, std::chrono::seconds(2), [&] { return answer->done; }))
        return {};
    return answer->text;
}

[[noreturn]] void failNow(const std::string& message) {
    State& s = state();
    std::string head = "\n*** " + message + "\n";
    std::map<const void*, Modal> modals;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        head += "    test: " + (s.test.empty() ? std::string("(none running)") : s.test) + "\n";
        if (!s.steps.empty()) {
            head += "    step:";
            for (const std::string& step : s.steps)
                head += " > " + step;
            head += "\n";
        }
        for (const auto& [id, wait] : s.waits)
            head += "    open wait: " + wait.what + " (limit " + std::to_string(wait.limitMs) + " ms)\n";
        modals = s.modals;
    }
    print(head);
    std::string shown;
    if (pthread_equal(s.mainThread, pthread_self())) {
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.describe)
            shown = s.describe();
    } else {
        shown = windows(s);
    }
    print(shown.empty()
              ? "    open windows: the main thread did not answer within 2 s (not in an event loop)\n"
              : "    open windows:\n" + shown);
    for (const auto& [key, modal] : modals)
        print("    modal dialog " + modal.description + ", opened from:\n" +
              frames(modal.frames.data(), static_cast<int>(modal.frames.size()), true));
    if (!pthread_equal(s.mainThread, pthread_self())) {
        g_stackCount.store(-1);
        if (pthread_kill(s.mainThread, SIGUSR2) == 0) {
            const auto end = Clock::now() + std::chrono::seconds(2);
            while (g_stackCount.load() < 0 && Clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const int count = g_stackCount.load();
        print(count < 0 ? "    main thread stack: no answer\n"
                        : "    main thread stack:\n" + frames(g_stack, count));
    }
    print("*** ending the test process\n");
    std::_Exit(1);
}

void run(State& s) {
    std::unique_lock<std::mutex> lock(s.mutex);
    for (;;) {
        if (s.waits.empty()) {
            s.changed.wait(lock);
            continue;
        }
        auto first = s.waits.begin();
        for (auto it = s.waits.begin(); it != s.waits.end(); ++it) {
            if (it->second.end < first->second.end)
                first = it;
        }
        // A copy: the wait reads its limit again after waking, when the entry may be gone.
        const Clock::time_point end = first->second.end;
        if (Clock::now() < end) {
            s.changed.wait_until(lock, end);
            continue;
        }
        const Wait passed = first->second;
        lock.unlock();
        failNow("wait limit passed: " + passed.what + " still not done after " +
                std::to_string(passed.limitMs) + " ms");
    }
}

void ensureThread(State& s) {
    // Called with the mutex held.
    if (s.threadStarted)
        return;
    s.threadStarted = true;
    std::thread(run, std::ref(s)).detach();
}

class Listener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& info) override {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.test = std::string(info.test_suite_name()) + "." + info.name();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.test.clear();
    }
};

// Set up before main(): the main thread, its stack handler, the test names and the process limit.
struct Start {
    Start() {
        State& s = state();
        s.mainThread = pthread_self();
        void* warm[4];
        backtrace(warm, 4); // loads the unwinder outside the handler
        struct sigaction action;
        std::memset(&action, 0, sizeof action);
        action.sa_handler = &stackHandler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGUSR2, &action, nullptr);
        ::testing::UnitTest::GetInstance()->listeners().Append(new Listener);
        const char* limit = std::getenv("CORVANE_TEST_TIMEOUT");
        const int seconds = limit ? std::atoi(limit) : 0;
        if (seconds > 0) {
            // Well before ctest's own limit, so the failure names what hung.
            static Deadline process("the test process to end (ctest limit " + std::to_string(seconds) + " s)",
                                    seconds * 850);
        }
    }
};
const Start g_start;

} // namespace

Deadline::Deadline(std::string what, int limitMs) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    m_id = s.nextId++;
    s.waits[m_id] = Wait{std::move(what), limitMs, Clock::now() + std::chrono::milliseconds(limitMs)};
    ensureThread(s);
    s.changed.notify_all();
}

Deadline::~Deadline() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.waits.erase(m_id);
    s.changed.notify_all();
}

Step::Step(std::string name) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.steps.push_back(std::move(name));
}

Step::~Step() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.steps.empty())
        s.steps.pop_back();
}

namespace watchdog {

void setWindowHooks(std::function<std::string()> describe, std::function<void(std::function<void()>)> post) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.describe = std::move(describe);
    s.post = std::move(post);
}

void noteModal(const void* key, const std::string& description) {
    Modal modal;
    modal.description = description;
    modal.frames.resize(kMaxFrames);
    modal.frames.resize(static_cast<std::size_t>(backtrace(modal.frames.data(), kMaxFrames)));
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.modals[key] = std::move(modal);
}

void forgetModal(const void* key) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.modals.erase(key);
}

void fail(const std::string& message) {
    failNow(message);
}

} // namespace watchdog

} // namespace harness
