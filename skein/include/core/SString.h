#pragma once
// The framework's string: one pointer to reference-counted, copy-on-write characters
// preceded by an SStringHeader. Nothing here throws; allocation failure leaves the string empty.
#include <windows.h>
#include <ctype.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>
#include "core/SContainerUtil.h"

namespace SKEIN {

struct SStringHeader {
    LONG refCount; // < 0: locked (the shared empty buffer), never shared by counting
    LONG length;   // characters, without the terminator
    LONG capacity; // characters that fit, without the terminator
};

struct wchar_traits {
    static size_t Length(const wchar_t* s) { return wcslen(s); }
    static wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(towlower(c)); }
    static int CompareNoCase(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b); }
    static int CountFormat(const wchar_t* format, va_list args) { return _vscwprintf(format, args); }
    static int Format(wchar_t* buffer, size_t size, const wchar_t* format, va_list args)
    {
        return _vsnwprintf(buffer, size, format, args);
    }
};

struct char_traits {
    static size_t Length(const char* s) { return strlen(s); }
    static char Lower(char c) { return static_cast<char>(tolower(static_cast<unsigned char>(c))); }
    static int CompareNoCase(const char* a, const char* b) { return _stricmp(a, b); }
    static int CountFormat(const char* format, va_list args) { return _vscprintf(format, args); }
    static int Format(char* buffer, size_t size, const char* format, va_list args)
    {
        return _vsnprintf(buffer, size, format, args);
    }
};

template <class T, class Traits>
class TStringT {
public:
    typedef T CharType;
    typedef void SRelocatable;

    TStringT() : m_chars(EmptyChars()) {}

    TStringT(const T* text) : m_chars(EmptyChars())
    {
        if (text)
            SetChars(CheckedLength(text), text);
    }

    // count < 0: the text's C-string length.
    TStringT(const T* text, int count) : m_chars(EmptyChars())
    {
        if (!text)
            return;
        SetChars(count < 0 ? CheckedLength(text) : count, text);
    }

    TStringT(const TStringT& other) : m_chars(EmptyChars())
    {
        if (other.IsLocked())
            SetChars(other.Length(), other.m_chars);
        else
            Share(other);
    }

    ~TStringT() { ReleaseBuffer(); }

    TStringT& operator=(const T* text)
    {
        SetChars(text ? CheckedLength(text) : 0, text);
        return *this;
    }

    TStringT& operator=(const TStringT& other)
    {
        if (m_chars == other.m_chars)
            return *this;
        if (other.IsLocked()) {
            SetChars(other.Length(), other.m_chars);
        } else {
            ReleaseBuffer();
            Share(other);
        }
        return *this;
    }

    // Replaces the text with count characters (which may lie inside this string).
    void SetChars(int count, const T* chars)
    {
        TStringT keep;
        if (count > 0 && IsInside(chars)) {
            int available = static_cast<int>(m_chars + Length() - chars);
            if (count > available)
                count = available;
            keep = *this; // a shared buffer that chars points into stays alive
        }
        if (count <= 0) {
            ReleaseToEmpty();
            return;
        }
        if (!PrepareWrite(count))
            return;
        memmove(m_chars, chars, sizeof(T) * count);
        Header()->length = count;
        m_chars[count] = 0;
    }

    void ReleaseToEmpty()
    {
        if (!IsEmptyBuffer()) {
            ReleaseBuffer();
            m_chars = EmptyChars();
        }
    }

    TStringT& Append(const T* text)
    {
        if (text)
            AppendChars(CheckedLength(text), text);
        return *this;
    }
    TStringT& operator+=(const T* text) { return Append(text); }
    TStringT& operator+=(const TStringT& other)
    {
        AppendChars(other.Length(), other.m_chars);
        return *this;
    }

