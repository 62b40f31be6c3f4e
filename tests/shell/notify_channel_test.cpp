#include "ozmlogic/IClientUiElement.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

class Element : public IClientUiElement {
public:
    void setNotify(const OZM::_NOTIFY_PARAM*) override {}
};

struct Latch {
    std::mutex mutex;
    std::condition_variable cv;
    bool open = false;
    void release() {
        std::lock_guard<std::mutex> lock(mutex);
        open = true;
        cv.notify_all();
    }
    void wait() {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait(lock, [this] { return open; });
    }
};

class NotifyChannel : public ::testing::Test {
protected:
    void TearDown() override { IClientUiElement::setNotifyCallBack(nullptr, nullptr); }
    Element element;
};

TEST_F(NotifyChannel, CallbackRunsSynchronouslyOnEachCallersThread) {
    struct Seen {
        std::mutex mutex;
        std::vector<std::pair<std::thread::id, int>> calls;
    } seen;
    IClientUiElement::setNotifyCallBack(
        [](const OZM::_NOTIFY_PARAM* p, void* user) {
            auto* s = static_cast<Seen*>(user);
            std::lock_guard<std::mutex> lock(s->mutex);
            s->calls.emplace_back(std::this_thread::get_id(), p->type);
            return 0;
        },
        &seen);

    std::vector<std::thread> threads;
    std::vector<std::thread::id> ids(4);
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            ids[i] = std::this_thread::get_id();
            OZM::_NOTIFY_PARAM param;
            param.type = i + 1;
            element.notify(&param);
            // Synchronous: the call is recorded before notify returns.
            std::lock_guard<std::mutex> lock(seen.mutex);
            bool found = false;
            for (const auto& call : seen.calls) {
                found |= call.first == std::this_thread::get_id() && call.second == i + 1;
            }
            EXPECT_TRUE(found);
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    ASSERT_EQ(seen.calls.size(), 4u);
    for (const auto& call : seen.calls) {
        EXPECT_EQ(call.first, ids[call.second - 1]);
    }
}

TEST_F(NotifyChannel, NothingHappensWithoutCallbackAndUserIsPassed) {
    OZM::_NOTIFY_PARAM param;
    element.notify(&param); // no callback: no effect, no crash

    int value = 0;
    IClientUiElement::setNotifyCallBack(
        [](const OZM::_NOTIFY_PARAM* p, void* user) {
            *static_cast<int*>(user) += static_cast<int>(reinterpret_cast<intptr_t>(p->data));
            return 0;
        },
        &value);
    param.type = 5;
    param.data = reinterpret_cast<void*>(intptr_t{7});
    element.notify(&param);
    EXPECT_EQ(value, 7);

    IClientUiElement::setNotifyCallBack(nullptr, nullptr);
    element.notify(&param);
    EXPECT_EQ(value, 7);
}

// Clearing or replacing the callback waits for the call in flight; a new one gets the later calls.
TEST_F(NotifyChannel, ClearingOrReplacingWaitsForTheCallInFlight) {
    struct State {
        Latch entered;
        Latch proceed;
        std::atomic<bool> finished{false};
        std::atomic<int> oldCalls{0};
        std::atomic<int> newCalls{0};
    };
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replace" : "clear");
        State state;
        IClientUiElement::setNotifyCallBack(
            [](const OZM::_NOTIFY_PARAM*, void* user) {
                auto* s = static_cast<State*>(user);
                ++s->oldCalls;
                s->entered.release();
                s->proceed.wait();
                std::this_thread::sleep_for(20ms);
                s->finished = true;
                return 0;
            },
            &state);
        std::thread sender([&] {
            OZM::_NOTIFY_PARAM param;
            element.notify(&param);
        });
        state.entered.wait();

        auto changed = std::async(std::launch::async, [&] {
            if (replace)
                IClientUiElement::setNotifyCallBack(
                    [](const OZM::_NOTIFY_PARAM*, void* user) {
                        ++static_cast<State*>(user)->newCalls;
                        return 0;
                    },
                    &state);
            else
                IClientUiElement::setNotifyCallBack(nullptr, nullptr);
            return state.finished.load();
        });
        EXPECT_EQ(changed.wait_for(100ms), std::future_status::timeout) << "returned while a call was inside";
        state.proceed.release();
        EXPECT_TRUE(changed.get()) << "returned before the call had finished";
        sender.join();

        OZM::_NOTIFY_PARAM param;
        element.notify(&param);
        EXPECT_EQ(state.oldCalls, 1);
        EXPECT_EQ(state.newCalls, replace ? 1 : 0);
        IClientUiElement::setNotifyCallBack(nullptr, nullptr);
    }
}

TEST_F(NotifyChannel, CallbackMayReenterNotifyAndClearFromInside) {
    struct State {
        Element* element;
        int depth = 0;
        int calls = 0;
    } state{&element};
    IClientUiElement::setNotifyCallBack(
        [](const OZM::_NOTIFY_PARAM* p, void* user) {
            auto* s = static_cast<State*>(user);
            ++s->calls;
            if (p->type == 5) {
                // Answer code 5 with code 6 through the same channel.
                OZM::_NOTIFY_PARAM answer;
                answer.type = 6;
                s->element->notify(&answer);
            } else if (p->type == 6) {
                // Clearing from inside must not wait for this thread's own calls.
                IClientUiElement::setNotifyCallBack(nullptr, nullptr);
            }
            return 0;
        },
        &state);

    auto done = std::async(std::launch::async, [&] {
        OZM::_NOTIFY_PARAM param;
        param.type = 5;
        element.notify(&param);
    });
    ASSERT_EQ(done.wait_for(5s), std::future_status::ready) << "re-entrant notify or inner clear deadlocked";
    EXPECT_EQ(state.calls, 2);

    OZM::_NOTIFY_PARAM param;
    param.type = 5;
    element.notify(&param);
    EXPECT_EQ(state.calls, 2) << "the callback was cleared";
}

} // namespace
