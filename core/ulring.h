// A circular buffer that keeps the newest elements up to a limit. Storage
// grows by doubling as elements arrive, so a large limit costs memory only
// once it is used; append and drop-oldest are O(1). Not thread-safe: the
// owner locks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <typename T>
class UlRing
{
public:
    explicit UlRing(std::size_t limit = 0) : lim(limit) {}

    std::size_t limit() const { return lim; }
    // A limit below the current size drops nothing now; from then on each
    // push drops one element, so the size stays where it is.
    void setLimit(std::size_t limit) { lim = limit; }

    std::size_t size() const { return count; }
    bool isEmpty() const { return count == 0; }
    // Elements the storage holds without growing.
    std::size_t capacity() const { return store.size(); }

    // Appends value. Returns true when an element was dropped to keep the
    // limit (the oldest, or value itself when nothing can be kept), copied
    // into *dropped when given.
    bool push(const T &value, T *dropped = nullptr)
    {
        if (count == store.size()) {
            if (store.size() < lim) {
                grow();
            } else if (count == 0) {
                if (dropped)
                    *dropped = value;
                return true;
            } else {
                if (dropped)
                    *dropped = std::move(store[head]);
                store[head] = value;
                head = wrap(head + 1);
                return true;
            }
        }
        store[wrap(head + count)] = value;
        ++count;
        if (count > lim) {
            popFront(dropped);
            return true;
        }
        return false;
    }

    // Index 0 is the oldest element; i must be below size().
    const T &at(std::size_t i) const { return store[wrap(head + i)]; }
    T &at(std::size_t i) { return store[wrap(head + i)]; }

    // Removes the oldest element; false when empty.
    bool popFront(T *out = nullptr)
    {
        if (count == 0)
            return false;
        if (out)
            *out = std::move(store[head]);
        head = wrap(head + 1);
        --count;
        return true;
    }

    // Empties the ring and gives its storage back.
    void clear()
    {
        std::vector<T>().swap(store);
        head = 0;
        count = 0;
    }

private:
    static constexpr std::size_t MinStorage = 64;

    std::size_t wrap(std::size_t i) const { return i >= store.size() ? i - store.size() : i; }

    void grow()
    {
        const std::size_t target = std::min(std::max(store.size() * 2, MinStorage), lim);
        std::vector<T> bigger(target);
        for (std::size_t i = 0; i < count; ++i)
            bigger[i] = std::move(store[wrap(head + i)]);
        store.swap(bigger);
        head = 0;
    }

    std::vector<T> store;
    std::size_t head = 0;   // storage index of the oldest element
    std::size_t count = 0;
    std::size_t lim;
};
