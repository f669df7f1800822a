// Scrolling a list view of 100,000 items of varying height from top to bottom in 100-pixel
// steps: the time of each step (refresh of the visible items and repaint of what changed)
// against a full repaint of the view, and the item panels made after the first screen.
// Usage: skein_bench_listview [items]
#include <stdio.h>
#include <stdlib.h>
#include <map>
#include <string>
#include "control/SListView.h"
#include "core/SApp.h"
#include "core/SHostWnd.h"

using namespace SKEIN;

namespace {

const int kWidth = 400;
const int kHeight = 600;
const int kStep = 100;
const int kFullRepaints = 20;

const wchar_t kLayout[] =
    L"<SKEIN><root colorBkgnd='#ffffff'><listview name='list' pos='0,0,-0,-0' dividerSize='1'>"
    L"<template defHeight='30' colorHover='#e0e8ff' colorSelected='#3060c0'>"
    L"<window name='mark' pos='4,4,@12,-4'/>"
    L"<text name='title' pos='24,2,-80,@16' align='left'/>"
    L"<text name='detail' pos='24,18,-80,-2' align='left' colorText='#606060'/>"
    L"<button name='open' pos='-72,4,-4,-4'>Open</button>"
    L"</template></listview></root></SKEIN>";

// Heights 24 .. 64 in a fixed scatter; every bind fills three windows of the panel, found once
// per panel (each lookup by name writes a log line).
class BenchAdapter : public TObjRefImpl<ListItemAdapter> {
public:
    explicit BenchAdapter(int count) : m_count(count) {}

    void RegisterObserver(ILvDataSetObserver*) override {}
    void UnregisterObserver(ILvDataSetObserver*) override {}
    int ItemCount() override { return m_count; }
    void BindItemView(int index, SWindow* itemWindow, pugi::xml_node) override
    {
        Holder& holder = m_holders[itemWindow];
        if (!holder.title) {
            holder.title = itemWindow->LookupChildByName(SStringW(L"title"));
            holder.detail = itemWindow->LookupChildByName(SStringW(L"detail"));
            holder.mark = itemWindow->LookupChildByName(SStringW(L"mark"));
        }
        wchar_t text[64];
        swprintf(text, 64, L"Item %d", index);
        holder.title->AssignText(SStringW(text));
        swprintf(text, 64, L"%d pixels high", Height(index));
        holder.detail->AssignText(SStringW(text));
        holder.mark->ApplyAttribute(SStringW(L"colorBkgnd"), SStringW(index % 3 ? L"#40a040" : L"#c04040"), FALSE);
    }
    int ItemViewType(int, DWORD) override { return 0; }
    int ViewTypeCount() override { return 1; }
    SIZE ItemDesiredSize(int index, SWindow*, const RECT& rect) override
    {
        return SIZE{rect.right - rect.left, Height(index)};
    }
    SStringW ItemDescription(int) override { return SStringW(); }

    // One per panel made.
    size_t Panels() const { return m_holders.size(); }

private:
    struct Holder {
        SWindow* title = nullptr;
        SWindow* detail = nullptr;
        SWindow* mark = nullptr;
    };
    static int Height(int index) { return 24 + (index * 7919) % 41; }
    int m_count;
    std::map<SWindow*, Holder> m_holders;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

// Repaints what is invalid into an off-screen DIB through the host's print path.
class Printer {
public:
    explicit Printer(HWND host) : m_host(host), m_dc(::CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~Printer()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    void Print() { ::SendMessageW(m_host, WM_PRINT, reinterpret_cast<WPARAM>(m_dc), PRF_CLIENT); }

private:
    HWND m_host;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

} // namespace

int main(int argc, char** argv)
{
    int items = argc > 1 ? atoi(argv[1]) : 100000;
    if (items < 1)
        items = 1;
    IRenderFactory* factory = nullptr;
    if (!CreateRenderFactory_GDI(&factory)) {
        fprintf(stderr, "no render factory\n");
        return 1;
    }
    SApplication* app = new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
    SHostWnd* host = new SHostWnd(L"");
    pugi::xml_document document;
    HWND hwnd = host->CreateHost(nullptr, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, kWidth, kHeight);
    if (!hwnd || !document.load_string(kLayout) || !host->InitFromXmlNode(document.child(L"SKEIN"), kWidth, kHeight)) {
        fprintf(stderr, "no host window (an X display is needed)\n");
        return 1;
    }
    SListView* list = dynamic_cast<SListView*>(host->LookupChildByName(SStringW(L"list")));
    BenchAdapter* adapter = new BenchAdapter(items);
    list->SetAdapter(adapter);
    Printer printer(hwnd);
    printer.Print();
    size_t firstScreen = adapter->Panels();

    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    double fullBest = 1e9, fullTotal = 0;
    for (int i = 0; i < kFullRepaints; ++i) {
        host->RequestFullRepaint();
        QueryPerformanceCounter(&t0);
        printer.Print();
        QueryPerformanceCounter(&t1);
        double ms = Milliseconds(t0, t1, frequency);
        fullTotal += ms;
        fullBest = ms < fullBest ? ms : fullBest;
    }

    int steps = 0, slower = 0;
    double stepTotal = 0, stepWorst = 0, refreshTotal = 0;
    double fullMean = fullTotal / kFullRepaints;
    LARGE_INTEGER t2;
    for (int position = kStep;; position += kStep) {
        QueryPerformanceCounter(&t0);
        BOOL moved = list->OnScroll(TRUE, SB_THUMBPOSITION, position);
        QueryPerformanceCounter(&t2);
        printer.Print();
        QueryPerformanceCounter(&t1);
        if (!moved)
            break;
        double ms = Milliseconds(t0, t1, frequency);
        ++steps;
        stepTotal += ms;
        refreshTotal += Milliseconds(t0, t2, frequency);
        stepWorst = ms > stepWorst ? ms : stepWorst;
        slower += ms > fullMean;
    }
    printf("list of %d items, %d x %d, %d-pixel steps to position %d\n", items, kWidth, kHeight, kStep,
           list->ScrollPosOf(TRUE));
    printf("full repaint    : best %7.3f ms, mean %7.3f ms\n", fullBest, fullMean);
    printf("scroll step     : mean %7.3f ms (refresh %7.3f ms), worst %7.3f ms over %d steps, %d slower than a "
           "full repaint\n",
           stepTotal / steps, refreshTotal / steps, stepWorst, steps, slower);
    printf("item panels     : %d on the first screen, %d made after it\n", static_cast<int>(firstScreen),
           static_cast<int>(adapter->Panels() - firstScreen));
    list->SetAdapter(nullptr);
    adapter->Release();
    host->DestroyHost();
    delete host;
    delete app;
    factory->Release();
    return 0;
}
