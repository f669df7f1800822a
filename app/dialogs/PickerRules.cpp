#include "dialogs/PickerRules.h"
#include <wchar.h>
#include "texts/KeyboardTable.h"

namespace {

const PickerOutcome kCancel = {kPickerCancelled, 0};

const int kFirstMouseButton = 1;
const int kLastMouseButton = 5;
const int kFirstMouseMove = 0x21;
const int kLastMouseMove = 0x26;

bool Named(const wchar_t* name, const wchar_t* what)
{
    return name && wcscmp(name, what) == 0;
}

} // namespace

PickerOutcome KeyboardPick(const wchar_t* name, int id)
{
    if (Named(name, L"~"))
        return kCancel;
    int entry = id - 1;
    if (entry < 0 || entry >= KeyCount())
        return kCancel;
    return {kPickerChosen, KeyboardTable[entry].usage};
}

PickerOutcome MousePick(const wchar_t* name, int id)
{
    if (Named(name, L"\x7F"))
        return kCancel;
    bool button = id >= kFirstMouseButton && id <= kLastMouseButton;
    bool move = id >= kFirstMouseMove && id <= kLastMouseMove;
    return button || move ? PickerOutcome{kPickerChosen, id} : kCancel;
}
