#pragma once
// Byte buffer for raw resource data: small blocks live inline, larger ones on the heap.
#include <stdint.h>
#include <stdlib.h>

namespace SKEIN {

class SSmallBuffer {
public:
    SSmallBuffer() : m_data(nullptr), m_size(0) {}
    ~SSmallBuffer() { Free(); }
    SSmallBuffer(const SSmallBuffer&) = delete;
    SSmallBuffer& operator=(const SSmallBuffer&) = delete;

    // Room for n bytes plus a terminator; bytes 0 and n are zero. Null when memory runs out.
    char* Alloc(size_t n)
    {
        Free();
        if (n < kInlineSize) {
            m_data = m_inline;
        } else {
            if (n == SIZE_MAX)
                return nullptr;
            m_data = static_cast<char*>(malloc(n + 1));
            if (!m_data)
                return nullptr;
        }
        m_data[0] = 0;
        m_data[n] = 0;
        m_size = n;
        return m_data;
    }

    void Free()
    {
        if (m_data != m_inline)
            free(m_data);
        m_data = nullptr;
        m_size = 0;
    }

    char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    enum { kInlineSize = 128 };

    char* m_data;
    char m_inline[kInlineSize];
    size_t m_size;
};

} // namespace SKEIN
