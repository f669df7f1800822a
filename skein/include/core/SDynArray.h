#pragma once
// Growable array. Elements are moved bitwise when the storage grows, so the element type
// must not point into itself: trivially copyable types, or classes that declare
// `typedef void SRelocatable;` (strings, counted pointers).
#include <new>
#include <stdlib.h>
#include <string.h>
#include <type_traits>
#include "core/SContainerUtil.h"

namespace SKEIN {

template <class T, class = void>
struct SIsRelocatable : std::is_trivially_copyable<T> {};

template <class T>
struct SIsRelocatable<T, std::void_t<typename T::SRelocatable>> : std::true_type {};

template <class T>
class SDynArray {
    static_assert(SIsRelocatable<T>::value, "SDynArray moves its elements bitwise");

public:
    explicit SDynArray(int growBy = 0) : m_data(nullptr), m_count(0), m_capacity(0), m_growBy(growBy) {}
    ~SDynArray() { Resize(0); }
    SDynArray(const SDynArray&) = delete;
    SDynArray& operator=(const SDynArray&) = delete;

    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    T* ItemAt(int i) { return m_data + i; }
    const T* ItemAt(int i) const { return m_data + i; }
    T& operator[](int i) { return m_data[i]; }
    const T& operator[](int i) const { return m_data[i]; }

    // Ensures room for n elements; false (array unchanged) when memory runs out.
    bool GrowTo(int n)
    {
        if (m_capacity >= n)
            return true;
        long long wanted;
        if (!m_data) {
            wanted = n > m_growBy ? n : m_growBy;
        } else {
            int step = m_growBy;
            if (step == 0)
                step = m_count < 32 ? 4 : (m_count < 8200 ? m_count / 8 : 1024);
            wanted = static_cast<long long>(m_capacity) + step;
            if (wanted < n)
                wanted = n;
        }
        UINT32 bytes = 0;
        if (wanted > 0x7FFFFFFF || FAILED(SafeMulSize(bytes, static_cast<UINT32>(wanted), sizeof(T))))
            return false;
        T* fresh = static_cast<T*>(calloc(static_cast<size_t>(wanted), sizeof(T)));
        if (!fresh)
            return false;
        if (m_count)
            memcpy(static_cast<void*>(fresh), static_cast<const void*>(m_data), sizeof(T) * m_count);
        free(m_data);
        m_data = fresh;
        m_capacity = static_cast<int>(wanted);
        return true;
    }

    // Index of the new element, -1 when memory runs out.
    int Add(const T& value)
    {
        if (m_count >= m_capacity) {
            T keep(value); // the value may live in the storage that is about to move
            if (!GrowTo(m_count + 1))
                return -1;
            new (m_data + m_count) T(keep);
        } else {
            new (m_data + m_count) T(value);
        }
        return m_count++;
    }

    // n copies of value from position on; index after the last inserted, -1 on failure.
    int InsertRepeated(int position, const T& value, int n)
    {
        if (position < 0 || n < 0)
            return -1;
        T keep(value);
        int oldCount = m_count;
        if (position < oldCount) {
            if (!Resize(oldCount + n))
                return -1;
            // The tail moves up bitwise over the freshly constructed (empty) slots; the gap
            // left behind holds stale bits and is constructed anew, not assigned.
            memmove(static_cast<void*>(m_data + position + n), static_cast<const void*>(m_data + position),
                    sizeof(T) * (oldCount - position));
            for (int i = position; i < position + n; ++i)
                new (m_data + i) T(keep);
        } else {
            if (!Resize(position + n))
                return -1;
            for (int i = position; i < position + n; ++i)
                m_data[i] = keep;
        }
        return position + n;
    }

    // growBy -1 keeps the current step. n = 0 frees the storage.
    bool Resize(int n, int growBy = -1)
    {
        if (growBy != -1)
            m_growBy = growBy;
        if (n < 0)
            return false;
        if (n == 0) {
            DestroyRange(0, m_count);
            free(m_data);
            m_data = nullptr;
            m_count = m_capacity = 0;
            return true;
        }
        if (n > m_capacity && !GrowTo(n))
            return false;
        if (n > m_count) {
            for (int i = m_count; i < n; ++i)
                new (m_data + i) T();
        } else {
            DestroyRange(n, m_count);
        }
        m_count = n;
        return true;
    }

    // Destroys element i; later elements move down.
    void RemoveAt(int i)
    {
        m_data[i].~T();
        memmove(static_cast<void*>(m_data + i), static_cast<const void*>(m_data + i + 1), sizeof(T) * (m_count - i - 1));
        --m_count;
    }

    // Index of the first element equal to value, -1 when none.
    int Find(const T& value) const
    {
        for (int i = 0; i < m_count; ++i) {
            if (m_data[i] == value)
                return i;
        }
        return -1;
    }

private:
    void DestroyRange(int from, int to)
    {
        for (int i = from; i < to; ++i)
            m_data[i].~T();
    }

    T* m_data;
    int m_count;
    int m_capacity;
    int m_growBy;
};

} // namespace SKEIN
