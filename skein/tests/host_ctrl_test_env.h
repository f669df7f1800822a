#pragma once
// What the end-to-end control tests share: a real host window built from an inline layout with
// the built-in skins of the system-resource library loaded, and a driver that sends native mouse
// messages to the host at named children, ticks its timeline, pumps messages and reads the
// host's pixels back.
#include <functional>
#include <memory>
#include "app_test_support.h"
#include "ctrl_scroll_test_env.h"
#include "host_test_env.h"
#include "interface/SImgDecoder-i.h"
#include "res.mgr/SResProviderPE.h"

namespace hosttest {

// The client area of a host as captured through WM_PRINT; alpha is not part of a pixel here.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<UINT32> pixels;

    UINT32 At(int x, int y) const { return pixels[y * width + x] | 0xFF000000; }
    UINT32 At(POINT pt) const { return At(pt.x, pt.y); }
    // Pixels in rect (clipped to the shot) for which match holds.
    int Count(const RECT& rect, const std::function<bool(UINT32)>& match) const
    {
        int count = 0;
        for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, height); ++y) {
            for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, width); ++x)
                count += match(At(x, y));
        }
        return count;
    }
    int CountColor(const RECT& rect, UINT32 color) const
    {
        return Count(rect, [color](UINT32 pixel) { return pixel == color; });
    }
    // Whether any pixel in rect differs from the same pixel of other.
    bool Differs(const Shot& other, const RECT& rect) const
    {
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                if (At(x, y) != other.At(x, y))
                    return true;
            }
        }
        return false;
    }
    // Whether rect and the rectangle of its size at other look the same.
    bool SameAs(const RECT& rect, POINT other) const
    {
        for (int y = 0; y < rect.bottom - rect.top; ++y) {
            for (int x = 0; x < rect.right - rect.left; ++x) {
                if (At(rect.left + x, rect.top + y) != At(other.x + x, other.y + y))
                    return false;
            }
        }
        return true;
    }
    // Written as an opaque PNG through the render factory's bitmap and the PNG encoder.
    bool SavePng(IRenderFactory* render, const std::wstring& path) const
    {
        std::vector<UINT32> opaque(pixels);
        for (UINT32& pixel : opaque)
            pixel |= 0xFF000000;
        IBitmap* bitmap = nullptr;
        IImgDecoderFactory* png = nullptr;
        bool saved = render->CreateBitmap(&bitmap) && bitmap->Init(width, height, opaque.data()) == S_OK
                     && CreateImgDecoderFactory_PNG(&png) && png->SaveImage(bitmap, path.c_str(), nullptr) == S_OK;
        if (png)
            png->Release();
        if (bitmap)
            bitmap->Release();
        return saved;
    }
};

// Feeds a shown host native messages in client coordinates, as the system would.
class HostDriver {
public:
    explicit HostDriver(RecordingHost& host) : m_host(host) {}

    RecordingHost& Host() const { return m_host; }
    HWND Hwnd() const { return m_host.Handle(); }
    SWindow* Child(const wchar_t* name) const { return m_host.LookupChildByName(SStringW(name)); }
    template <class T>
    T* Find(const wchar_t* name) const
    {
        return dynamic_cast<T*>(Child(name));
    }
    // The child's rectangle in client coordinates (empty for an unknown name).
    RECT RectOf(const wchar_t* name) const
    {
        SWindow* child = Child(name);
        return child ? child->GetWindowRect() : RECT{0, 0, 0, 0};
    }
    // A point of the child: (dx, dy) from its top-left corner, a negative offset counting from
    // its right or bottom edge.
    POINT At(const wchar_t* name, int dx, int dy) const
    {
        RECT rect = RectOf(name);
        return POINT{dx < 0 ? rect.right + dx : rect.left + dx, dy < 0 ? rect.bottom + dy : rect.top + dy};
    }
    POINT Centre(const wchar_t* name) const
    {
        RECT rect = RectOf(name);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageW(Hwnd(), msg, wParam, lParam); }
    // Queued for the next pump.
    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { ::PostMessageW(Hwnd(), msg, wParam, lParam); }
    // A key pressed and released, as the keyboard sends it (to the focused window).
    void Key(UINT vk) const
    {
        Send(WM_KEYDOWN, vk, 1);
        Send(WM_KEYUP, vk, 0xC0000001);
    }
    void Move(POINT pt, WPARAM keys = 0) const { Send(WM_MOUSEMOVE, keys, MAKELPARAM(pt.x, pt.y)); }
    // The button goes down after a move to the point, as with a real mouse.
    void Press(POINT pt) const
    {
        Move(pt);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    void Drag(POINT pt) const { Move(pt, MK_LBUTTON); }
    void Release(POINT pt) const { Send(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); }
    void Click(POINT pt) const
    {
        Press(pt);
        Release(pt);
    }
    void Click(const wchar_t* name) const { Click(Centre(name)); }
    // The mouse leaves the host (what TrackMouseEvent reports).
    void Leave() const { Send(WM_MOUSELEAVE); }
    // A wheel turn over a client point (the message carries screen coordinates).
    LRESULT Wheel(POINT pt, int delta) const
    {
        ::ClientToScreen(Hwnd(), &pt);
        return Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), MAKELPARAM(pt.x, pt.y));
    }

    // The host's 10 ms timeline timer, delivered count times through its timer message.
    void Tick(int count = 1) const
    {
        UINT_PTR packed = 0;
        if (!PackSwndTimerId(m_host.GetHandle(), kHostTimerTimeline, packed))
            return;
        for (int i = 0; i < count; ++i)
            Send(WM_TIMER, packed);
    }
    // Whether the host's timeline timer is running (stopping it by the test restarts nothing).
    bool TimelineRunning() const
    {
        UINT_PTR packed = 0;
        if (!PackSwndTimerId(m_host.GetHandle(), kHostTimerTimeline, packed) || !::KillTimer(Hwnd(), packed))
            return false;
        ::SetTimer(Hwnd(), packed, kTimelineElapse, nullptr);
        return true;
    }

    void Pump() const { HostTest::Pump(); }
    void PumpFor(DWORD ms) const { HostTest::PumpFor(ms); }
    // Pumps until done holds or timeoutMs pass; whether done held.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) const
    {
        DWORD end = ::GetTickCount() + timeoutMs;
        while (!done()) {
            if (static_cast<int>(end - ::GetTickCount()) <= 0)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump();
        }
        return true;
    }

    Shot Capture() const
    {
        Shot shot;
        shot.pixels = HostTest::Capture(Hwnd(), shot.width, shot.height);
        return shot;
    }

