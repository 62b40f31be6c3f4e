#include "FixtureReaders.h"

#include <utility>

FixtureReaders::~FixtureReaders() {
    stop();
}

std::uint64_t FixtureReaders::beginRun() {
    retire();
    return ++m_run;
}

void FixtureReaders::start(bool audio, std::function<void()> body) {
    Reader& reader = audio ? m_audio : m_gpio;
    reader.done = std::make_shared<std::atomic<bool>>(false);
    reader.thread = std::thread([body = std::move(body), done = reader.done] {
        body();
        done->store(true);
    });
}

void FixtureReaders::retire() {
    ++m_run;
    for (Reader* reader : {&m_audio, &m_gpio}) {
        if (reader->thread.joinable())
            m_retired.push_back(std::move(*reader));
        *reader = Reader{};
    }
    for (auto it = m_retired.begin(); it != m_retired.end();) {
        if (it->done->load()) {
            it->thread.join(); // it has finished its work: returns at once
            it = m_retired.erase(it);
        } else {
            ++it;
        }
    }
}

void FixtureReaders::stop() {
    retire();
    for (Reader& reader : m_retired)
        reader.thread.join();
    m_retired.clear();
}
