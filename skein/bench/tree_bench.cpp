// Time to create a tree of 1,000 windows from XML, to lay it out and to paint it once.
// Usage: skein_bench_tree [runs]
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "core/SApp.h"
#include "core/SWnd.h"
#include "interface/SRender-i.h"

using namespace SKEIN;

namespace {

const int kWidth = 800;
const int kHeight = 600;
const int kRows = 20;
const int kPerRow = 49; // 1 root + 20 rows + 980 cells = 1001 windows

// Rows alternate between the linear and the position layout; every fifth is a grid.
std::wstring TreeXml()
{
    std::wstring xml = L"<window layout='vbox' interval='2' colorBkgnd='#202020'>";
    for (int row = 0; row < kRows; ++row) {
        if (row % 5 == 4)
            xml += L"<window width='matchParent' height='28' layout='gridLayout' rowCount='2'>";
        else if (row % 2)
            xml += L"<window width='matchParent' height='28' layout='hbox' interval='1'>";
        else
            xml += L"<window width='matchParent' height='28'>";
        for (int i = 0; i < kPerRow; ++i) {
            const wchar_t* color = (row + i) % 2 ? L"#3070C0" : L"#C07030";
            if (row % 5 == 4)
                xml += std::wstring(L"<window size='30,12' colorBkgnd='") + color + L"'/>";
            else if (row % 2)
                xml += std::wstring(L"<window size='14,24' colorBkgnd='") + color + L"'/>";
            else
                xml += std::wstring(L"<window pos='[2,{0' size='14,24' colorBkgnd='") + color + L"'/>";
        }
        xml += L"</window>";
    }
    return xml + L"</window>";
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

struct Timing {
    double total = 0, best = 1e9;
    void Add(double ms)
    {
        total += ms;
        best = ms < best ? ms : best;
    }
};

int CountWindows(SWindow* window)
{
    int n = 1;
    for (SWindow* child = window->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling))
        n += CountWindows(child);
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 20;
    if (runs < 1)
        runs = 1;
    IRenderFactory* factory = nullptr;
    if (!CreateRenderFactory_GDI(&factory)) {
        fprintf(stderr, "no render factory\n");
        return 1;
    }
    SApplication* app = new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
    IRenderTarget* target = nullptr;
    factory->CreateRenderTarget(&target, kWidth, kHeight);

    pugi::xml_document document;
    std::wstring xml = TreeXml();
    if (!target || !document.load_string(xml.c_str())) {
        fprintf(stderr, "set-up failed\n");
        return 1;
    }
    LARGE_INTEGER frequency, t0, t1, t2, t3;
    QueryPerformanceFrequency(&frequency);
    Timing create, layout, paint;
    int windows = 0;
    RECT client = {0, 0, kWidth, kHeight};
    for (int i = -2; i < runs; ++i) {
        QueryPerformanceCounter(&t0);
        SWindow* root = new SWindow;
        root->LoadFromXml(document.first_child());
        QueryPerformanceCounter(&t1);
        root->ApplyRect(client);
        QueryPerformanceCounter(&t2);
        root->PaintSubtree(target, nullptr);
        QueryPerformanceCounter(&t3);
        windows = CountWindows(root);
        root->Dispose();
        if (i < 0)
            continue; // warm-up
        create.Add(Milliseconds(t0, t1, frequency));
        layout.Add(Milliseconds(t1, t2, frequency));
        paint.Add(Milliseconds(t2, t3, frequency));
    }
    printf("tree of %d windows, %d runs\n", windows, runs);
    printf("create from XML : best %7.3f ms, mean %7.3f ms\n", create.best, create.total / runs);
    printf("lay out         : best %7.3f ms, mean %7.3f ms\n", layout.best, layout.total / runs);
    printf("paint once      : best %7.3f ms, mean %7.3f ms\n", paint.best, paint.total / runs);
    target->Release();
    delete app;
    factory->Release();
    return 0;
}