private:
    RecordingHost& m_host;
};

// The host fixture with the system-resource library's skins in the built-in pool (decoded by
// the program's decoder) and this test program's own resources (its icon) as a provider.
class HostCtrlTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateImgDecoderFactory_GDIP(&decoders));
        m_render->SetImgDecoderFactory(decoders);
        decoders->Release();

        HMODULE module = skein_test::LoadSysResourceLibrary();
        ASSERT_NE(nullptr, module);
        {
            SRefPtr<IResProvider> system(new SResProviderPE, false);
            system->Init(module);
            ASSERT_EQ(0, m_app->LoadSystemResources(system));
        }
        ::FreeLibrary(module);
        SRefPtr<IResProvider> own(new SResProviderPE, false);
        own->Init(::GetModuleHandleW(nullptr));
        m_app->AddProvider(own, nullptr);
    }
    void TearDown() override
    {
        if (m_host && m_host->Handle())
            m_host->DestroyHost();
        m_host.reset();
        HostTest::TearDown();
    }

    // A host built from the layout text (an "SKEIN" document), shown without activation where
    // the mouse pointer is not, so that no real mouse message reaches it.
    HostDriver Open(const std::string& layout)
    {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        HWND hwnd = Create(layout);
        RECT rect = {};
        ::GetWindowRect(hwnd, &rect);
        bool covers = cursor.x < rect.right - rect.left && cursor.y < rect.bottom - rect.top;
        Show(hwnd, covers ? cursor.x + 8 : 0, 0);
        return HostDriver(*m_host);
    }
    // The same, placed so that the mouse pointer lies on the client point pointer.
    HostDriver OpenUnderPointer(const std::string& layout, POINT pointer)
    {
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        Show(Create(layout), cursor.x - pointer.x, cursor.y - pointer.y);
        return HostDriver(*m_host);
    }

    // Posted to hwnd and taken from the queue by the application's loop (its filters first), as
    // the system delivers input.
    void Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        ::PostMessageW(hwnd, msg, wParam, lParam);
        MSG queued;
        while (::PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) {
            if (queued.message != WM_QUIT)
                m_app->GetMainMessageLoop()->OnMsg(&queued);
        }
    }

    // Writes the shot beside the test program; returns the path.
    std::wstring SaveBesideProgram(const Shot& shot, const wchar_t* fileName)
    {
        wchar_t path[MAX_PATH];
        std::wstring file(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
        file = file.substr(0, file.rfind(L'\\') + 1) + fileName;
        EXPECT_TRUE(shot.SavePng(m_render, file));
        return file;
    }

    std::unique_ptr<RecordingHost> m_host;

private:
    HWND Create(const std::string& layout)
    {
        AddLayouts({{L"main", layout}});
        m_host.reset(new RecordingHost(L"LAYOUT:main"));
        HWND hwnd = m_host->CreateHost(nullptr, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
        EXPECT_NE(nullptr, hwnd);
        return hwnd;
    }
    static void Show(HWND hwnd, int x, int y)
    {
        ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Pump();
    }
};

} // namespace hosttest
