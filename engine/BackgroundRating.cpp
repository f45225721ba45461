#include "BackgroundRating.h"

#include "Messages.h"

BackgroundRating::BackgroundRating(std::unique_ptr<ProfileRater> rater)
    : rater_(std::move(rater)), total_(rater_->Total()), thread_([this] { Work(); })
{
}

BackgroundRating::~BackgroundRating() { Cancel(); }

void BackgroundRating::Work()
{
    try {
        while (!cancel_.load(std::memory_order_relaxed) && rater_->Step())
            done_.store(rater_->Done(), std::memory_order_relaxed);
        done_.store(rater_->Done(), std::memory_order_relaxed);
    } catch (...) {
        error_ = std::current_exception();
    }
    finished_.store(true, std::memory_order_release);
}

void BackgroundRating::Cancel()
{
    cancel_.store(true, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
}

ProfileRating BackgroundRating::Take()
{
    if (thread_.joinable()) thread_.join();
    if (error_) std::rethrow_exception(error_);
    if (cancel_.load()) throw EVelkError("Rating cancelled");
    return rater_->Take();
}
