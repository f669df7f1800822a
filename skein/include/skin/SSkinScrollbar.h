#pragma once
// Scroll-bar skin cut from a grid image nine square cells wide: one row per state, one column
// per part (vertical bars in columns 0-3, horizontal in 4-7), column 8 holding the corner and
// the grippers.
#include "skin/SSkinImgList.h"

namespace SKEIN {

// Parts of a scroll bar.
enum {
    kSbPartLineUp = 0,
    kSbPartLineDown = 1,
    kSbPartRailUp = 2,
    kSbPartRailDown = 3,
    kSbPartThumb = 5,
    kSbPartCorner = 10,
    kSbPartGripper = 11,
};
// The inactive state row (used only with hasInactive, otherwise the normal row).
const int kSbStateInactive = 4;

class SSkinScrollbar : public SSkinImgList {
    SKEIN_CLASS_NAME(SSkinImgList, L"scrollbar")

public:
    enum { kColumns = 9 };

    SSkinScrollbar();

    void CopySettingsTo(ISkinObj* target, int scale) const override;
    using SSkinImgList::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    virtual int HasArrowParts() const { return 1; }
    // The side of one cell: image width / 9, 0 without an image.
    virtual int GetIdealSize() const;
    // The cell of a part in a state; empty for a part without a cell.
    virtual RECT GetPartRect(int part, int state, BOOL vertical) const;

    // The state argument of Draw for a part.
    static int MakeState(int part, int state, BOOL vertical)
    {
        return (part & 0xFFFF) | ((state & 0xFF) << 16) | ((vertical ? 1 : 0) << 24);
    }

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;
    // At least one pixel per grid column.
    bool AcceptsImage(const IBitmap* image) const override { return image && image->Width() >= kColumns; }

private:
    // The part's cell when the whole cell lies inside the image.
    bool PartCell(int part, int state, BOOL vertical, RECT* cell) const;

    int m_margin;
    int m_hasGripper;
    int m_hasInactive;
};

} // namespace SKEIN
