// Time to create a tree of 1,000 windows from XML, to lay it out and to paint it once; the
// time to create 1,000, 10,000 and 100,000 sibling windows under one parent in a host window,
// with the default and with a linear layout (creation is linear when the ratios stay near 10
// and 100); and the stack that each level of a nested tree takes in creation, layout, showing,
// painting and destruction (what the nesting limit of creation from XML rests on); the time
// that hostile layouts take in a host window within the default work budget of a creation, and
// legitimate ones created whole; and the time each piece of every kind of work that the budget
// counts takes in large layouts (what its unit costs rest on: a unit is meant as a microsecond).
// Usage: skein_bench_tree [runs]
#include <malloc.h>
#include <string.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "core/SApp.h"
#include "core/SHostWnd.h"
#include "core/SWnd.h"
#include "helper/SLog.h"
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
    SetXmlWorkBudget(1000LL * kXmlWorkBudget); // 100,000 siblings are far beyond the default
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
    SetXmlWorkBudget(0);
}

// ---- hostile and legitimate layouts ----

// Keeps the first line that creation from XML logged; every line goes on to the debugger output,
// as with the programs, which install no log manager.
class FirstLine : public TObjRefImpl<ILogManager> {
public:
    BOOL Accepts(int, int) override { return TRUE; }
    void Write(int, int, const char*, const char* text, const char*, int, const char* function, void*) override
    {
        if (line.empty() && strstr(function, "SXmlCreation"))
            line = text;
        OutputDebugStringA(text);
    }
    std::string line;
};

// Layouts written as files of a folder of their own, included as "file:" resources.
class LayoutFolder {
public:
    LayoutFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"skein_bench_tree_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~LayoutFolder()
    {
        for (const std::wstring& file : m_files)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(m_path.c_str());
    }
    // The "include" element of a new file holding the text.
    std::wstring Put(const std::wstring& name, const std::wstring& text)
    {
        std::wstring file = m_path + name + L".xml";
        std::string bytes(text.begin(), text.end());
        FILE* out = _wfopen(file.c_str(), L"wb");
        if (out) {
            fwrite(bytes.data(), 1, bytes.size(), out);
            fclose(out);
        }
        m_files.push_back(file);
        return L"<include src='file:" + file + L"'/>";
    }

private:
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

std::wstring Repeat(const std::wstring& text, int count)
{
    std::wstring all;
    all.reserve(text.size() * count);
    for (int i = 0; i < count; ++i)
        all += text;
    return all;
}

// levels distinct layouts, each holding a window and padding and including the next twice.
std::wstring IncludeFanOut(LayoutFolder& folder, const wchar_t* prefix, int levels, int padding)
{
    std::wstring pad = padding ? L"<!--" + std::wstring(padding, L'p') + L"-->" : std::wstring();
    std::wstring next = folder.Put(prefix + std::to_wstring(levels), L"<include/>");
    for (int i = levels - 1; i >= 0; --i)
        next = folder.Put(prefix + std::to_wstring(i), L"<include>" + pad + L"<window/>" + next + next + L"</include>");
    return next;
}

// levels templates, each a window (the element given) using the next twice.
std::wstring TemplateFanOut(int levels, const std::wstring& window = L"<window>")
{
    std::wstring templates = L"<template>";
    for (int i = 0; i < levels; ++i) {
        std::wstring next = L"<t:f" + std::to_wstring(i + 1) + L"/>";
        templates += L"<f" + std::to_wstring(i) + L">" + window + next + next + L"</window></f" + std::to_wstring(i) + L">";
    }
    return templates + L"<f" + std::to_wstring(levels) + L">" + window + L"</window></f" + std::to_wstring(levels) +
           L"></template>";
}

// Template data that doubles through a chain of attributes: a0 = "{{a1}}{{a1}}" ... a30 = "x".
std::wstring DoublingData()
{
    std::wstring data = L"<data";
    for (int i = 0; i < 30; ++i)
        data += L" a" + std::to_wstring(i) + L"='{{a" + std::to_wstring(i + 1) + L"}}{{a" + std::to_wstring(i + 1) + L"}}'";
    return data + L" a30='x'/>";
}

// " x0='1' x1='1' ..."
std::wstring NumberedAttributes(int count)
{
    std::wstring attributes;
    for (int i = 0; i < count; ++i)
        attributes += L" x" + std::to_wstring(i) + L"='1'";
    return attributes;
}

// Template data of fields d0, d1, ... that no template names.
std::wstring UnusedData(int fields)
{
    std::wstring data = L"<data";
    for (int i = 0; i < fields; ++i)
        data += L" d" + std::to_wstring(i) + L"='v'";
    return data + L"/>";
}

// Notes when the creation from the root element has ended (the first layout follows it).
class CreationTimedHost : public SHostWnd {
public:
    CreationTimedHost() : SHostWnd(nullptr) {}
    void OnXmlInitDone(pugi::xml_node element) override
    {
        QueryPerformanceCounter(&created);
        SHostWnd::OnXmlInitDone(element);
    }
    LARGE_INTEGER created = {};
};

// A layout created in a new host window: ms to create (until the root's initialisation is done)
// and to create and lay out first, and the windows it made.
struct Created {
    double create = -1, laidOut = -1;
    int windows = 0;
};

Created CreateInHost(const std::wstring& sections, const std::wstring& root)
{
    Created created;
    std::wstring xml = L"<SKEIN width='400' height='300'>" + sections + L"<root>" + root + L"</root></SKEIN>";
    pugi::xml_document document;
    CreationTimedHost host;
    if (!document.load_string(xml.c_str()) || !host.CreateHost(nullptr, WS_POPUP, 0, 0, 0, 400, 300))
        return created;
    LARGE_INTEGER frequency, t0, t1;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&t0);
    host.InitFromXmlNode(document.first_child(), 400, 300);
    QueryPerformanceCounter(&t1);
    created.create = Milliseconds(t0, host.created, frequency);
    created.laidOut = Milliseconds(t0, t1, frequency);
    created.windows = CountWindows(&host) - 1;
    host.DestroyHost();
    return created;
}

