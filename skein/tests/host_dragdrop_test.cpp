// Drag and drop: the container's dispatcher hands the OLE calls of its native window to the
// drop targets that windowless windows registered, by the window under the cursor; the drag
// image is one layered popup at a time.
#include "host_test_env.h"
#include <string>
#include "core/SDragWnd.h"

namespace hosttest {
namespace {

const char kDropLayout[] =
    "<SKEIN width='200' height='100'><root>"
    "<window name='a' pos='0,0,@100,@100'/>"
    "<window name='b' pos='100,0,@100,@100'/>"
    "</root></SKEIN>";

// Counts references; every other operation is refused.
class FakeData : public IDataObject {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    ULONG refs = 1;
};

// Records its calls as letters (Enter, Over, Leave, Drop) and accepts a copy.
class FakeTarget : public IDropTarget {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        calls += 'E';
        entered = data;
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        calls += 'O';
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        calls += 'L';
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        calls += 'D';
        dropped = data;
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    ULONG refs = 1;
    std::string calls;
    IDataObject* entered = nullptr;
    IDataObject* dropped = nullptr;
};

class HostDragDropTest : public HostTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        HostTest::SetUp();
        AddLayouts({{L"drop", kDropLayout}});
    }
    void TearDown() override
    {
        HostTest::TearDown();
        ::OleUninitialize();
    }
    HWND Open(SHostWnd& host)
    {
        HWND hwnd = CreatePopup(host, 60, 60);
        if (hwnd) {
            a = host.LookupChildByName(L"a")->GetHandle();
            b = host.LookupChildByName(L"b")->GetHandle();
        }
        return hwnd;
    }
    // A client point of the host in screen coordinates.
    static POINTL At(HWND hwnd, int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(hwnd, &pt);
        return POINTL{pt.x, pt.y};
    }

    SwndHandle a = 0;
    SwndHandle b = 0;
    FakeData data;
    FakeTarget ta;
    FakeTarget tb;
};

TEST_F(HostDragDropTest, EnterOverLeaveAndDropReachTheTargetUnderTheCursor)
{
    RecordingHost host(L"LAYOUT:drop");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(host.RegisterDropTarget(a, &ta));
    ASSERT_TRUE(host.RegisterDropTarget(b, &tb));
    IDropTarget* dispatcher = host.DropTargetDispatcher();

    DWORD effect = DROPEFFECT_MOVE;
    EXPECT_EQ(S_OK, dispatcher->DragEnter(&data, MK_LBUTTON, At(hwnd, 20, 20), &effect));
    EXPECT_EQ("E", ta.calls);
    EXPECT_EQ(&data, ta.entered);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), effect);
    EXPECT_EQ(2u, data.refs) << "the dispatcher keeps the data object";

    dispatcher->DragOver(MK_LBUTTON, At(hwnd, 40, 30), &effect);
    dispatcher->DragOver(MK_LBUTTON, At(hwnd, 150, 30), &effect);
    EXPECT_EQ("EOL", ta.calls);
    EXPECT_EQ("E", tb.calls);
    EXPECT_EQ(&data, tb.entered);

    EXPECT_EQ(S_OK, dispatcher->Drop(&data, 0, At(hwnd, 150, 30), &effect));
    EXPECT_EQ("ED", tb.calls);
    EXPECT_EQ(&data, tb.dropped);
    EXPECT_EQ(1u, data.refs);

    // After a drop the next drag enters afresh.
    dispatcher->DragEnter(&data, 0, At(hwnd, 150, 30), &effect);
    EXPECT_EQ("EDE", tb.calls);
    dispatcher->DragLeave();
}

TEST_F(HostDragDropTest, LeaveReachesTheHoveredTargetAndResetsTheHover)
{
    RecordingHost host(L"LAYOUT:drop");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(host.RegisterDropTarget(a, &ta));
    IDropTarget* dispatcher = host.DropTargetDispatcher();
    DWORD effect = 0;
    dispatcher->DragEnter(&data, 0, At(hwnd, 20, 20), &effect);
    EXPECT_EQ(S_OK, dispatcher->DragLeave());
    EXPECT_EQ("EL", ta.calls);
    EXPECT_EQ(1u, data.refs);

    dispatcher->DragEnter(&data, 0, At(hwnd, 20, 20), &effect);
    EXPECT_EQ("ELE", ta.calls) << "coming back is an enter, not an over";
    dispatcher->DragLeave();
    dispatcher->DragLeave();
    EXPECT_EQ("ELEL", ta.calls);
}

