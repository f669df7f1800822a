#include "helper/SPenScope.h"

namespace SKEIN {

SPenScope::SPenScope(IRenderTarget* rt, int style, COLORREF color, int width)
    : m_rt(rt), m_previous(nullptr), m_pen(nullptr)
{
    if (SUCCEEDED(rt->CreatePen(style, color, width, &m_pen)) && m_pen)
        rt->SelectObject(m_pen, &m_previous);
}

SPenScope::~SPenScope()
{
    if (!m_pen)
        return;
    m_rt->SelectObject(m_previous, nullptr);
    if (m_previous)
        m_previous->Release();
    m_pen->Release();
}

} // namespace SKEIN
