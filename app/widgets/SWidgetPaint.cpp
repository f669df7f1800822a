#include "widgets/SWidgetPaint.h"

namespace SKEIN {

SWidgetPen::SWidgetPen(IRenderTarget* rt, COLORREF color) : m_rt(rt), m_previous(nullptr), m_pen(nullptr)
{
    if (SUCCEEDED(rt->CreatePen(PS_SOLID, color, 1, &m_pen)) && m_pen)
        rt->SelectObject(m_pen, &m_previous);
}

SWidgetPen::~SWidgetPen()
{
    if (!m_pen)
        return;
    if (m_previous) {
        m_rt->SelectObject(m_previous, nullptr);
        m_previous->Release();
    }
    m_pen->Release();
}

} // namespace SKEIN