    // Appends count characters (which may lie inside this string).
    void AppendChars(int count, const T* chars)
    {
        if (count <= 0)
            return;
        int oldLength = Length();
        if (count > INT_MAX - oldLength)
            return;
        int newLength = oldLength + count;
        if (IsShared() || Header()->capacity < newLength) {
            TStringT keep;
            if (IsInside(chars))
                keep = *this; // sharing forces a fresh block; the old one stays readable
            if (!ReallocData(newLength))
                return;
            memcpy(m_chars + oldLength, chars, sizeof(T) * count);
        } else {
            memmove(m_chars + oldLength, chars, sizeof(T) * count);
            Header()->length = newLength;
            m_chars[newLength] = 0;
        }
    }

    // Room for at least minChars characters to be written directly; null when there is no room.
    T* WritableBuffer(int minChars)
    {
        if (minChars < 0)
            return nullptr;
        if (IsShared() || Header()->capacity < minChars) {
            int length = Length();
            if (!ReallocData(minChars > length ? minChars : length))
                return nullptr;
        }
        return IsEmptyBuffer() ? nullptr : m_chars;
    }

    // Fixes the length after direct writing; -1 takes the text up to its first NUL.
    void CommitBuffer(int newLength = -1)
    {
        if (IsEmptyBuffer() || !Unshare())
            return;
        int capacity = Header()->capacity;
        if (newLength < 0) {
            newLength = 0;
            while (newLength < capacity && m_chars[newLength])
                ++newLength;
        } else if (newLength > capacity) {
            newLength = capacity;
        }
        Header()->length = newLength;
        m_chars[newLength] = 0;
    }

    // Gives this string a private copy of a shared buffer; false when memory runs out.
    bool Unshare()
    {
        if (!IsShared())
            return true;
        TStringT copy;
        if (!copy.AllocateData(Length()))
            return false;
        memcpy(copy.m_chars, m_chars, sizeof(T) * (Length() + 1));
        ReleaseBuffer();
        m_chars = copy.m_chars;
        copy.m_chars = EmptyChars();
        return true;
    }

    void Empty()
    {
        if (Length() != 0)
            ReleaseToEmpty();
    }

    int Length() const { return Header()->length; }
    bool IsEmptyText() const { return Header()->length == 0; }
    const T* c_str() const { return m_chars; }
    operator const T*() const { return m_chars; }
    T operator[](int i) const { return m_chars[i]; }

    int FindChar(T ch, int start = 0) const
    {
        if (start < 0)
            start = 0;
        for (int i = start; i < Length(); ++i) {
            if (m_chars[i] == ch)
                return i;
        }
        return -1;
    }

    // Searches the whole length, embedded NULs included; "" is found at start.
    int FindText(const T* text, int start = 0) const
    {
        if (start < 0)
            start = 0;
        if (start > Length())
            return -1;
        int n = text ? CheckedLength(text) : 0;
        for (int i = start; i + n <= Length(); ++i) {
            if (memcmp(m_chars + i, text, sizeof(T) * n) == 0)
                return i;
        }
        return -1;
    }

    TStringT LeftPart(int n) const { return TStringT(m_chars, Clamp(n)); }
    TStringT RightPart(int n) const
    {
        n = Clamp(n);
        return TStringT(m_chars + Length() - n, n);
    }
    TStringT Substring(int start, int count) const
    {
        if (start < 0)
            start = 0;
        if (count < 0)
            count = 0;
        if (start > Length())
            return TStringT();
        if (count > Length() - start)
            count = Length() - start;
        return TStringT(m_chars + start, count);
    }

