#pragma once
// The stack of skin pools, the built-in pool at the bottom; names are answered by the most
// recently pushed pool that has them. The framework's controls reach their default skins by
// system-skin index in the built-in pool.
#include "core/SLinkedList.h"
#include "core/SSingleton.h"
#include "res.mgr/SSkinPool.h"

namespace SKEIN {

// System skins, by index into the table of "_skin.sys.*" names.
enum {
    kSysSkinCheckbox = 0,
    kSysSkinRadio,
    kSysSkinFocusCheckbox,
    kSysSkinFocusRadio,
    kSysSkinBtnNormal,
    kSysSkinScrollbar,
    kSysSkinBorder,
    kSysSkinDropBtn,
    kSysSkinTreeToggle,
    kSysSkinTreeCheckbox,
    kSysSkinTabPage,
    kSysSkinHeader,
    kSysSkinSplitVert,
    kSysSkinSplitHorz,
    kSysSkinProgBkgnd,
    kSysSkinProgBar,
    kSysSkinVertProgBkgnd,
    kSysSkinVertProgBar,
    kSysSkinSliderThumb,
    kSysSkinBtnClose,
    kSysSkinBtnMinimize,
    kSysSkinBtnMaximize,
    kSysSkinBtnRestore,
    kSysSkinMenuCheck,
    kSysSkinMenuSep,
    kSysSkinMenuArrow,
    kSysSkinMenuBorder,
    kSysSkinMenuSkin,
    kSysSkinIcons,
    kSysSkinWndBkgnd,
    kSysSkinBtnPrev,
    kSysSkinBtnNext,
    kSysSkinSpinDown,
    kSysSkinSpinUp,
    kSysSkinCount,
};

// The name of a system skin; null outside 0..kSysSkinCount - 1.
const wchar_t* SystemSkinName(int index);

class SSkinPoolMgr : public SSingleton<SSkinPoolMgr>, public SSingleton2 {
public:
    // Creates and pushes the built-in pool.
    SSkinPoolMgr();
    ~SSkinPoolMgr() override;

    // Appends the pool at the top (reference added).
    void PushPool(SSkinPool* pool);
    // Removes that pool, or the top one for null, and releases the list's reference; returns
    // the pool for identification. Null, with nothing removed, for a pool not listed and for
    // the built-in pool's own entry at the bottom (a further push of it can be popped).
    SSkinPool* PopPool(SSkinPool* pool);
    // From the top pool down; the first pool that has the name answers.
    ISkinObj* FindSkin(const SStringW& name, int scale);
    // The system skin in the built-in pool; null for an index out of range.
    ISkinObj* FindSystemSkin(int index, int scale);
    SSkinPool* BuiltinPool() const { return m_builtin; }
    int PoolCount() const { return m_pools.Count(); }

private:
    SLinkedList<SSkinPool*> m_pools;
    SSkinPool* m_builtin;
};

} // namespace SKEIN
