#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

// Work over many items cut into blocks, one thread a block.

// The threads a job over count items is worth: one below 20,000 items, where starting threads
// costs more than it saves, otherwise one a core up to eight.
inline unsigned WorkerThreads(size_t count)
{
    constexpr size_t ParallelFrom = 20000;
    constexpr unsigned MaxThreads = 8;
    if (count < ParallelFrom)
        return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1U, MaxThreads);
}

// The first item of a block, of blocks over count items; blocks itself gives count.
inline size_t BlockStart(size_t count, unsigned block, unsigned blocks)
{
    return static_cast<size_t>(static_cast<uint64_t>(count) * block / blocks);
}

// Calls work(block, begin, end) for each of blocks that cover 0..count: the first on this
// thread, every other on a thread of its own; returns when all are done.
template<class TWork> void InBlocks(size_t count, unsigned blocks, TWork work)
{
    std::vector<std::jthread> workers;
    for (unsigned block = 1; block < blocks; ++block)
        workers.emplace_back([&, block] {
            work(block, BlockStart(count, block, blocks), BlockStart(count, block + 1, blocks));
        });
    work(0U, size_t{0}, BlockStart(count, 1, blocks));
}

// InBlocks over as many blocks as the job is worth.
template<class TWork> void InBlocks(size_t count, TWork work)
{
    InBlocks(count, WorkerThreads(count), work);
}

// InBlocks, where an exception on any thread reaches the caller: once all blocks are done, the
// one of the lowest block is thrown again.
template<class TWork> void InBlocksRethrowing(size_t count, unsigned blocks, TWork work)
{
    std::vector<std::exception_ptr> failures(blocks);
    InBlocks(count, blocks, [&](unsigned block, size_t begin, size_t end) {
        try {
            work(block, begin, end);
        } catch (...) {
            failures[block] = std::current_exception();
        }
    });
    for (const std::exception_ptr &failure : failures) {
        if (failure)
            std::rethrow_exception(failure);
    }
}