    // Replaces every occurrence left to right; the count, or -1 (text unchanged) when the
    // result cannot be stored.
    int Replace(const T* oldText, const T* newText)
    {
        int oldLen = oldText ? CheckedLength(oldText) : 0;
        if (oldLen == 0)
            return 0;
        int newLen = newText ? CheckedLength(newText) : 0;
        int count = 0;
        for (int i = FindText(oldText); i >= 0; i = FindText(oldText, i + oldLen))
            ++count;
        if (count == 0)
            return 0;
        long long total = Length() + static_cast<long long>(count) * (newLen - oldLen);
        if (total > INT_MAX)
            return -1;
        TStringT result;
        if (total > 0) {
            T* out = result.WritableBuffer(static_cast<int>(total));
            if (!out)
                return -1;
            int from = 0;
            for (int i = FindText(oldText); i >= 0; i = FindText(oldText, from)) {
                memcpy(out, m_chars + from, sizeof(T) * (i - from));
                out += i - from;
                memcpy(out, newText, sizeof(T) * newLen);
                out += newLen;
                from = i + oldLen;
            }
            memcpy(out, m_chars + from, sizeof(T) * (Length() - from));
            result.CommitBuffer(static_cast<int>(total));
        }
        *this = result;
        return count;
    }

    void LowerInPlace()
    {
        if (!Unshare())
            return;
        for (int i = 0; i < Length(); ++i)
            m_chars[i] = Traits::Lower(m_chars[i]);
    }

    int CompareIgnoringCase(const T* text) const
    {
        static const T none[1] = {0};
        return Traits::CompareNoCase(m_chars, text ? text : none);
    }

    bool StartsWith(const TStringT& prefix, bool ignoreCase = false) const
    {
        int n = prefix.Length();
        if (Length() < n)
            return false;
        if (!ignoreCase)
            return memcmp(m_chars, prefix.m_chars, sizeof(T) * n) == 0;
        for (int i = 0; i < n; ++i) {
            if (Traits::Lower(m_chars[i]) != Traits::Lower(prefix.m_chars[i]))
                return false;
        }
        return true;
    }

    // Removes leading and trailing LF, CR, space and TAB.
    void TrimSpaces()
    {
        int first = 0;
        int last = Length();
        while (first < last && IsSpace(m_chars[first]))
            ++first;
        while (last > first && IsSpace(m_chars[last - 1]))
            --last;
        if (first == 0 && last == Length())
            return;
        if (first == last) {
            Empty();
            return;
        }
        if (!Unshare())
            return;
        memmove(m_chars, m_chars + first, sizeof(T) * (last - first));
        Header()->length = last - first;
        m_chars[last - first] = 0;
    }

    // printf-style formatting; false (string emptied) when nothing was produced.
    bool FormatV(const T* format, va_list args)
    {
        if (!format || !*format) {
            Empty();
            return false;
        }
        va_list counting;
        va_copy(counting, args);
        int count = Traits::CountFormat(format, counting);
        va_end(counting);
        TStringT result;
        T* out = count > 0 && count < INT_MAX ? result.WritableBuffer(count) : nullptr;
        if (!out) {
            Empty();
            return false;
        }
        int written = Traits::Format(out, static_cast<size_t>(count) + 1, format, args);
        result.CommitBuffer(written >= 0 && written <= count ? written : count);
        *this = result;
        return true;
    }

    // Formats into this string and returns a copy of it.
    TStringT Printf(const T* format, ...)
    {
        va_list args;
        va_start(args, format);
        FormatV(format, args);
        va_end(args);
        return *this;
    }

private:
    struct EmptyBuffer {
        SStringHeader header;
        T terminator;
    };

    static T* EmptyChars()
    {
        // Read-only: a stray write into the shared empty buffer faults instead of corrupting it.
        static const EmptyBuffer empty = {{-1, 0, 0}, 0};
        return const_cast<T*>(reinterpret_cast<const T*>(&empty.header + 1));
    }

    static int CheckedLength(const T* text)
    {
        size_t n = Traits::Length(text);
        return n > INT_MAX ? 0 : static_cast<int>(n);
    }

    static bool IsSpace(T c) { return c == 10 || c == 13 || c == 32 || c == 9; }

    SStringHeader* Header() const { return reinterpret_cast<SStringHeader*>(m_chars) - 1; }
    bool IsEmptyBuffer() const { return m_chars == EmptyChars(); }
    bool IsLocked() const { return Header()->refCount < 0; }
    bool IsShared() const { return Header()->refCount > 1; }
    bool IsInside(const T* p) const { return p >= m_chars && p <= m_chars + Length(); }
    int Clamp(int n) const { return n < 0 ? 0 : (n > Length() ? Length() : n); }

