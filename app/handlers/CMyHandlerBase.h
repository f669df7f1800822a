#pragma once
// Something attached to a page of the user interface: the device handler of a model (attached
// to the model's page of "tabctrl_devices") and the handlers of that page's sub-pages.
#include "core/SEventArgs.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

class CMyHandlerBase {
public:
    virtual ~CMyHandlerBase() = default;

    // Remembers the page by its handle; the handler does not own it.
    virtual void AttachPage(SKEIN::SWindow* page) { m_pageHandle = page ? page->GetHandle() : 0; }
    // The attached page while it lives, and its host window when it has one; null once either
    // is gone, as after a nested loop (a pop-up, a box, a dialog) in which the program's window
    // was destroyed.
    SKEIN::SWindow* Page() const
    {
        SKEIN::SWindow* page = SKEIN::SWindowMgr::GetWindow(m_pageHandle);
        SKEIN::ISwndContainer* container = page ? page->GetHostContainer() : nullptr;
        return !container || ::IsWindow(container->GetHostHwnd()) ? page : nullptr;
    }

protected:
    // Whether the event belongs to the attached page: its sender is a window inside it, or no
    // window at all. False while no page is attached.
    bool SentFromPage(const SKEIN::EventArgs* evt) const
    {
        const SKEIN::SWindow* page = Page();
        if (!page)
            return false;
        const SKEIN::SWindow* sender = dynamic_cast<const SKEIN::SWindow*>(evt->sender);
        while (sender && sender != page)
            sender = sender->GetParentWindow();
        return sender == page || !dynamic_cast<const SKEIN::SWindow*>(evt->sender);
    }
    // The control of that name and class inside the page; null when the page has none.
    template <class T>
    T* Control(const wchar_t* name) const
    {
        SKEIN::SWindow* page = Page();
        SKEIN::SWindow* found = page ? page->LookupChildByName(SKEIN::SStringW(name)) : nullptr;
        return found && found->MatchesClassName(T::StaticXmlClassName()) ? static_cast<T*>(found) : nullptr;
    }

private:
    SKEIN::SwndHandle m_pageHandle = 0;
};
