// SWindow: attributes and creation of the subtree from XML.
#include "core/SApp.h"
#include "core/SWnd.h"
#include "core/SXmlCreation.h"
#include "interface/SwndContainer-i.h"
#include "layout/SLayout-i.h"
#include "layout/SLayoutPass.h"
#include "res.mgr/SResName.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

bool Is(const SStringW& name, const wchar_t* text)
{
    return name.CompareIgnoringCase(text) == 0;
}

BOOL ParseBool(const SStringW& value)
{
    return !(value == L"0" || value.CompareIgnoringCase(L"false") == 0);
}

int ParseNumber(const SStringW& value)
{
    return static_cast<int>(wcstol(value.c_str() ? value.c_str() : L"", nullptr, 0));
}

void SetFlag(DWORD& flags, DWORD bit, BOOL on)
{
    flags = on ? (flags | bit) : (flags & ~bit);
}

} // namespace

ISkinObj* SWindow::LookupSkin(const SStringW& name, int scale) const
{
    SSkinPoolMgr* skins = SSkinPoolMgr::Instance();
    return skins ? skins->FindSkin(name, scale) : nullptr;
}

HRESULT SWindow::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    SLayoutPass::NoteChange();
    HRESULT result = S_FALSE;
    if (Is(name, L"layout")) {
        result = SetLayoutByName(value);
    } else if (Is(name, L"class")) {
        ApplyStyleClass(value, loading);
    } else if (Is(name, L"id")) {
        ApplyIdText(value);
    } else if (Is(name, L"name")) {
        m_name = value;
        if (m_id == 0 && SApplication::Instance())
            m_id = SApplication::Instance()->NamedId(value.c_str());
    } else if (Is(name, L"skin") || Is(name, L"ncskin")) {
        bool background = Is(name, L"skin");
        (background ? m_skin : m_ncSkin) = LookupSkin(value, GetScale());
        if (background && !loading && WrapsContent(kOrientAny))
            InvalidateLayout();
        result = (background && loading) ? S_FALSE : S_OK;
    } else if (Is(name, L"data")) {
        m_userData = ParseNumber(value);
    } else if (Is(name, L"text")) {
        m_text.SetSource(ResolveNamedString(value.c_str()));
        result = S_OK;
    } else if (Is(name, L"trCtx")) {
        m_trCtx = ResolveNamedString(value.c_str());
    } else if (Is(name, L"enable")) {
        BOOL enable = ParseBool(value);
        if (loading) {
            // The own flag keeps the wish when an ancestor is enabled again later.
            SetFlag(m_flags, kWndDisabled, !enable);
            m_state = enable ? (m_state & ~kStateDisabled) : ((m_state | kStateDisabled) & ~kStateHover);
        } else {
            EnableWindow(enable, TRUE);
        }
    } else if (Is(name, L"visible") || Is(name, L"show")) {
        if (loading)
            SetFlag(m_flags, kWndVisible, ParseBool(value));
        else
            ChangeVisibility(ParseBool(value), TRUE);
    } else if (Is(name, L"display")) {
        SetFlag(m_flags, kWndDisplay, ParseBool(value));
        if (!loading)
            InvalidateLayout();
        result = loading ? S_FALSE : S_OK;
    } else if (Is(name, L"cache") || Is(name, L"layeredWindow")) {
        bool cache = Is(name, L"cache");
        SetFlag(m_flags, cache ? kWndCache : kWndLayered, ParseBool(value));
        if (!loading) {
            UpdateCacheTarget();
            UpdateLayerTarget();
            if (cache)
                InvalidateArea();
        }
        result = (cache || loading) ? S_FALSE : S_OK;
    } else if (Is(name, L"alpha")) {
        m_style.ApplyAttribute(name, value, loading);
        if (!loading) {
            UpdateCacheTarget();
            InvalidateArea();
        }
        result = loading ? S_FALSE : S_OK;
    } else if (Is(name, L"trackMouseEvent")) {
        m_style.ApplyAttribute(name, value, loading);
        if (!loading && m_container) {
            if (m_style.IsTrackMouseEvent())
                m_container->AddTrackedWindow(m_handle);
            else
                m_container->RemoveTrackedWindow(m_handle);
        }
    } else if (Is(name, L"tip")) {
        AssignTooltipText(ResolveNamedString(value.c_str()));
    } else if (Is(name, L"maxWidth")) {
        m_maxWidth = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"msgTransparent")) {
        SetFlag(m_flags, kWndMsgTransparent, ParseBool(value));
    } else if (Is(name, L"clipClient")) {
        SetFlag(m_flags, kWndClipClient, ParseBool(value));
    } else if (Is(name, L"focusable")) {
        SetFlag(m_flags, kWndFocusable, ParseBool(value));
    } else if (Is(name, L"drawFocusRect")) {
        SetFlag(m_flags, kWndDrawFocusRect, ParseBool(value));
        result = S_OK;
    } else if (Is(name, L"float")) {
        m_isFloat = ParseBool(value);
    } else {
        return ApplyFallbackAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

// The style, then the layout, then the layout parameter; a name one of them does not know
// (E_NOTIMPL, or E_FAIL from an object without the attribute) goes on to the next.
HRESULT SWindow::ApplyFallbackAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    IObject* handlers[3] = {&m_style, m_layout.Get(), m_layoutParam.Get()};
    const HRESULT marks[3] = {kAttrByStyle, kAttrByLayout, kAttrByLayoutParam};
    for (int i = 0; i < 3; ++i) {
        if (!handlers[i])
            continue;
        HRESULT result = handlers[i]->ApplyAttribute(name, value, loading);
        if (result == E_NOTIMPL || result == E_FAIL)
            continue;
        if (SUCCEEDED(result))
            result |= marks[i];
        return AfterAttribute(name, value, loading, result);
    }
    return UnknownAttribute(name, value, loading);
}

