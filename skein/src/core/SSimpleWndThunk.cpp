#include "core/SSimpleWnd.h"
#include <cstring>

namespace SKEIN {

#if defined(_M_X64) || defined(__x86_64__)

// mov rcx, object ; mov rax, target ; jmp rax  (the HWND is the first register argument)
WNDPROC BuildWindowThunk(void* thunk, void* object, WNDPROC target)
{
    unsigned char* code = static_cast<unsigned char*>(thunk);
    UINT64 objectValue = reinterpret_cast<UINT64>(object);
    UINT64 targetValue = reinterpret_cast<UINT64>(target);
    code[0] = 0x48;
    code[1] = 0xB9;
    memcpy(code + 2, &objectValue, 8);
    code[10] = 0x48;
    code[11] = 0xB8;
    memcpy(code + 12, &targetValue, 8);
    code[20] = 0xFF;
    code[21] = 0xE0;
    FlushInstructionCache(GetCurrentProcess(), thunk, 22);
    return reinterpret_cast<WNDPROC>(thunk);
}

#elif defined(_M_IX86) || defined(__i386__)

// mov dword ptr [esp+4], object ; jmp target  (the HWND is the first stack argument)
WNDPROC BuildWindowThunk(void* thunk, void* object, WNDPROC target)
{
    unsigned char* code = static_cast<unsigned char*>(thunk);
    DWORD objectValue = reinterpret_cast<DWORD>(object);
    code[0] = 0xC7;
    code[1] = 0x44;
    code[2] = 0x24;
    code[3] = 0x04;
    memcpy(code + 4, &objectValue, 4);
    code[8] = 0xE9;
    DWORD relative = reinterpret_cast<DWORD>(target) - (reinterpret_cast<DWORD>(code) + 13);
    memcpy(code + 9, &relative, 4);
    FlushInstructionCache(GetCurrentProcess(), thunk, 13);
    return reinterpret_cast<WNDPROC>(thunk);
}

#else
#error "window thunk: unsupported processor"
#endif

} // namespace SKEIN
