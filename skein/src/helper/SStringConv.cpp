#include "helper/SStringConv.h"

namespace SKEIN {

namespace {

// conv(out, capacity) converts the whole source and returns the characters written
// (capacity 0: the characters needed). Short texts convert through a stack buffer.
template <class TOut, class Conv>
TOut ConvertText(Conv conv)
{
    typedef typename TOut::CharType C;
    C stackBuffer[1024];
    int n = conv(stackBuffer, 1024);
    if (n > 0)
        return TOut(stackBuffer, n);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return TOut();
    int needed = conv(nullptr, 0);
    TOut result;
    C* out = needed > 0 ? result.WritableBuffer(needed) : nullptr;
    if (!out)
        return TOut();
    n = conv(out, needed);
    if (n <= 0)
        return TOut();
    result.CommitBuffer(n);
    return result;
}

} // namespace

SStringW StringA2W(const SStringA& text, UINT codePage)
{
    return ConvertText<SStringW>([&](wchar_t* out, int capacity) {
        return MultiByteToWideChar(codePage, 0, text.c_str(), text.Length(), out, capacity);
    });
}

SStringA StringW2A(const SStringW& text, UINT codePage)
{
    return ConvertText<SStringA>([&](char* out, int capacity) {
        return WideCharToMultiByte(codePage, 0, text.c_str(), text.Length(), out, capacity, nullptr, nullptr);
    });
}

SStringW StringW2W(const SStringW& text, UINT)
{
    return text;
}

int SplitByChar(const SStringW& text, wchar_t separator, SDynArray<SStringW>& pieces)
{
    int start = 0;
    while (start <= text.Length()) {
        int end = text.FindChar(separator, start);
        if (end < 0)
            end = text.Length();
        if (end > start)
            pieces.Add(text.Substring(start, end - start));
        start = end + 1;
    }
    return pieces.Count();
}

} // namespace SKEIN
