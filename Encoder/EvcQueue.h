// A small bounded queue between two pipeline threads. The producer closes it when done; the consumer may
// refuse further items (it has all it needs); either side may abort everything.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace evc {

template <class T> class BoundedQueue {
  public:
    explicit BoundedQueue(size_t capacity) : capacity_(capacity) {}

    // False when the consumer no longer wants items or the run was aborted; the item is then dropped.
    bool Push(T item) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [&] { return items_.size() < capacity_ || refused_ || aborted_; });
        if (refused_ || aborted_) return false;
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    // Blocks until an item comes; nothing once the producer has closed and all is taken, or on abort.
    std::optional<T> Pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [&] { return !items_.empty() || closed_ || aborted_; });
        return TakeLocked();
    }

    // Like Pop but gives up after `timeout`; `ended` tells a closed, drained queue from a timeout.
    std::optional<T> PopFor(std::chrono::milliseconds timeout, bool& ended) {
        std::unique_lock lock(mutex_);
        notEmpty_.wait_for(lock, timeout, [&] { return !items_.empty() || closed_ || aborted_; });
        ended = items_.empty() && (closed_ || aborted_);
        return TakeLocked();
    }

    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
    }

    void Refuse() {
        std::lock_guard lock(mutex_);
        refused_ = true;
        items_.clear();
        notFull_.notify_all();
    }

    void Abort() {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        items_.clear();
        notFull_.notify_all();
        notEmpty_.notify_all();
    }

    bool Refused() const {
        std::lock_guard lock(mutex_);
        return refused_ || aborted_;
    }

  private:
    std::optional<T> TakeLocked() {
        if (aborted_ || items_.empty()) return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

    size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable notFull_;
    std::condition_variable notEmpty_;
    std::deque<T> items_;
    bool closed_ = false;
    bool refused_ = false;
    bool aborted_ = false;
};

} // namespace evc
