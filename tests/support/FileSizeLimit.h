#pragma once

#include <csignal>
#include <sys/resource.h>

// Lowers the largest file this process may write, for as long as the object lives, so that
// writes fail half-way as on a full disk.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &Previous);
        PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = Previous;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &Previous);
        std::signal(SIGXFSZ, PreviousHandler);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
    rlimit Previous{};
    void (*PreviousHandler)(int) = nullptr;
};
