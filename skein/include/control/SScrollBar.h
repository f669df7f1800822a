#pragma once
// A stand-alone scroll bar ("scrollbar"): reports every action as EventScroll and moves its
// own position only by a thumb drag; the owner sets it through SBM_SETSCROLLINFO.
#include "core/SWnd.h"

namespace SKEIN {

class SScrollBarGeometry;

class SScrollBar : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"scrollbar")

public:
    SScrollBar();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void OnXmlInitDone(pugi::xml_node element) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    const SCROLLINFO& ScrollInfo() const { return m_info; }
    int ArrowSize() const { return m_arrowSize; }
    BOOL IsVertical() const { return m_vertical; }

private:
    SScrollBarGeometry Geometry() const;
    int PartLook(int part) const;
    void Paint(IRenderTarget* rt);
    LRESULT SetInfo(BOOL redraw, const SCROLLINFO* info);
    LRESULT GetInfo(SCROLLINFO* info) const;
    void OnLeftButtonDown(POINT pt);
    void OnLeftButtonUp(POINT pt);
    void EndPress(POINT pt);
    void OnMouseMove(POINT pt);
    void FireScroll(int code, int position);

    SRefPtr<ISkinObj> m_sbSkin;
    int m_arrowSize;
    SCROLLINFO m_info;
    int m_dragging;
    POINT m_dragStart;
    int m_dragStartPos;
    int m_pressedPart;
    int m_hoverPart;
    BOOL m_vertical;
};

} // namespace SKEIN
