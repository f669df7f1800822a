#include "layout/SLayoutPass.h"
#include "core/SApp.h"

namespace SKEIN {

namespace {

struct SPassState {
    int depth = 0;
    unsigned long long state = 0;
    IRenderTarget* target = nullptr; // made on first use, released when the pass ends
    COLORREF targetColor = 0;        // the text colour the target was made with
};

thread_local SPassState t_pass;

IRenderTarget* NewMeasureTarget()
{
    SApplication* app = SApplication::Instance();
    IRenderFactory* factory = app ? app->RenderFactory() : nullptr;
    IRenderTarget* target = nullptr;
    if (!factory || !factory->CreateRenderTarget(&target, 0, 0))
        return nullptr;
    return target;
}

} // namespace

SLayoutPass::SLayoutPass()
{
    if (t_pass.depth++ == 0)
        ++t_pass.state;
}

SLayoutPass::~SLayoutPass()
{
    if (--t_pass.depth > 0 || !t_pass.target)
        return;
    t_pass.target->Release();
    t_pass.target = nullptr;
}

unsigned long long SLayoutPass::State()
{
    return t_pass.state;
}

void SLayoutPass::NoteChange()
{
    ++t_pass.state;
}

IRenderTarget* SLayoutPass::MeasureTarget()
{
    if (t_pass.depth == 0)
        return nullptr;
    if (!t_pass.target) {
        t_pass.target = NewMeasureTarget();
        if (t_pass.target)
            t_pass.targetColor = t_pass.target->GetTextColor();
        return t_pass.target;
    }
    t_pass.target->SelectDefaultObject(kRenderObjFont, nullptr);
    t_pass.target->SetTextColor(t_pass.targetColor);
    return t_pass.target;
}

} // namespace SKEIN