HRESULT SWindow::AfterAttribute(const SStringW&, const SStringW&, BOOL loading, HRESULT result)
{
    SLayoutPass::NoteChange();
    if ((result & 0xFFFF) != 0 || loading)
        return result;
    if ((result & (kAttrByLayout | kAttrByLayoutParam)) && m_parent) {
        m_parent->InvalidateLayout();
        return result;
    }
    InvalidateArea();
    return result;
}

HRESULT SWindow::UnknownAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    // Script handlers need the container's script module; none is available to windows yet.
    if (m_container && m_container->GetScriptModule() && m_eventSet.SetScriptHandler(name, value))
        return S_FALSE;
    return E_FAIL;
}

SStringW SWindow::GetAttributeText(const SStringW&) const
{
    return SStringW();
}

HRESULT SWindow::ApplyStyleClass(const SStringW& className, BOOL loading)
{
    SStylePoolMgr* styles = SStylePoolMgr::Instance();
    pugi::xml_node style = styles ? styles->FindStyle(className.c_str()) : pugi::xml_node();
    if (!style)
        return S_FALSE;
    SXmlCreation::CountAttributes(style);
    if (pugi::xml_attribute layout = style.attribute(L"layout"))
        ApplyAttribute(SStringW(L"layout"), SStringW(layout.value()), loading);
    for (pugi::xml_attribute attribute : style.attributes()) {
        SStringW name(attribute.name());
        if (!Is(name, L"class") && !Is(name, L"layout"))
            ApplyAttribute(name, SStringW(attribute.value()), loading);
    }
    return S_FALSE;
}

HRESULT SWindow::ApplyIdText(const SStringW& value)
{
    static const wchar_t* const kDialogIds[] = {L"IDOK",    L"IDCANCEL", L"IDABORT", L"IDRETRY", L"IDIGNORE",
                                                L"IDYES",   L"IDNO",     L"IDCLOSE", L"IDHELP"};
    if (value.IsEmptyText())
        return S_FALSE;
    if (value.StartsWith(SStringW(L"ID"), true)) {
        for (int i = 0; i < 9; ++i) {
            if (value.CompareIgnoringCase(kDialogIds[i]) == 0)
                m_id = i + 1;
        }
        return S_FALSE;
    }
    m_id = static_cast<int>(wcstol(value.c_str(), nullptr, 10));
    return S_FALSE;
}

// ---- creation from XML ----

