#pragma once
// Display-only pictures: a skin state or a bitmap, a skin played frame by frame on the host's
// timeline, and a Win32 icon.
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

// XML "img".
class SImageWnd : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"img")

public:
    enum { kStretch, kNaturalSize, kTile };

    SImageWnd();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The bitmap drawn in place of the skin (reference added; null removes it).
    void SetImage(IBitmap* bitmap, int filterLevel);
    IBitmap* GetImage() const { return m_image; }

protected:
    void Paint(IRenderTarget* rt);
    // The part of rect that keeps the source's aspect ratio; false when there is no source.
    bool FitAspect(RECT* rect) const;
    SIZE SourceSize() const;

    int m_tile;
    int m_iconIndex;
    SRefPtr<ISkinObj> m_imgSkin;
    SRefPtr<IBitmap> m_image;
    int m_filterLevel;
    int m_keepAspect;
};

// XML "animateimg": the skin's states as frames; fires EventAnimateStart and EventAnimateStop.
class SAnimateImgWnd : public SWindow, public ITimelineHandler {
    SKEIN_CLASS_NAME(SWindow, L"animateimg")

public:
    SAnimateImgWnd();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ApplyColorTint(COLORREF color) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimelineTick() override;

    void Start();
    void Stop();
    BOOL IsRunning() const { return m_running != 0; }
    int CurrentFrame() const { return m_currentFrame; }

protected:
    void OnShow();
    void AdvanceFrame();

    SRefPtr<ISkinObj> m_aniSkin;
    int m_speed;
    int m_currentFrame;
    int m_autoStart;
    int m_running;
    int m_tickCount;
    int m_repeat;
    int m_repeatCount;
};

// XML "icon".
class SIconWnd : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"icon")

public:
    SIconWnd();
    ~SIconWnd() override;

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Takes ownership of the icon; the previous one is destroyed.
    void SetIcon(HICON icon);
    HICON GetIcon() const { return m_icon; }

protected:
    HICON m_icon;
};

} // namespace SKEIN
