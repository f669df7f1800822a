// Time to create a tree of 1,000 windows from XML, to lay it out and to paint it once; the
// time to create 1,000, 10,000 and 100,000 sibling windows under one parent in a host window,
// with the default and with a linear layout (creation is linear when the ratios stay near 10
// and 100); and the stack that each level of a nested tree takes in creation, layout, showing,
// painting and destruction (what the nesting limit of creation from XML rests on).
// Usage: skein_bench_tree [runs]
#include <malloc.h>
#include <string.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "core/SApp.h"
#include "core/SHostWnd.h"
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

// ---- siblings ----

// How the siblings are laid out: the parent's layout (null: the default position layout) and
// each child's element.
struct SiblingCase {
    const char* name;
    const wchar_t* layout;
    const wchar_t* child;
};

const SiblingCase kSiblingCases[] = {
    {"position, fixed size", nullptr, L"<window width='10' height='2'/>"},
    {"position, content size", nullptr, L"<window/>"},
    {"linear, fixed size", L"vbox", L"<window width='10' height='2'/>"},
};

std::wstring SiblingsXml(int count, const SiblingCase& c)
{
    std::wstring xml = c.layout ? std::wstring(L"<window layout='") + c.layout + L"'>" : std::wstring(L"<window>");
    xml.reserve(xml.size() + count * wcslen(c.child));
    for (int i = 0; i < count; ++i)
        xml += c.child;
    return xml + L"</window>";
}

// Milliseconds to create the siblings from XML in a host window, laid out once (best of runs).
double CreateSiblings(int count, const SiblingCase& c, int runs)
{
    std::wstring xml = L"<SKEIN width='400' height='300'><root>" + SiblingsXml(count, c) + L"</root></SKEIN>";
    pugi::xml_document document;
    if (!document.load_string(xml.c_str()))
        return -1;
    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    Timing create;
    for (int i = 0; i < runs; ++i) {
        SHostWnd host(nullptr);
        if (!host.CreateHost(nullptr, WS_POPUP, 0, 0, 0, 400, 300))
            return -1;
        QueryPerformanceCounter(&t0);
        host.InitFromXmlNode(document.first_child(), 400, 300);
        QueryPerformanceCounter(&t1);
        host.DestroyHost();
        create.Add(Milliseconds(t0, t1, frequency));
    }
    return create.best;
}

void PrintSiblings(int runs)
{
    const int kCounts[] = {1000, 10000, 100000};
    printf("siblings created in a host: best time in ms (times the 1,000 case)\n");
    printf("%9s", "siblings");
    for (const SiblingCase& c : kSiblingCases)
        printf(" %24s", c.name);
    printf("\n");
    double base[3] = {0, 0, 0};
    for (int count : kCounts) {
        printf("%9d", count);
        for (int l = 0; l < 3; ++l) {
            double ms = CreateSiblings(count, kSiblingCases[l], count >= 100000 ? 2 : runs);
            if (count == kCounts[0])
                base[l] = ms;
            printf(" %14.1f (%6.1fx)", ms, base[l] > 0 ? ms / base[l] : 0.0);
        }
        printf("\n");
    }
}

// ---- stack per nesting level ----

const size_t kStackProbe = 1024 * 1024;
const BYTE kStackFill = 0xA5;
BYTE* volatile g_stackFloor = nullptr;

// Fills the stack below the caller's frame with the pattern.
__attribute__((noinline)) void FillStack()
{
    BYTE* area = static_cast<BYTE*>(alloca(kStackProbe));
    memset(area, kStackFill, kStackProbe);
    asm volatile("" : : "r"(area) : "memory");
    g_stackFloor = area;
}

// Bytes of the filled stack that the work since FillStack changed.
size_t StackTouched()
{
    BYTE* p = g_stackFloor;
    BYTE* end = p + kStackProbe;
    while (p < end && *p == kStackFill)
        ++p;
    return static_cast<size_t>(end - p);
}

// Windows nested depth levels deep, each holding a text.
std::wstring NestedXml(int depth, const wchar_t* element)
{
    std::wstring xml;
    for (int i = 0; i < depth; ++i)
        xml += element;
    for (int i = 0; i < depth; ++i)
        xml += L"</window>";
    return xml;
}

enum { kCreate, kLayout, kShow, kPaint, kDestroy, kSteps };

// Stack bytes of each step over a tree nested depth levels deep.
void StackOfSteps(int depth, const wchar_t* element, IRenderTarget* target, size_t used[kSteps])
{
    pugi::xml_document document;
    document.load_string(NestedXml(depth, element).c_str());
    SWindow* root = new SWindow;
    RECT client = {0, 0, kWidth, kHeight};
    FillStack();
    root->LoadFromXml(document.first_child());
    used[kCreate] = StackTouched();
    FillStack();
    root->ApplyRect(client);
    used[kLayout] = StackTouched();
    FillStack();
    root->ChangeVisibility(FALSE, FALSE);
    root->ChangeVisibility(TRUE, FALSE);
    used[kShow] = StackTouched();
    FillStack();
    root->PaintSubtree(target, nullptr);
    used[kPaint] = StackTouched();
    FillStack();
    root->Dispose();
    used[kDestroy] = StackTouched();
}

void PrintStackPerLevel(IRenderTarget* target)
{
    const int kShallow = 32, kDeep = 160;
    const struct {
        const char* name;
        const wchar_t* element;
    } kShapes[] = {{"plain windows", L"<window text='level'>"},
                   {"linear layouts wrapping their content",
                    L"<window layout='vbox' width='wrapContent' height='wrapContent' text='level'>"},
                   {"grid layouts wrapping their content",
                    L"<window layout='gridLayout' columnCount='1' width='wrapContent' height='wrapContent' text='l'>"},
                   {"position layouts wrapping their content",
                    L"<window width='wrapContent' height='wrapContent' text='level'>"}};
    printf("stack per nesting level in bytes (trees %d and %d levels deep)\n", kShallow, kDeep);
    printf("%-38s %7s %7s %7s %7s %7s\n", "", "create", "layout", "show", "paint", "destroy");
    for (const auto& shape : kShapes) {
        size_t shallow[kSteps], deep[kSteps];
        StackOfSteps(kShallow, shape.element, target, shallow);
        StackOfSteps(kDeep, shape.element, target, deep);
        printf("%-38s", shape.name);
        for (int step = 0; step < kSteps; ++step)
            printf(" %7d", static_cast<int>((deep[step] - shallow[step]) / (kDeep - kShallow)));
        printf("\n");
    }
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
    PrintSiblings(runs < 5 ? runs : 5);
    PrintStackPerLevel(target);
    target->Release();
    delete app;
    factory->Release();
    return 0;
}