TEST_F(HostDragDropTest, WindowsWithoutTargetGetNothingAndDropThereDoesNothing)
{
    RecordingHost host(L"LAYOUT:drop");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(host.RegisterDropTarget(a, &ta));
    IDropTarget* dispatcher = host.DropTargetDispatcher();
    DWORD effect = 0;
    dispatcher->DragEnter(&data, 0, At(hwnd, 20, 20), &effect);
    effect = DROPEFFECT_COPY;
    dispatcher->DragOver(0, At(hwnd, 150, 20), &effect);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_EQ("EL", ta.calls);
    dispatcher->DragOver(0, At(hwnd, 20, 20), &effect);
    EXPECT_EQ("ELE", ta.calls);
    dispatcher->DragOver(0, At(hwnd, 150, 20), &effect);

    dispatcher->Drop(&data, 0, At(hwnd, 150, 20), &effect);
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), effect);
    EXPECT_EQ("ELEL", ta.calls);
    EXPECT_EQ(nullptr, ta.dropped);
    EXPECT_EQ(1u, data.refs);
}

TEST_F(HostDragDropTest, RegistrationIsOncePerWindowAndHeldByReference)
{
    RecordingHost host(L"LAYOUT:drop");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(host.RegisterDropTarget(a, &ta));
    EXPECT_FALSE(host.RegisterDropTarget(a, &tb));
    EXPECT_EQ(2u, ta.refs);
    EXPECT_EQ(1u, tb.refs);
    DWORD effect = 0;
    host.DropTargetDispatcher()->DragEnter(&data, 0, At(hwnd, 20, 20), &effect);
    host.DropTargetDispatcher()->DragLeave();
    EXPECT_EQ("EL", ta.calls);
    EXPECT_EQ("", tb.calls);

    EXPECT_TRUE(host.UnregisterDropTarget(a));
    EXPECT_EQ(1u, ta.refs);
    EXPECT_FALSE(host.UnregisterDropTarget(a));

    void* out = &out;
    EXPECT_EQ(S_OK, host.DropTargetDispatcher()->QueryInterface(IID_IDropTarget, &out));
    EXPECT_EQ(host.DropTargetDispatcher(), out);
    EXPECT_EQ(E_NOINTERFACE, host.DropTargetDispatcher()->QueryInterface(IID_IDataObject, &out));
    EXPECT_EQ(nullptr, out);

    // The native window is registered with OLE.
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(hwnd, &tb));
}

TEST_F(HostDragDropTest, DispatcherReleasesItsTargetsAndDataWhenItGoes)
{
    RecordingHost host(L"LAYOUT:drop");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    {
        SDropTargetDispatcher dispatcher(&host);
        ASSERT_TRUE(dispatcher.Register(a, &ta));
        ASSERT_TRUE(dispatcher.Register(b, &tb));
        DWORD effect = 0;
        dispatcher.DragEnter(&data, 0, At(hwnd, 20, 20), &effect);
        // a second enter without a leave does not keep the first reference
        dispatcher.DragEnter(&data, 0, At(hwnd, 20, 20), &effect);
        EXPECT_EQ(2u, data.refs);
    }
    EXPECT_EQ(1u, data.refs);
    EXPECT_EQ(1u, ta.refs);
    EXPECT_EQ(1u, tb.refs);
}

// A top-down DIB section of the given depth.
HBITMAP MakeBitmap(int width, int height, WORD bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    void* pixels = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

TEST_F(HostDragDropTest, DragImageIsOneLayeredPopupThatFollowsItsHotSpot)
{
    HBITMAP image = MakeBitmap(8, 6, 32);
    HBITMAP plain = MakeBitmap(8, 6, 24);
    ASSERT_TRUE(CDragWnd::StartDragImage(image, 2, 3, 0, 200, 0));
    HWND first = CDragWnd::DragImageWindow();
    ASSERT_NE(nullptr, first);
    EXPECT_FALSE(CDragWnd::StartDragImage(plain, 0, 0, 0, 255, LWA_ALPHA));
    EXPECT_EQ(first, CDragWnd::DragImageWindow());

    DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(first, GWL_EXSTYLE));
    DWORD wanted = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW;
    EXPECT_EQ(wanted, exStyle & wanted);
    CDragWnd::MoveDragImage(300, 200);
    RECT rect = {};
    ::GetWindowRect(first, &rect);
    EXPECT_EQ(298, rect.left);
    EXPECT_EQ(197, rect.top);
    EXPECT_EQ(306, rect.right);
    EXPECT_EQ(203, rect.bottom);
    EXPECT_TRUE(::IsWindowVisible(first));

    CDragWnd::EndDragImage();
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(nullptr, CDragWnd::DragImageWindow());
    CDragWnd::MoveDragImage(10, 10); // nothing to move

    // Not 32-bit: painted from the bitmap through the window's colour key and alpha.
    ASSERT_TRUE(CDragWnd::StartDragImage(plain, 0, 0, RGB(1, 2, 3), 128, LWA_ALPHA | LWA_COLORKEY));
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(::GetLayeredWindowAttributes(CDragWnd::DragImageWindow(), &key, &alpha, &flags));
    EXPECT_EQ(RGB(1, 2, 3), key);
    EXPECT_EQ(128, alpha);
    CDragWnd::MoveDragImage(0, 0);
    Pump();
    CDragWnd::EndDragImage();
    ::DeleteObject(image);
    ::DeleteObject(plain);
}

} // namespace
} // namespace hosttest
