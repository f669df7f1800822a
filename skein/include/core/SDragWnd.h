#pragma once
// The drag image of a drag source: one topmost, click-through, layered popup at a time that
// follows the cursor with the image's hot spot.
#include "core/SSimpleWnd.h"

namespace SKEIN {

class CDragWnd : public CSimpleWnd {
public:
    // Shows bitmap (32-bit: with its per-pixel alpha at alpha; else through the colour key and
    // alpha of lwaFlags, painted from the bitmap, which the caller keeps alive until
    // EndDragImage). false when a drag image exists already or the window cannot be made.
    static bool StartDragImage(HBITMAP bitmap, int hotX, int hotY, COLORREF colorKey, BYTE alpha, DWORD lwaFlags);
    // Puts the hot spot at (x, y), screen coordinates, and shows the image.
    static void MoveDragImage(int x, int y);
    static void EndDragImage();
    // The window of the drag image, null when none.
    static HWND DragImageWindow();

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;

private:
    CDragWnd() : m_handled(FALSE), m_hotX(0), m_hotY(0), m_bitmap(nullptr) {}
    bool Create(HBITMAP bitmap, COLORREF colorKey, BYTE alpha, DWORD lwaFlags);
    void OnPaint();

    BOOL m_handled;
    int m_hotX;
    int m_hotY;
    HBITMAP m_bitmap;

    static CDragWnd* s_dragWnd;
};

} // namespace SKEIN
