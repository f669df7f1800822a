#include "core/SApp.h"

namespace SKEIN {

namespace {

typedef BOOL(WINAPI* UpdateLayeredWindowIndirectFn)(HWND, const UPDATELAYEREDWINDOWINFO*);
typedef BOOL(WINAPI* UpdateLayeredWindowFn)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                            DWORD);

UpdateLayeredWindowIndirectFn g_updateIndirect = nullptr;
UpdateLayeredWindowFn g_update = nullptr;

template <class Fn>
Fn ProcOf(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

BOOL WINAPI UpdateThroughUpdateLayeredWindow(HWND window, const UPDATELAYEREDWINDOWINFO* info)
{
    return g_update(window, info->hdcDst, const_cast<POINT*>(info->pptDst), const_cast<SIZE*>(info->psize),
                    info->hdcSrc, const_cast<POINT*>(info->pptSrc), info->crKey,
                    const_cast<BLENDFUNCTION*>(info->pblend), info->dwFlags);
}

} // namespace

void SApplication::BindLayeredWindowFunctions()
{
    g_updateIndirect = nullptr;
    g_update = nullptr;
    HMODULE user32 = GetModuleHandleW(L"user32");
    if (!user32)
        return;
    g_update = ProcOf<UpdateLayeredWindowFn>(user32, "UpdateLayeredWindow");
    if (!g_update)
        return;
    g_updateIndirect = ProcOf<UpdateLayeredWindowIndirectFn>(user32, "UpdateLayeredWindowIndirect");
    if (!g_updateIndirect)
        g_updateIndirect = &UpdateThroughUpdateLayeredWindow;
}

BOOL CallUpdateLayeredWindowIndirect(HWND window, const UPDATELAYEREDWINDOWINFO* info)
{
    return g_updateIndirect && info ? g_updateIndirect(window, info) : FALSE;
}

} // namespace SKEIN
