#include "ThreadPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

TEST(ThreadPool, DropsTasksOutsideItsRunningTime) {
    std::atomic<int> ran{0};
    {
        ThreadPool pool(2);
        pool.appendTask([&] { ++ran; }); // before start
        pool.start();
        pool.appendTask([&] { ++ran; });
        for (int i = 0; i < 200 && ran.load() < 1; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        pool.stop();
        pool.appendTask([&] { ++ran; }); // after stop
    }
    EXPECT_EQ(ran.load(), 1);
}

TEST(ThreadPool, RunsTasksOnSeveralWorkers) {
    ThreadPool pool(4);
    pool.start();
    std::mutex lock;
    std::set<std::thread::id> threads;
    std::atomic<int> done{0};
    std::atomic<int> inside{0};
    std::atomic<int> peak{0};
    for (int i = 0; i < 16; ++i) {
        pool.appendTask([&] {
            const int now = ++inside;
            int seen = peak.load();
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            {
                std::lock_guard<std::mutex> g(lock);
                threads.insert(std::this_thread::get_id());
            }
            --inside;
            ++done;
        });
    }
    for (int i = 0; i < 2000 && done.load() < 16; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(done.load(), 16);
    EXPECT_GT(threads.size(), 1u);
    EXPECT_GT(peak.load(), 1);
}

TEST(ThreadPool, StopFinishesRunningTasksAndDiscardsQueuedOnes) {
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    ThreadPool pool(1);
    pool.start();
    for (int i = 0; i < 5; ++i) {
        pool.appendTask([&] {
            ++started;
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            ++finished;
        });
    }
    for (int i = 0; i < 1000 && started.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    pool.stop();
    EXPECT_EQ(started.load(), finished.load()); // the running one completed before stop returned
    EXPECT_LT(finished.load(), 5);
}
