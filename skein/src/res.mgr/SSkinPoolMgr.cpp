#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

namespace {

const wchar_t* const kSystemSkinNames[kSysSkinCount] = {
    L"_skin.sys.checkbox",       L"_skin.sys.radio",          L"_skin.sys.focuscheckbox",
    L"_skin.sys.focusradio",     L"_skin.sys.btn.normal",     L"_skin.sys.scrollbar",
    L"_skin.sys.border",         L"_skin.sys.dropbtn",        L"_skin.sys.tree.toggle",
    L"_skin.sys.tree.checkbox",  L"_skin.sys.tab.page",       L"_skin.sys.header",
    L"_skin.sys.split.vert",     L"_skin.sys.split.horz",     L"_skin.sys.prog.bkgnd",
    L"_skin.sys.prog.bar",       L"_skin.sys.vert.prog.bkgnd", L"_skin.sys.vert.prog.bar",
    L"_skin.sys.slider.thumb",   L"_skin.sys.btn.close",      L"_skin.sys.btn.minimize",
    L"_skin.sys.btn.maxmize",    L"_skin.sys.btn.restore",    L"_skin.sys.menu.check",
    L"_skin.sys.menu.sep",       L"_skin.sys.menu.arrow",     L"_skin.sys.menu.border",
    L"_skin.sys.menu.skin",      L"_skin.sys.icons",          L"_skin.sys.wnd.bkgnd",
    L"_skin.sys.btn.prev",       L"_skin.sys.btn.next",       L"_skin.sys.spin.down",
    L"_skin.sys.spin.up",
};

} // namespace

const wchar_t* SystemSkinName(int index)
{
    return index >= 0 && index < kSysSkinCount ? kSystemSkinNames[index] : nullptr;
}

SSkinPoolMgr::SSkinPoolMgr() : m_builtin(new SSkinPool())
{
    PushPool(m_builtin);
}

SSkinPoolMgr::~SSkinPoolMgr()
{
    for (auto* node = m_pools.First(); node; node = node->next)
        node->value->Release();
    m_pools.RemoveAll();
    m_builtin->Release();
}

void SSkinPoolMgr::PushPool(SSkinPool* pool)
{
    if (!pool || !m_pools.AddTail(pool))
        return;
    pool->AddRef();
}

SSkinPool* SSkinPoolMgr::PopPool(SSkinPool* pool)
{
    SLinkedList<SSkinPool*>::Node* node = m_pools.Last();
    if (pool) {
        while (node && node->value != pool)
            node = node->prev;
    }
    // The first entry is the built-in pool's own; it stays while the manager lives.
    if (!node || node == m_pools.First())
        return nullptr;
    SSkinPool* popped = node->value;
    m_pools.RemoveNode(node);
    popped->Release();
    return popped;
}

ISkinObj* SSkinPoolMgr::FindSkin(const SStringW& name, int scale)
{
    for (auto* node = m_pools.Last(); node; node = node->prev) {
        if (ISkinObj* skin = node->value->FindSkin(name, scale))
            return skin;
    }
    return nullptr;
}

ISkinObj* SSkinPoolMgr::FindSystemSkin(int index, int scale)
{
    const wchar_t* name = SystemSkinName(index);
    return name ? m_builtin->FindSkin(SStringW(name), scale) : nullptr;
}

} // namespace SKEIN
