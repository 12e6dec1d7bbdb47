#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <memory>

namespace casl {

/// A queue that keeps at most `maxSize` items (rounded down to a power of two), growing as it
/// fills so that a short run uses little memory. The owner drops items at the front before it
/// pushes onto a full ring. Storage is not initialised: an item is written before it is read.
template <typename T> class BoundedRing {
public:
    explicit BoundedRing(std::size_t maxSize)
        : maxSize_(std::bit_floor(std::max<std::size_t>(maxSize, 1))) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    bool full() const { return size_ == maxSize_; }
    /// The memory the items take.
    std::size_t bytes() const { return capacity_ * sizeof(T); }

    void clear() {
        head_ = 0;
        size_ = 0;
    }

    /// Appends `item`; the ring must not be full.
    void pushBack(const T& item) { emplaceBack() = item; }

    /// Appends an item to be filled in place; the ring must not be full.
    T& emplaceBack() {
        if (size_ == capacity_) {
            grow();
        }
        T& item = items_[(head_ + size_) & (capacity_ - 1)];
        ++size_;
        return item;
    }

    T& back() { return items_[(head_ + size_ - 1) & (capacity_ - 1)]; }
    const T& back() const { return items_[(head_ + size_ - 1) & (capacity_ - 1)]; }
    const T& front() const { return items_[head_]; }
    /// The item `i` places after the front.
    const T& operator[](std::size_t i) const { return items_[(head_ + i) & (capacity_ - 1)]; }
    /// On a full ring: the front item's place becomes the back's, to be filled again.
    T& recycleFront() {
        T& item = items_[head_];
        head_ = (head_ + 1) & (capacity_ - 1);
        return item;
    }
    void popBack() { --size_; }
    void popFront() { dropFront(1); }
    /// Drops the `count` oldest items; there must be as many.
    void dropFront(std::size_t count) {
        head_ = (head_ + count) & (capacity_ - 1);
        size_ -= count;
    }

private:
    // Rare, so out of line: the push that every step of a run makes stays small enough for the
    // compilers to inline into the step loop (WebAssembly's otherwise made it a call).
    [[gnu::noinline]] void grow() {
        const std::size_t capacity = std::min(std::max<std::size_t>(capacity_ * 2, 64), maxSize_);
        // Default-initialised: nothing is written until an item is pushed.
        std::unique_ptr<T[]> grown(new T[capacity]);
        for (std::size_t i = 0; i < size_; ++i) {
            grown[i] = items_[(head_ + i) & (capacity_ - 1)];
        }
        items_ = std::move(grown);
        capacity_ = capacity;
        head_ = 0;
    }

    std::unique_ptr<T[]> items_;
    std::size_t capacity_ = 0;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    std::size_t maxSize_;
};

} // namespace casl
