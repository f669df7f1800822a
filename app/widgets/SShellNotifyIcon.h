#pragma once
// The taskbar notification icon of the host window that contains the control. The control is
// an invisible window that holds the icons, tip and menu; a hidden native window receives the
// icon's callback messages, restores the host on a double click, shows the menu on a right
// click and puts the icon back when the taskbar is re-created.
#include <windows.h>
#include <shellapi.h>
#include "core/SDynArray.h"
#include "core/SSimpleWnd.h"
#include "core/SWnd.h"

namespace SKEIN {

class SHostWnd;
class SShellNotifyIcon;

// Receives the notification icon's messages for one control.
class CShellNotifyHwnd2 : public CSimpleWnd {
public:
    CShellNotifyHwnd2(SHostWnd* host, SShellNotifyIcon* icon);

    // The control is going away: no message reaches it any more.
    void Detach();
    // Detaches and destroys the window; the object deletes itself after its last message.
    void Close();

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;
    void OnLastMessage(HWND hwnd) override;

private:
    BOOL OfferToHost(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnNotify(LPARAM event);
    void RestoreHost();

    SHostWnd* m_host;
    SShellNotifyIcon* m_icon;
    UINT m_taskbarCreated;
};

// XML "shellnotifyicon".
class SShellNotifyIcon : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"shellnotifyicon")

public:
    enum MenuKind { kMenuNative = 0, kMenuDrawn = 1, kMenuNone = 2 };
    enum { kNotifyId = 100, kCallbackMessage = 2135, kAnimationTimer = 8 };

    SShellNotifyIcon();
    ~SShellNotifyIcon() override;

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Creates the message window and adds the icon instead of creating children.
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Removes the icon and the message window before the control goes.
    void OnLastRelease() override;

    // S_OK when at least one icon of the ";" list loaded, else S_FALSE.
    HRESULT SetIcons(const SStringW& list);
    HRESULT SetTip(const SStringW& tip, BOOL loading);
    // The root element of the menu document decides the kind; S_FALSE when it does not load.
    HRESULT SetMenu(const SStringW& resId);

    void SetIconData(HWND hwnd, HICON icon, UINT flags, UINT callbackMessage, UINT id);
    BOOL AddIcon();
    BOOL RemoveIcon();
    void ShowIcon(int index);
    void StartAnimation();
    void StopAnimation();
    void NextFrame();
    void ShowMenu();

    const NOTIFYICONDATAW& IconData() const { return m_data; }
    int IconCount() const { return m_icons.Count(); }
    HICON IconAt(int index) const { return m_icons[index]; }
    int GetMenuKind() const { return m_menuKind; }
    const SStringW& MenuId() const { return m_menuId; }
    BOOL IsAnimating() const { return m_animating; }
    HWND MessageHwnd() const;

private:
    friend class CShellNotifyHwnd2;

    void DestroyIcons();
    // The default index, moved to 0 when outside the list, and its icon; the logo when the
    // list is empty.
    HICON DefaultIcon();
    // icons[index], or the fallback icon for an index outside the list.
    HICON IconOrFallback(int index) const;
    BOOL Modify();

    SDynArray<HICON> m_icons;
    SStringW m_tip;
    SStringW m_menuId;
    int m_menuKind;
    NOTIFYICONDATAW m_data;
    BOOL m_filled;
    CShellNotifyHwnd2* m_msgWnd;
    int m_defaultIcon;
    int m_frame;
    int m_startFrame;
    int m_duration;
    BOOL m_animating;
    HICON m_fallbackIcon;
};

} // namespace SKEIN
