#pragma once
// A profile rating on a worker thread, for a window that must stay
// responsive: the rater (which copied the page on the caller's thread) runs
// its steps on the worker, the caller polls the progress, and Cancel stops
// the worker after its current stage run. The worker touches nothing but
// the rater; its engine state is its own.

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

#include "ColumnRating.h"

class BackgroundRating
{
public:
    // Starts the worker at once.
    explicit BackgroundRating(std::unique_ptr<ProfileRater> rater);
    // Cancels and waits for the worker.
    ~BackgroundRating();
    BackgroundRating(const BackgroundRating&) = delete;
    BackgroundRating& operator=(const BackgroundRating&) = delete;

    int Done() const { return done_.load(std::memory_order_relaxed); }
    int Total() const { return total_; }
    // The worker has ended: the rating is complete, failed or was cancelled.
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Stops the worker after its current stage run and waits for it.
    void Cancel();
    // Once Finished and not cancelled: the rating, or the worker's error rethrown.
    ProfileRating Take();

private:
    void Work();

    std::unique_ptr<ProfileRater> rater_;
    int total_;
    std::atomic<int> done_{0};
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    std::exception_ptr error_;
    std::thread thread_; // last: started once everything above is set
};
