#include "MallocArenas.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// The heaps (arenas) the allocator has now, from its own report.
int arenas() {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    if (!out)
        return -1;
    malloc_info(0, out);
    std::fclose(out);
    int count = 0;
    for (const char* at = text; (at = std::strstr(at, "<heap nr=")) != nullptr; at += 9)
        ++count;
    std::free(text);
    return count;
}

// Thirty-two threads allocating at once, as a batch's camera threads do.
void allocateFromManyThreads() {
    constexpr int kThreads = 32;
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&started] {
            void* block = std::malloc(256);
            ++started;
            // Everyone holds a block until all have one, so none can take over another's arena.
            while (started.load() < kThreads)
                std::this_thread::yield();
            std::free(block);
        });
    }
    for (std::thread& t : threads)
        t.join();
}

} // namespace

// In a fresh process (the arenas of earlier tests would stay): after the cap, many threads share
// at most four arenas instead of taking one each.
TEST(MallocArenas, ManyThreadsShareAFewArenas) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            corvane::capMallocArenas();
            allocateFromManyThreads();
            const int count = arenas();
            std::fprintf(stderr, "arenas: %d\n", count);
            std::exit(count >= 1 && count <= 4 ? 0 : 1); // four, as the README says
        },
        ::testing::ExitedWithCode(0), "");
}
