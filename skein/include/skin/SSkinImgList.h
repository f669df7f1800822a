#pragma once
// Image skins built on one strip of equal cells, one cell per state, side by side or stacked.
#include "core/SDynArray.h"
#include "skin/SSkinObjBase.h"

namespace SKEIN {

// Filter levels carried in the high 16 bits of an expand mode.
enum { kFilterNone = 0, kFilterLow = 1, kFilterMedium = 2, kFilterHigh = 3 };

class SSkinImgList : public SSkinObjBase {
    SKEIN_CLASS_NAME(SSkinObjBase, L"imglist")

public:
    SSkinImgList();
    ~SSkinImgList() override;

    SIZE GetSkinSize() const override;
    BOOL IsStateless() const override { return GetStateCount() == 1; }
    int GetStateCount() const override;
    void ApplyColorize(COLORREF color) override;
    void CopySettingsTo(ISkinObj* target, int scale) const override;

    using SSkinObjBase::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    // n below 1 is refused (false).
    virtual bool SetStates(int n);
    virtual void SetImage(IBitmap* image) { AssignObjRef(m_image, image); }
    virtual IBitmap* GetImage() const { return m_image; }
    virtual void SetTile(BOOL tile) { m_tile = tile; }
    virtual BOOL IsTile() const { return m_tile; }
    virtual void SetVertical(BOOL vertical) { m_vertical = vertical; }
    virtual BOOL IsVertical() const { return m_vertical; }
    // Low 16 bits the mode (natural, stretch, tile), high 16 bits the filter level.
    virtual UINT GetExpandMode() const;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;
    // Whether "src" may take the image (an image the skin can't cut into cells is a bad value).
    virtual bool AcceptsImage(const IBitmap* image) const { return image != nullptr; }
    // The cell of a state; false when the state has no cell in the image.
    bool CellRect(int state, RECT* cell) const;
    // An image loaded by resource id (one reference), or null.
    static IBitmap* LoadImage(const SStringW& id);

    IBitmap* m_image;
    int m_states;
    BOOL m_tile;
    BOOL m_autoFit;
    BOOL m_vertical;
    IBitmap* m_colorizeBackup;
    int m_filterLevel;
    SDynArray<int> m_stateMap;
};

// The cell of a state at its natural size, centred in the rectangle.
class SSkinImgCenter : public SSkinImgList {
    SKEIN_CLASS_NAME(SSkinImgList, L"imgCenter")

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;
};

} // namespace SKEIN