BOOL SWindow::LoadFromXml(pugi::xml_node node)
{
    if (node) {
        ResetLayoutParam();
        pugi::xml_attribute first[2] = {node.attribute(L"layout"), node.attribute(L"class")};
        for (pugi::xml_attribute& attribute : first) {
            if (!attribute)
                continue;
            ApplyAttribute(SStringW(attribute.name()), SStringW(attribute.value()), TRUE);
            SXmlFlags::SetConsumed(attribute, true);
        }
        ApplyXmlAttributes(node);
        for (pugi::xml_attribute& attribute : first) {
            if (attribute)
                SXmlFlags::SetConsumed(attribute, false);
        }
        SStringW text(node.text().get());
        text.TrimSpaces();
        if (!text.IsEmptyText())
            m_text.SetSource(ResolveNamedString(text.c_str()));
    }
    if (SendUiMessage(WM_CREATE) != 0) {
        if (m_parent)
            m_parent->DestroyChild(this);
        return FALSE;
    }
    if (m_parent) {
        if (m_parent->m_state & kStateInvisible)
            m_state |= kStateInvisible;
        if (m_parent->m_state & kStateDisabled)
            m_state |= kStateDisabled;
    }
    SendUiMessage(WM_SHOWWINDOW, !(m_state & kStateInvisible), 1);
    {
        SXmlCreation creation(this); // the children lie one level deeper
        CreateChildrenFromXml(node);
    }
    InvalidateLayout();
    return TRUE;
}

BOOL SWindow::CreateChildrenFromXml(pugi::xml_node node)
{
    SXmlCreation creation(this);
    for (pugi::xml_node element = node.first_child(); element; element = element.next_sibling()) {
        if (element.type() != pugi::node_element)
            continue;
        if (!creation.AdmitElement(element))
            break;
        if (_wcsicmp(element.name(), L"include") == 0)
            CreateChildrenFromInclude(element, creation);
        else if (SXmlFlags::IsSkipped(element))
            continue;
        else if (wcsncmp(element.name(), L"t:", 2) == 0)
            CreateChildFromTemplate(element, creation);
        else
            CreateChildFromElement(element);
    }
    return TRUE;
}

void SWindow::CreateChildrenFromInclude(pugi::xml_node element, SXmlCreation& creation)
{
    const wchar_t* src = element.attribute(L"src").value();
    SDynArray<SStringW> pieces;
    SplitResourceName(src, pieces);
    SStringW type = pieces.Count() == 2 ? pieces[0] : SStringW(L"LAYOUT");
    SStringW name = pieces.Count() == 2 ? pieces[1] : pieces[0];
    SStringW key = type;
    key += L":";
    key += name;
    key.LowerInPlace(); // resource names ignore case
    SXmlCreation::Expansion expansion(creation, L"include", key, src);
    if (!expansion.Entered())
        return;
    if (pugi::xml_node root = creation.IncludedRoot(type, name, key))
        CreateChildrenFromXml(root);
}

void SWindow::CreateChildFromTemplate(pugi::xml_node element, SXmlCreation& creation)
{
    STemplatePoolMgr* templates = STemplatePoolMgr::Instance();
    const wchar_t* templateName = element.name() + 2;
    if (!templates)
        return;
    SXmlCreation::Expansion expansion(creation, L"template", SStringW(templateName), templateName);
    if (!expansion.Entered())
        return;
    SStringW text = templates->FindTemplate(templateName);
    if (text.IsEmptyText() || !creation.FillTemplate(text, element.child(L"data"), templateName))
        return;
    pugi::xml_document document;
    if (!document.load_string(text.c_str()))
        return;
    pugi::xml_node root = document.first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    if (!root)
        return;
    SXmlCreation::CountAttributes(root); // the instance's own were counted with it
    for (pugi::xml_attribute attribute : element.attributes()) {
        pugi::xml_attribute target = root.attribute(attribute.name());
        if (!target)
            target = root.append_attribute(attribute.name());
        target.set_value(attribute.value());
    }
    CreateChildFromElement(root);
}

void SWindow::CreateChildFromElement(pugi::xml_node element)
{
    SApplication* app = SApplication::Instance();
    IObject* created = app ? app->CreateWindowByName(element.name()) : nullptr;
    SWindow* child = dynamic_cast<SWindow*>(created);
    if (!child) {
        if (!created)
            SXmlCreation::CountWork(kXmlWorkPerUnknownElement); // the lookup and its log line
        delete created;
        return;
    }
    LinkChild(child);
    child->LoadFromXml(element);
}

} // namespace SKEIN