// The best of runs creations of a layout in a new host window (each the windows it made).
Created BestInHost(const std::wstring& sections, const std::wstring& root, int runs)
{
    Created best;
    best.create = best.laidOut = 1e9;
    for (int run = 0; run < runs; ++run) {
        Created created = CreateInHost(sections, root);
        if (created.create < 0)
            return created;
        best.create = created.create < best.create ? created.create : best.create;
        best.laidOut = created.laidOut < best.laidOut ? created.laidOut : best.laidOut;
        best.windows = created.windows;
    }
    return best;
}

// A layout that a host window is created from: a hostile one (whole 0) stops within the work
// budget; a legitimate one makes all its whole windows.
struct BoundCase {
    const char* name;
    std::wstring sections; // the host's own template and style sections
    std::wstring root;
    int whole;
};

// 400 uses of a 2 KB template with 10 data fields (800 KB made in all).
BoundCase TemplateRows()
{
    std::wstring fields, data = L"<data";
    for (int i = 0; i < 10; ++i) {
        fields += L"{{f" + std::to_wstring(i) + L"}}";
        data += L" f" + std::to_wstring(i) + L"='" + std::to_wstring(i) + L"'";
    }
    return {"400 uses of a 2 KB template with 10 data fields",
            L"<template><row><window text='" + fields + std::wstring(2000, L'x') + L"'/></row></template>",
            Repeat(L"<t:row>" + data + L"/></t:row>", 400), 400};
}

