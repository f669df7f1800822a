#include "skin/SSkinScrollbar.h"
#include "skin/SSkinAttr.h"

namespace SKEIN {

SSkinScrollbar::SSkinScrollbar() : m_margin(0), m_hasGripper(0), m_hasInactive(0) {}

int SSkinScrollbar::GetIdealSize() const
{
    return m_image ? m_image->Width() / kColumns : 0;
}

RECT SSkinScrollbar::GetPartRect(int part, int state, BOOL vertical) const
{
    RECT cell = {0, 0, 0, 0};
    int side = GetIdealSize();
    int column, row;
    if (part == kSbPartCorner) {
        column = 8;
        row = 0;
    } else if (part == kSbPartGripper) {
        column = 8;
        row = vertical ? 1 : 2;
    } else {
        if (state == kSbStateInactive && !m_hasInactive)
            state = 0;
        if (part == kSbPartLineUp || part == kSbPartLineDown)
            column = part;
        else if (part == kSbPartRailUp || part == kSbPartRailDown)
            column = 3;
        else if (part == kSbPartThumb)
            column = 2;
        else
            return cell;
        if (!vertical)
            column += 4;
        row = state;
    }
    SetRect(&cell, side * column, side * row, side * (column + 1), side * (row + 1));
    return cell;
}

bool SSkinScrollbar::PartCell(int part, int state, BOOL vertical, RECT* cell) const
{
    *cell = GetPartRect(part, state, vertical);
    return m_image && !IsRectEmpty(cell) && cell->top >= 0 && cell->bottom <= m_image->Height();
}

void SSkinScrollbar::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    int part = state & 0xFFFF;
    int partState = (state >> 16) & 0xFF;
    BOOL vertical = ((state >> 24) & 0xFF) != 0;
    RECT cell;
    if (!PartCell(part, partState, vertical, &cell))
        return;
    RECT margins = {0, 0, 0, 0};
    if (vertical)
        margins.top = margins.bottom = m_margin;
    else
        margins.left = margins.right = m_margin;
    UINT mode = m_tile ? kExpandTile : kExpandStretch;
    rt->DrawBitmap9Patch(rect, m_image, &cell, &margins, mode, alpha);

    if (part != kSbPartThumb || !m_hasGripper || !PartCell(kSbPartGripper, 0, vertical, &cell))
        return;
    RECT gripper = *rect;
    if (vertical) {
        int length = cell.bottom - cell.top;
        gripper.top = rect->top + (rect->bottom - rect->top - length) / 2;
        gripper.bottom = gripper.top + length;
    } else {
        int length = cell.right - cell.left;
        gripper.left = rect->left + (rect->right - rect->left - length) / 2;
        gripper.right = gripper.left + length;
    }
    rt->DrawBitmap9Patch(&gripper, m_image, &cell, &margins, mode, alpha);
}

void SSkinScrollbar::CopySettingsTo(ISkinObj* target, int scale) const
{
    SSkinImgList::CopySettingsTo(target, scale);
    SSkinScrollbar* copy = dynamic_cast<SSkinScrollbar*>(target);
    if (!copy)
        return;
    copy->m_margin = MulDiv(m_margin, scale, m_scale);
    copy->m_hasGripper = m_hasGripper;
    copy->m_hasInactive = m_hasInactive;
}

HRESULT SSkinScrollbar::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"margin"))
        m_margin = SkinAttrInt(value);
    else if (SkinAttrIs(name, L"hasGripper"))
        m_hasGripper = SkinAttrInt(value);
    else if (SkinAttrIs(name, L"hasInactive"))
        m_hasInactive = SkinAttrInt(value);
    else
        return SSkinImgList::ApplyAttribute(name, value, loading);
    return Took(name, value, loading, S_FALSE);
}

} // namespace SKEIN
