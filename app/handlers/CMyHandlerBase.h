#pragma once
// Something attached to a page of the user interface: the device handler of a model (attached
// to the model's page of "tabctrl_devices") and the handlers of that page's sub-pages.
#include "core/SEventArgs.h"
#include "core/SWnd.h"

class CMyHandlerBase {
public:
    virtual ~CMyHandlerBase() = default;

    // Stores the page; the handler does not own it.
    virtual void AttachPage(SKEIN::SWindow* page) { m_page = page; }
    SKEIN::SWindow* Page() const { return m_page; }

protected:
    // Whether the event belongs to the attached page: its sender is a window inside it, or no
    // window at all. False while no page is attached.
    bool SentFromPage(const SKEIN::EventArgs* evt) const
    {
        if (!m_page)
            return false;
        const SKEIN::SWindow* sender = dynamic_cast<const SKEIN::SWindow*>(evt->sender);
        while (sender && sender != m_page)
            sender = sender->GetParentWindow();
        return sender == m_page || !dynamic_cast<const SKEIN::SWindow*>(evt->sender);
    }
    // The control of that name and class inside the page; null when the page has none.
    template <class T>
    T* Control(const wchar_t* name) const
    {
        SKEIN::SWindow* found = m_page ? m_page->LookupChildByName(SKEIN::SStringW(name)) : nullptr;
        return found && found->MatchesClassName(T::StaticXmlClassName()) ? static_cast<T*>(found) : nullptr;
    }

    SKEIN::SWindow* m_page = nullptr;
};