void PrintCreationBounds(int runs)
{
    LayoutFolder folder;
    std::wstring longTemplate = L"<template><long><window text='" + std::wstring(200000, L'x') + L"'/></long></template>";
    const BoundCase kCases[] = {
        {"template data doubling 30 times", L"<template><dbl><window text='{{a0}}'/></dbl></template>",
         L"<t:dbl>" + DoublingData() + L"</t:dbl>", 0},
        {"31 layouts each including the next twice", L"", IncludeFanOut(folder, L"fan", 31, 0), 0},
        {"the same, 64 KB of padding in each", L"", IncludeFanOut(folder, L"pad", 31, 65536), 0},
        {"one layout included 100,000 times", L"", Repeat(folder.Put(L"once", L"<include><window/></include>"), 100000),
         0},
        {"one layout of 40 MB included (the most a creation parses)", L"",
         folder.Put(L"large", L"<include><!--" + std::wstring(40 << 20, L'p') + L"--><window/></include>"), 0},
        {"a layout of 1,999 windows included 100 times", L"",
         Repeat(folder.Put(L"block", L"<include>" + Repeat(L"<window/>", 1999) + L"</include>"), 100), 0},
        {"31 templates each using the next twice", TemplateFanOut(31), L"<t:f0/>", 0},
        {"the same, each window with a text", TemplateFanOut(31, L"<window text='level'>"), L"<t:f0/>", 0},
        {"200,000 plain sibling windows", L"", Repeat(L"<window/>", 200000), 0},
        {"100,000 sibling windows placed and sized", L"", Repeat(L"<window pos='0,0,@2,@2'/>", 100000), 0},
        {"1,000,000 elements of no known class", L"", Repeat(L"<nosuchclass/>", 1000000), 0},
        {"200,000 rich edits", L"", Repeat(L"<richedit/>", 200000), 0},
        {"a style of 10,000 attributes on 10,000 windows",
         L"<style><class name='wide'" + NumberedAttributes(10000) + L"/></style>", Repeat(L"<window class='wide'/>", 10000),
         0},
        {"a style with a text of 100,000 characters on 10,000 windows",
         L"<style><class name='long' text='" + std::wstring(100000, L't') + L"'/></style>",
         Repeat(L"<window class='long'/>", 10000), 0},
        {"10,000 data attributes over a 200,000-character template, 100 uses", longTemplate,
         Repeat(L"<t:long>" + UnusedData(10000) + L"</t:long>", 100), 0},
        {"20,000 windows with a size and a colour", L"",
         Repeat(L"<window size='10,2' colorBkgnd='#102030'/>", 20000), 20000},
        TemplateRows(),
    };
    printf("layouts in a host window, default work budget (%lld units), best of %d runs: ms to create, ms to\n"
           "create and lay out first, windows created; hostile ones stop, legitimate ones are created whole\n",
           kXmlWorkBudget, runs);
    printf("%-66s %8s %8s %8s  %s\n", "", "create", "+layout", "windows", "whole, or the first refusal logged");
    SApplication* app = SApplication::Instance();
    for (const BoundCase& c : kCases) {
        FirstLine* log = new FirstLine;
        app->SetLogManager(log);
        Created created = BestInHost(c.sections, c.root, runs);
        std::string line = c.whole ? std::string(created.windows == c.whole && log->line.empty() ? "whole" : "NOT WHOLE")
                                   : log->line.substr(0, 90);
        app->SetLogManager(nullptr);
        log->Release();
        if (created.create < 0)
            printf("%-66s set-up failed\n", c.name);
        else
            printf("%-66s %8.0f %8.0f %8d  %s\n", c.name, created.create, created.laidOut, created.windows,
                   line.c_str());
    }
}

// ---- unit costs of the work budget ----

// One kind of work: a layout made of many pieces of it, timed against a base layout without it.
struct UnitCase {
    const char* name;
    std::wstring sections;
    std::wstring root;
    double pieces;    // of the kind in the layout
    int base;         // index of the case whose time the kind adds to; -1: none
    double baseShare; // pieces of the base case that this layout holds, divided by its pieces
};

std::wstring ClassOf(const std::wstring& attributes)
{
    return L"<style><class name='k'" + attributes + L"/></style>";
}