    void Share(const TStringT& other)
    {
        m_chars = other.m_chars;
        InterlockedIncrement(&Header()->refCount);
    }

    void ReleaseBuffer()
    {
        if (!IsEmptyBuffer() && InterlockedDecrement(&Header()->refCount) <= 0)
            free(Header());
    }

    // Header and characters of a count-character block; no block exceeds the largest object size.
    static bool BlockSize(int count, UINT32& bytes)
    {
        return count >= 0 && SUCCEEDED(SafeMulSize(bytes, static_cast<UINT32>(count) + 1, sizeof(T))) &&
               SUCCEEDED(SafeAddSize(bytes, bytes, sizeof(SStringHeader))) && bytes <= 0x7FFFFFFFu;
    }

    // Makes the buffer private and at least count long; the old text is not kept.
    bool PrepareWrite(int count)
    {
        if (!IsShared() && Header()->capacity >= count)
            return true;
        ReleaseBuffer();
        return AllocateData(count);
    }

    // A fresh block of count characters (the shared empty buffer for 0); the string is
    // empty when that fails.
    bool AllocateData(int count)
    {
        m_chars = EmptyChars();
        if (count == 0)
            return true;
        UINT32 bytes = 0;
        if (!BlockSize(count, bytes))
            return false;
        SStringHeader* header = static_cast<SStringHeader*>(malloc(bytes));
        if (!header)
            return false;
        header->refCount = 1;
        header->length = header->capacity = count;
        m_chars = reinterpret_cast<T*>(header + 1);
        m_chars[count] = 0;
        return true;
    }

    // Resizes to exactly newLength, keeping the text that fits. On failure a shared buffer is
    // left as it was and a private one is given up (the string becomes empty).
    bool ReallocData(int newLength)
    {
        if (newLength == 0) {
            ReleaseToEmpty();
            return true;
        }
        if (IsShared() || IsEmptyBuffer()) {
            TStringT fresh;
            if (!fresh.AllocateData(newLength))
                return false;
            int keep = Length() < newLength ? Length() : newLength;
            memcpy(fresh.m_chars, m_chars, sizeof(T) * keep);
            ReleaseBuffer();
            m_chars = fresh.m_chars;
            fresh.m_chars = EmptyChars();
            return true;
        }
        UINT32 bytes = 0;
        SStringHeader* header = BlockSize(newLength, bytes) ? static_cast<SStringHeader*>(realloc(Header(), bytes)) : nullptr;
        if (!header) {
            free(Header());
            m_chars = EmptyChars();
            return false;
        }
        header->refCount = 1;
        header->length = header->capacity = newLength;
        m_chars = reinterpret_cast<T*>(header + 1);
        m_chars[newLength] = 0;
        return true;
    }

    T* m_chars;
};

template <class T, class Tr>
bool operator==(const TStringT<T, Tr>& a, const TStringT<T, Tr>& b)
{
    return a.Length() == b.Length() && memcmp(a.c_str(), b.c_str(), sizeof(T) * a.Length()) == 0;
}
template <class T, class Tr>
bool operator!=(const TStringT<T, Tr>& a, const TStringT<T, Tr>& b)
{
    return !(a == b);
}
template <class T, class Tr>
bool operator==(const TStringT<T, Tr>& a, const T* b)
{
    size_t n = b ? Tr::Length(b) : 0;
    return n == static_cast<size_t>(a.Length()) && memcmp(a.c_str(), b, sizeof(T) * n) == 0;
}
template <class T, class Tr>
bool operator!=(const TStringT<T, Tr>& a, const T* b)
{
    return !(a == b);
}

typedef TStringT<wchar_t, wchar_traits> SStringW;
typedef TStringT<char, char_traits> SStringA;

} // namespace SKEIN
