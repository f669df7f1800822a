#include "core/SCaret.h"
#include "core/SApp.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

SCaret::SCaret(SwndHandle owner, HBITMAP bitmap, int width, int height) : m_owner(owner)
{
    SApplication* app = SApplication::Instance();
    IRenderFactory* factory = app ? app->RenderFactory() : nullptr;
    IRenderTarget* target = nullptr;
    if (!factory || !factory->CreateRenderTarget(&target, width, height))
        return;
    SRefPtr<IRenderTarget> scratch;
    scratch.Attach(target);
    if (bitmap) {
        BITMAP info = {};
        ::GetObjectW(bitmap, sizeof(info), &info);
        HDC dc = scratch->GetDC(0);
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, bitmap);
        ::StretchBlt(dc, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
        scratch->ReleaseDC(dc);
    } else {
        RECT all = {0, 0, width, height};
        scratch->ClearRect(&all, 0xFF000000);
    }
    m_bitmap = static_cast<IBitmap*>(scratch->GetCurrentObject(kRenderObjBitmap));
}

SCaret::~SCaret() {}

void SCaret::Draw(RECT* out, IRenderTarget* target, int x, int y, BOOL)
{
    *out = RECT{0, 0, 0, 0};
    SWindow* owner = SWindowMgr::GetWindow(m_owner);
    if (!owner || !m_bitmap)
        return;
    RECT visible = {};
    owner->GetInnerRect(&visible);
    for (SWindow* ancestor = owner->GetParentWindow(); ancestor; ancestor = ancestor->GetParentWindow()) {
        RECT inner = {};
        ancestor->GetInnerRect(&inner);
        ::IntersectRect(&visible, &visible, &inner);
    }
    if (ISwndContainer* container = owner->GetHostContainer())
        container->FrameToHost(visible);
    RECT caret = {x, y, x + m_bitmap->Width(), y + m_bitmap->Height()};
    if (::IntersectRect(out, &caret, &visible))
        target->BitBlt(out, target, out->left, out->top, DSTINVERT);
}

} // namespace SKEIN