// Microseconds each piece of every kind takes in creations of large layouts (best of runs,
// budget raised): runs of 100,000 sibling windows, where windows no longer fit the caches.
void PrintUnitCosts(int runs)
{
    const int kWindows = 100000, kPerClass = 10, kTexts = 10000, kTextLength = 10000, kCostly = 1000;
    const int kPadding = 8 << 20, kSearched = 200000, kFields = 1000, kManyFields = 100000;
    const int kMade = 200000, kMadeUses = 5;
    LayoutFolder folder;
    std::wstring padded = folder.Put(L"padded", L"<include><!--" + std::wstring(kPadding, L'p') + L"--><window/></include>");
    auto siblings = [&](const std::wstring& element) { return Repeat(element, kWindows); };
    const double texts = double(kTexts) / kWindows, costly = double(kCostly) / kWindows;
    // The first is the base of the others.
    const UnitCase kCases[] = {
        {"plain windows", L"", siblings(L"<window/>"), kWindows, -1, 0},
        {"elements of no known class", L"", siblings(L"<nosuchclass/>"), kWindows, -1, 0},
        {"attributes: unknown names", L"", siblings(L"<window x='1'/>"), kWindows, 0, 1},
        {"attributes: text", L"", siblings(L"<window text='level'/>"), kWindows, 0, 1},
        {"attributes: colorBkgnd", L"", siblings(L"<window colorBkgnd='#102030'/>"), kWindows, 0, 1},
        {"attributes: size", L"", siblings(L"<window size='10,2'/>"), kWindows, 0, 1},
        {"attributes: pos", L"", siblings(L"<window pos='0,0,@2,@2'/>"), kWindows, 0, 1},
        {"attributes: skin", L"", siblings(L"<window skin='none'/>"), kWindows, 0, 1},
        {"attributes: font", L"", siblings(L"<window font='face:Arial,size:20'/>"), kWindows, 0, 1},
        {"attributes of a style (with the class)", ClassOf(NumberedAttributes(kPerClass)),
         siblings(L"<window class='k'/>"), double(kWindows) * (kPerClass + 1), 0, 1.0 / (kPerClass + 1)},
        {"characters of a text attribute applied", L"",
         Repeat(L"<window text='" + std::wstring(kTextLength, L't') + L"'/>", kTexts), double(kTextLength) * kTexts, 0,
         texts / kTextLength},
        {"rich edits, beyond a plain window", L"", Repeat(L"<richedit/>", kCostly), kCostly, 0, costly},
        {"hot-key controls, beyond a plain window", L"", Repeat(L"<hotkey/>", kCostly), kCostly, 0, costly},
        {"characters of an included layout parsed", L"", padded, kPadding, -1, 0},
        {"characters of template text searched",
         L"<template><s><window text='" + std::wstring(kSearched, L's') + L"'/></s></template>",
         L"<t:s>" + UnusedData(kFields) + L"</t:s>", double(kSearched) * kFields, -1, 0},
        {"data fields over a small template", L"<template><f><window/></f></template>",
         L"<t:f>" + UnusedData(kManyFields) + L"</t:f>", kManyFields, -1, 0},
        {"characters of template text made (and parsed)", L"<template><m><window text='{{v}}'/></m></template>",
         Repeat(L"<t:m><data v='" + std::wstring(kMade, L'm') + L"'/></t:m>", kMadeUses), double(kMade) * kMadeUses,
         -1, 0},
        {"template uses of one window, beyond the window", L"<template><u><window/></u></template>",
         siblings(L"<t:u/>"), kWindows, 0, 1},
    };
    const int kCount = sizeof(kCases) / sizeof(kCases[0]);
    Created best[kCount];
    SetXmlWorkBudget(1000LL * kXmlWorkBudget);
    printf("work of creation from XML in a host window, best of %d runs: us each piece takes to create, and to\n"
           "create and lay out first (units now: element %d, element of no known class %d more, attribute %d,\n"
           "%d characters a unit, each included counting %d and each applied %d, rich edit %d and hot-key\n"
           "control %d more)\n", runs, kXmlWorkPerElement, kXmlWorkPerUnknownElement, kXmlWorkPerAttribute,
           kXmlCharsPerWork, kXmlIncludedCharWeight, kXmlAppliedCharWeight, kXmlWorkPerRichEdit, kXmlWorkPerHotKey);
    printf("%-48s %10s %9s %9s %11s %11s\n", "", "pieces", "create", "+layout", "us create", "us +layout");
    for (int i = 0; i < kCount; ++i) {
        const UnitCase& c = kCases[i];
        best[i] = BestInHost(c.sections, c.root, runs);
        double create = best[i].create, laidOut = best[i].laidOut;
        if (c.base >= 0) {
            create -= best[c.base].create * c.baseShare;
            laidOut -= best[c.base].laidOut * c.baseShare;
        }
        printf("%-48s %10.0f %9.1f %9.1f %11.5f %11.5f\n", c.name, c.pieces, best[i].create, best[i].laidOut,
               create * 1000 / c.pieces, laidOut * 1000 / c.pieces);
    }
    SetXmlWorkBudget(0);
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
    PrintCreationBounds(runs < 3 ? runs : 3);
    PrintUnitCosts(runs < 5 ? runs : 5);
    target->Release();
    delete app;
    factory->Release();
    return 0;
}
