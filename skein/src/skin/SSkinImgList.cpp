#include "skin/SSkinImgList.h"
#include <string.h>
#include "helper/SStringConv.h"
#include "skin/SColorize.h"
#include "skin/SSkinAttr.h"
#include "skin/SSkinEnv.h"

namespace SKEIN {

namespace {

const wchar_t* const kFilterNames[] = {L"none", L"low", L"medium", L"high"};

// Copies the pixels of source into target when both have the same size.
void CopyPixels(IBitmap* target, const IBitmap* source)
{
    if (target->Width() != source->Width() || target->Height() != source->Height())
        return;
    const void* from = source->GetPixelBits();
    void* to = target->LockPixelBits();
    if (from && to)
        memcpy(to, from, static_cast<size_t>(target->Width()) * static_cast<size_t>(target->Height()) * 4);
    if (to)
        target->UnlockPixelBits(to);
}

IBitmap* Resampled(IBitmap* bitmap, int width, int height)
{
    IBitmap* out = nullptr;
    if (bitmap && FAILED(bitmap->Scale(&out, width, height, kFilterHigh)))
        return nullptr;
    return out;
}

} // namespace

SSkinImgList::SSkinImgList()
    : m_image(nullptr), m_states(1), m_tile(FALSE), m_autoFit(TRUE), m_vertical(FALSE), m_colorizeBackup(nullptr),
      m_filterLevel(kFilterNone)
{
}

SSkinImgList::~SSkinImgList()
{
    if (m_image)
        m_image->Release();
    if (m_colorizeBackup)
        m_colorizeBackup->Release();
}

SIZE SSkinImgList::GetSkinSize() const
{
    SIZE size = {0, 0};
    if (!m_image)
        return size;
    size = m_image->Size();
    if (m_vertical)
        size.cy /= m_states;
    else
        size.cx /= m_states;
    return size;
}

int SSkinImgList::GetStateCount() const
{
    return m_stateMap.Count() > 0 ? m_stateMap.Count() : m_states;
}

bool SSkinImgList::SetStates(int n)
{
    if (n < 1)
        return false;
    m_states = n;
    return true;
}

UINT SSkinImgList::GetExpandMode() const
{
    UINT mode = m_autoFit ? (m_tile ? kExpandTile : kExpandStretch) : kExpandNatural;
    return mode | (static_cast<UINT>(m_filterLevel) << 16);
}

bool SSkinImgList::CellRect(int state, RECT* cell) const
{
    if (!m_image || state < 0 || state >= m_states)
        return false;
    SIZE size = GetSkinSize();
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    int x = m_vertical ? 0 : state * size.cx;
    int y = m_vertical ? state * size.cy : 0;
    SetRect(cell, x, y, x + size.cx, y + size.cy);
    return true;
}

void SSkinImgList::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    if (state >= 0 && state < m_stateMap.Count())
        state = m_stateMap[state];
    RECT cell;
    if (CellRect(state, &cell))
        rt->DrawBitmapEx(rect, m_image, &cell, GetExpandMode(), alpha);
}

IBitmap* SSkinImgList::LoadImage(const SStringW& id)
{
    return GetSkinEnv()->LoadImage(id.c_str());
}

void SSkinImgList::ApplyColorize(COLORREF color)
{
    if (!m_enableColorize || color == m_colorizeColor)
        return;
    m_colorizeColor = color;
    if (m_colorizeBackup) {
        CopyPixels(m_image, m_colorizeBackup);
    } else {
        if (!m_image || FAILED(m_image->Clone(&m_colorizeBackup)) || !m_colorizeBackup)
            return;
    }
    if (color != 0) {
        SColorize(color).Bitmap(m_image);
    } else {
        m_colorizeBackup->Release();
        m_colorizeBackup = nullptr;
    }
}

void SSkinImgList::CopySettingsTo(ISkinObj* target, int scale) const
{
    SSkinObjBase::CopySettingsTo(target, scale);
    SSkinImgList* copy = dynamic_cast<SSkinImgList*>(target);
    if (!copy)
        return;
    copy->m_states = m_states;
    copy->m_tile = m_tile;
    copy->m_vertical = m_vertical;
    copy->m_filterLevel = m_filterLevel;
    copy->m_autoFit = m_autoFit;
    copy->m_stateMap.Resize(0);
    for (int i = 0; i < m_stateMap.Count(); ++i)
        copy->m_stateMap.Add(m_stateMap[i]);
    if (!m_image)
        return;
    SIZE cell = GetSkinSize();
    int width = MulDiv(cell.cx, scale, m_scale);
    int height = MulDiv(cell.cy, scale, m_scale);
    if (m_vertical)
        height *= m_states;
    else
        width *= m_states;
    IBitmap* backup = Resampled(m_colorizeBackup, width, height);
    if (copy->m_colorizeBackup)
        copy->m_colorizeBackup->Release();
    copy->m_colorizeBackup = backup;
    IBitmap* image = Resampled(m_image, width, height);
    copy->SetImage(image);
    if (image)
        image->Release();
}

HRESULT SSkinImgList::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"src")) {
        SRefPtr<IBitmap> image(LoadImage(value), false);
        if (!AcceptsImage(image))
            return Took(name, value, loading, E_FAIL);
        SetImage(image);
        return Took(name, value, loading, S_FALSE);
    }
    if (SkinAttrIs(name, L"tile")) {
        m_tile = SkinAttrInt(value);
        return Took(name, value, loading, S_FALSE);
    }
    if (SkinAttrIs(name, L"autoFit")) {
        m_autoFit = SkinAttrInt(value);
        return Took(name, value, loading, S_FALSE);
    }
    if (SkinAttrIs(name, L"vertical")) {
        m_vertical = SkinAttrInt(value);
        return Took(name, value, loading, S_FALSE);
    }
    if (SkinAttrIs(name, L"states"))
        return Took(name, value, loading, SetStates(SkinAttrInt(value)) ? S_FALSE : E_FAIL);
    if (SkinAttrIs(name, L"filterLevel")) {
        for (int level = 0; level < 4; ++level) {
            if (value == kFilterNames[level]) {
                m_filterLevel = level;
                return Took(name, value, loading, S_FALSE);
            }
        }
        return Took(name, value, loading, E_FAIL);
    }
    if (SkinAttrIs(name, L"stateMap")) {
        SDynArray<SStringW> pieces;
        SplitByChar(value, L'-', pieces);
        m_stateMap.Resize(0);
        for (int i = 0; i < pieces.Count(); ++i)
            m_stateMap.Add(SkinAttrInt(pieces[i]));
        return Took(name, value, loading, S_OK);
    }
    return SSkinObjBase::ApplyAttribute(name, value, loading);
}

void SSkinImgCenter::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    RECT cell;
    if (!CellRect(state, &cell))
        return;
    int width = cell.right - cell.left;
    int height = cell.bottom - cell.top;
    RECT dest;
    dest.left = rect->left + (rect->right - rect->left - width) / 2;
    dest.top = rect->top + (rect->bottom - rect->top - height) / 2;
    dest.right = dest.left + width;
    dest.bottom = dest.top + height;
    rt->DrawBitmapEx(&dest, m_image, &cell, GetExpandMode(), alpha);
}

} // namespace SKEIN
