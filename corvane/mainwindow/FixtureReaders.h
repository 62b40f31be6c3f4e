// The reader threads of the fixture tests: one per test kind, and the run they read for. A reader
// adds records only while its run is current; a new run, a logout or the end of a test ends it.
// Readers of an ended run may still wait in a request: they are kept and joined once done, or
// all at once by stop().
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class FixtureReaders {
public:
    FixtureReaders() = default;
    FixtureReaders(const FixtureReaders&) = delete;
    FixtureReaders& operator=(const FixtureReaders&) = delete;
    // Joins every reader.
    ~FixtureReaders();

    // Ends the running test's readers and begins a new run; its number.
    std::uint64_t beginRun();
    // Whether run is still the current one; any thread.
    bool isCurrent(std::uint64_t run) const { return m_run.load() == run; }
    // Ends the current run: its readers add nothing more; any thread.
    void endRun() { ++m_run; }

    // Starts the reader of this kind with its body; the previous one must have been retired.
    void start(bool audio, std::function<void()> body);
    // Ends the run and sets its readers aside; their requests finish in the background, those
    // already done are joined. GUI thread.
    void retire();
    // Retires the readers and joins every one: after a logout, which wakes their requests.
    void stop();

private:
    struct Reader {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done; // set by the thread as its last step
    };

    std::atomic<std::uint64_t> m_run{0};
    Reader m_audio;
    Reader m_gpio;
    std::vector<Reader> m_retired;
};
