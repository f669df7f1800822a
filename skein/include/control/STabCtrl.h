#pragma once
// The tab control ("tabctrl"): pages ("page") of which one shows in the child area, a strip
// of headers along one edge, and an optional slide between the old and the new page
// ("tabslider") driven by the host's timeline.
#include "core/SDynArray.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"
#include "layout/SInterpolator-i.h"

namespace SKEIN {

class STabCtrl;

class STabPage : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"page")

public:
    STabPage();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL ProvideTooltip(POINT, SwndToolInfo*) override { return FALSE; }
    // A page being destroyed leaves the tab control's list.
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    const SStringW& Title() const { return m_title.GetText(false); }
    void SetTitle(const SStringW& title) { m_title.SetSource(title); }
    void RetranslateTitle() { m_title.Retranslate(); }
    int IconIndex() const { return m_iconIndex; }

private:
    friend class STabCtrl;

    STabCtrl* m_tabs; // the tab control whose list holds this page
    STranslatableText m_title;
    int m_iconIndex;
};

// The page switch in motion: both pages painted side by side into one surface, of which a
// window over the child area shows a moving part.
class STabSlider : public SWindow, public ITimelineHandler {
    SKEIN_CLASS_NAME(SWindow, L"tabslider")

public:
    STabSlider(STabCtrl* owner, int oldIndex, int newIndex, int steps, int type, IInterpolator* interpolator);

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimelineTick() override;
    POINT VisibleOffset() const { return POINT{m_offsetX, m_offsetY}; }

private:
    // Paints the tree below or above the slider into the half of the surface at offset.
    void PaintPageInto(int offset, bool below);

    SRefPtr<IRenderTarget> m_surface;
    int m_offsetX;
    int m_offsetY;
    int m_startOffset;
    int m_endOffset;
    int m_steps;
    int m_step;
    bool m_vertical;
    bool m_running;
    SRefPtr<IInterpolator> m_interpolator;
    STabCtrl* m_owner;
};

class STabCtrl : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"tabctrl")

public:
    enum { kAlignTop, kAlignLeft, kAlignBottom, kAlignRight };

    STabCtrl();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void OnXmlInitDone(pugi::xml_node element) override;
    void ApplyColorTint(COLORREF color) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    BOOL ProvideTooltip(POINT pt, SwndToolInfo* info) override;
    UINT QueryWantedKeys(const MSG*) override { return 1; }
    void ArrangeChildren() override;
    void GetChildAreaRect(RECT* out) const override;
    void BeginPaintState(IRenderTarget* rt, SPaintState* saved) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    int RetranslateTexts() override;
    void ApplyScale(int scale) override;

    virtual int InsertItem(pugi::xml_node node, int index, BOOL loading);
    virtual int InsertItemFromText(const wchar_t* xml, int index);
    virtual void OnItemInserted(STabPage*) {}
    virtual void OnItemRemoved(STabPage*) {}
    virtual void GetTitleRect(RECT* out) const;
    virtual BOOL GetItemRect(int index, RECT* out) const;
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, int index, DWORD state);
    virtual STabPage* CreatePageFromXml(pugi::xml_node node);

    BOOL SelectPage(int index);
    STabPage* PageAt(int index) const;
    int PageCount() const { return m_pages.Count(); }
    int CurSel() const { return m_curSel; }
    int HitTest(POINT pt) const;
    void RemoveAllItems();
    // Takes a page out of the list (it stays a child, hidden); a removed selected page passes
    // the selection to the page now at its place, or the last one, even when a subscriber
    // refuses the change. False when it is not listed.
    bool RemoveItem(STabPage* page);
    // Ends a running slide: the slider goes and the selected page shows.
    void StopSlide();
    STabSlider* Slider() const { return m_slider; }
    BOOL IsVerticalStrip() const { return m_tabAlign == kAlignLeft || m_tabAlign == kAlignRight; }

private:
    int Px(const SLayoutSize& size) const;
    int TabWidth() const { return Px(m_tabWidth); }
    int TabHeight() const { return Px(m_tabHeight); }
    void InvalidateItem(int index);
    void SetHoverItem(int index);
    void OnPaint(IRenderTarget* rt);
    void DrawSeparator(IRenderTarget* rt, const RECT& previous, const RECT& current);
    void DrawItemText(IRenderTarget* rt, RECT rect, const SStringW& text);
    void DrawStackedText(IRenderTarget* rt, const SStringW& text, POINT origin, const RECT* centreIn);
    void OnKeyDown(UINT key);
    void OnLeftButtonDown(UINT keys, POINT pt);
    // Shows page index in place of page old, then raises the changed event.
    void ApplySelection(int old, int index);
    void SelectAfterRemoval(int index);
    BOOL ReplaceInterpolator(const SStringW& className);

    int m_hoverItem;
    int m_curSel;
    SLayoutSize m_tabInterSize;
    SLayoutSize m_tabWidth;
    SLayoutSize m_tabHeight;
    SLayoutSize m_tabPos;
    SRefPtr<ISkinObj> m_tabSkin;
    SRefPtr<ISkinObj> m_iconSkin;
    SRefPtr<ISkinObj> m_tabInterSkin;
    SRefPtr<ISkinObj> m_frameSkin;
    SLayoutSize m_iconX;
    SLayoutSize m_iconY;
    SLayoutSize m_textX;
    SLayoutSize m_textY;
    int m_tabAlign;
    SDynArray<STabPage*> m_pages;
    STabSlider* m_slider;
    int m_textDir;
    int m_animateSteps;
    int m_animateType;
    SRefPtr<IInterpolator> m_interpolator;
};

} // namespace SKEIN
