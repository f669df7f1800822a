#pragma once
// Something attached to a page of the user interface: the device handler of a model (attached
// to the model's page of "tabctrl_devices") and the handlers of that page's sub-pages.

namespace SKEIN {
class SWindow;
}

class CMyHandlerBase {
public:
    virtual ~CMyHandlerBase() = default;

    // Stores the page; the handler does not own it.
    virtual void AttachPage(SKEIN::SWindow* page) { m_page = page; }
    SKEIN::SWindow* Page() const { return m_page; }

protected:
    SKEIN::SWindow* m_page = nullptr;
};
