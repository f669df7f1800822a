// STreeCtrl: attributes, items from XML, the item tree with its visible rows and widths,
// expansion, check states, selection and row geometry.
#include "control/STreeCtrl.h"
#include <algorithm>
#include "helper/SLog.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const UINT kAlignmentBits = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
const int kMeasureExtent = 0x7FFF;

bool IsItemElement(pugi::xml_node node)
{
    return node.type() == pugi::node_element && _wcsicmp(node.name(), L"item") == 0;
}

pugi::xml_node FirstItemElement(pugi::xml_node node)
{
    while (node && !IsItemElement(node))
        node = node.next_sibling();
    return node;
}

// A part's rectangle in item coordinates: from left, size.cx wide, centred in the row.
RECT PartRect(int left, SIZE size, int rowHeight)
{
    int gap = (rowHeight - size.cy) / 2;
    return RECT{left, gap, left + size.cx, rowHeight - gap};
}

} // namespace

STreeCtrl::STreeCtrl()
    : m_selection(0), m_hoverItem(0), m_pushedItem(0), m_visibleCount(0), m_maxItemWidth(0), m_partsShown(0),
      m_contentStart(0), m_toggleRect{}, m_checkRect{}, m_iconRect{}, m_hoverPart(kTcPartNone),
      m_pushedPart(kTcPartNone), m_itemHeight(20), m_indent(16), m_itemMargin(4), m_checkBox(0), m_rightClickSel(0),
      m_toggleSkin(FindSystemSkin(kSysSkinTreeToggle, 100)), m_checkSkin(FindSystemSkin(kSysSkinTreeCheckbox, 100)),
      m_colorItemBkgnd(0xFFFFFFFF), m_colorItemSelBkgnd(0xFF880000), m_colorItemText(0xFF000000),
      m_colorItemSelText(0xFFFFFFFF)
{
    m_flags |= kWndClipClient | kWndFocusable;
    m_eventSet.DeclareEvent(EventTCSelChanging::EventID, EventTCSelChanging::EventName());
    m_eventSet.DeclareEvent(EventTCSelChanged::EventID, EventTCSelChanged::EventName());
    m_eventSet.DeclareEvent(EventTCCheckState::EventID, EventTCCheckState::EventName());
    m_eventSet.DeclareEvent(EventTCExpand::EventID, EventTCExpand::EventName());
    m_eventSet.DeclareEvent(EventTCDbClick::EventID, EventTCDbClick::EventName());
    UpdateContentRects();
}

STreeCtrl::~STreeCtrl()
{
    // The base's destructor no longer reaches OnNodeFree.
    CSTree<tagTVITEM*>::DeleteAllItems();
}

void STreeCtrl::OnNodeFree(tagTVITEM*& item)
{
    delete item;
    item = nullptr;
}

tagTVITEM* STreeCtrl::ItemOf(STreeHandle item) const
{
    tagTVITEM* const* data = GetItemData(item);
    return data ? *data : nullptr;
}

// ---- attributes and XML ----

HRESULT STreeCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_OK;
    bool look = true; // the parts or widths of the rows change
    if (Is(name, L"indent")) {
        m_indent = ParseInt(value);
    } else if (Is(name, L"itemHeight")) {
        int height = ParseInt(value);
        if (height <= 0)
            return E_INVALIDARG; // rows are counted by dividing by it
        m_itemHeight = height;
    } else if (Is(name, L"itemMargin")) {
        m_itemMargin = ParseInt(value);
    } else if (Is(name, L"checkBox")) {
        m_checkBox = ParseInt(value);
    } else if (Is(name, L"toggleSkin")) {
        m_toggleSkin = FindSkin(value, GetScale());
    } else if (Is(name, L"iconSkin")) {
        m_iconSkin = FindSkin(value, GetScale());
    } else if (Is(name, L"checkSkin")) {
        m_checkSkin = FindSkin(value, GetScale());
    } else {
        look = false;
        COLORREF* color = Is(name, L"colorItemBkgnd")      ? &m_colorItemBkgnd
                          : Is(name, L"colorItemSelBkgnd") ? &m_colorItemSelBkgnd
                          : Is(name, L"colorItemText")     ? &m_colorItemText
                          : Is(name, L"colorItemSelText")  ? &m_colorItemSelText
                                                           : nullptr;
        if (color) {
            if (!ParseColor(value, color))
                return E_FAIL;
            result = S_FALSE;
        } else if (Is(name, L"rightClickSel")) {
            m_rightClickSel = ParseInt(value);
        } else if (Is(name, L"itemBkgndSkin")) {
            m_itemBkgndSkin = FindSkin(value, GetScale());
        } else if (Is(name, L"itemSelSkin")) {
            m_itemSelSkin = FindSkin(value, GetScale());
        } else {
            return SScrollView::ApplyAttribute(name, value, loading);
        }
    }
    if (look) {
        if (loading)
            UpdateContentRects();
        else
            RemeasureAll();
    }
    return AfterAttribute(name, value, loading, result);
}

BOOL STreeCtrl::CreateChildrenFromXml(pugi::xml_node node)
{
    if (!node.first_child())
        return FALSE;
    RemoveAllItems();
    UpdateContentRects();
    if (pugi::xml_node first = FirstItemElement(node.first_child()))
        LoadBranch(kTviRoot, first);
    return TRUE;
}

void STreeCtrl::LoadBranch(STreeHandle parent, pugi::xml_node element)
{
    for (pugi::xml_node node = FirstItemElement(element); node; node = FirstItemElement(node.next_sibling())) {
        STreeHandle item = InsertItem(node, parent, kTviLast, FALSE);
        pugi::xml_node child = FirstItemElement(node.first_child());
        if (!item || !child)
            continue;
        // Loading recurses once per level.
        if (ItemOf(item)->level + 1 >= kMaxXmlDepth) {
            SKEIN_LOG(3, "SKEIN::STreeCtrl::LoadBranch").FormatW(L"items deeper than %d levels ignored", kMaxXmlDepth);
            continue;
        }
        LoadBranch(item, child);
        pugi::xml_attribute expand = XmlAttributeNoCase(node, L"expand");
        Expand(item, !expand || ParseBool(SStringW(expand.value())) ? kTcExpand : kTcCollapse);
    }
}

void STreeCtrl::LoadItemAttributes(tagTVITEM* item, pugi::xml_node element)
{
    if (pugi::xml_attribute text = XmlAttributeNoCase(element, L"text"))
        item->text = SStringW(text.value());
    if (pugi::xml_attribute image = XmlAttributeNoCase(element, L"img"))
        item->image = ParseInt(SStringW(image.value()));
    if (pugi::xml_attribute image = XmlAttributeNoCase(element, L"selImg"))
        item->selectedImage = ParseInt(SStringW(image.value()));
    if (pugi::xml_attribute data = XmlAttributeNoCase(element, L"data"))
        item->data = static_cast<DWORD>(ParseInt(SStringW(data.value())));
}

// ---- parts and widths ----

void STreeCtrl::UpdateContentRects()
{
    m_partsShown = 0;
    m_toggleRect = m_checkRect = m_iconRect = RECT{};
    int x = 0;
    if (m_toggleSkin) {
        m_partsShown |= kTcShowToggle;
        m_toggleRect = PartRect(x, SkinSize(m_toggleSkin), m_itemHeight);
        x = m_toggleRect.right;
    }
    if (m_checkBox && m_checkSkin) {
        m_partsShown |= kTcShowCheck;
        m_checkRect = PartRect(x, SkinSize(m_checkSkin), m_itemHeight);
        x = m_checkRect.right;
    }
    if (m_iconSkin) {
        m_partsShown |= kTcShowIcon;
        m_iconRect = PartRect(x, SkinSize(m_iconSkin), m_itemHeight);
        x = m_iconRect.right;
    }
    m_contentStart = x;
}

void STreeCtrl::CalcItemContentWidth(tagTVITEM* item)
{
    if (!m_measure)
        m_measure = NewRenderTarget(0, 0);
    int width = 0;
    if (m_measure) {
        ApplyAncestorPaintSettings(m_measure);
        RECT rect = {0, 0, kMeasureExtent, kMeasureExtent};
        UINT format = (m_style.GetDrawTextFormat() & ~kAlignmentBits) | DT_CALCRECT;
        RenderText(m_measure, item->text.c_str(), item->text.Length(), &rect, format);
        width = rect.right - rect.left;
    }
    item->contentWidth = m_contentStart + 2 * m_itemMargin + width;
}

int STreeCtrl::GetItemWidth(const tagTVITEM* item) const
{
    return m_indent * item->level + item->contentWidth;
}

int STreeCtrl::GetBranchWidth(STreeHandle handle) const
{
    tagTVITEM* item = ItemOf(handle);
    if (!item || !item->visible)
        return 0;
    int width = GetItemWidth(item);
    for (STreeHandle node = NextInSubtree(handle, handle, !item->collapsed); node;
         node = NextInSubtree(node, handle, !ItemOf(node)->collapsed))
        width = std::max(width, GetItemWidth(ItemOf(node)));
    return width;
}

void STreeCtrl::CalcMaxItemWidth()
{
    m_maxItemWidth = 0;
    for (STreeHandle top = GetChildItem(kTviRoot); top; top = GetNextSiblingItem(top))
        m_maxItemWidth = std::max(m_maxItemWidth, GetBranchWidth(top));
}

void STreeCtrl::RemeasureAll()
{
    UpdateContentRects();
    for (STreeHandle node = GetNextItem(kTviRoot); node; node = GetNextItem(node))
        CalcItemContentWidth(ItemOf(node));
    CalcMaxItemWidth();
    UpdateView();
}

void STreeCtrl::UpdateView()
{
    ResizeView(m_maxItemWidth, m_itemHeight * m_visibleCount);
    InvalidateClientArea();
}

// ---- the tree ----

STreeHandle STreeCtrl::NextInSubtree(STreeHandle item, STreeHandle top, bool intoChildren) const
{
    if (intoChildren) {
        if (STreeHandle child = GetChildItem(item))
            return child;
    }
    for (STreeHandle node = item; node && node != top; node = GetParentItem(node)) {
        if (STreeHandle next = GetNextSiblingItem(node))
            return next;
    }
    return 0;
}

STreeHandle STreeCtrl::NextVisibleItem(STreeHandle item) const
{
    return NextInSubtree(item, kTviRoot, !ItemOf(item)->collapsed);
}

STreeHandle STreeCtrl::ItemAtShowIndex(int index) const
{
    STreeHandle item = GetChildItem(kTviRoot);
    for (int i = 0; item && i < index; ++i)
        item = NextVisibleItem(item);
    return index < 0 ? 0 : item;
}

int STreeCtrl::GetItemShowIndex(STreeHandle handle) const
{
    tagTVITEM* item = ItemOf(handle);
    if (!item || !item->visible)
        return -1;
    int index = 0;
    for (STreeHandle node = GetChildItem(kTviRoot); node; node = NextVisibleItem(node), ++index) {
        if (node == handle)
            return index;
    }
    return -1;
}

STreeHandle STreeCtrl::InsertItem(pugi::xml_node element, STreeHandle parent, STreeHandle insertAfter,
                                  BOOL ensureVisible)
{
    tagTVITEM* item = new (std::nothrow) tagTVITEM;
    if (!item)
        return 0;
    LoadItemAttributes(item, element);
    return InsertItem(item, parent, insertAfter, ensureVisible);
}

STreeHandle STreeCtrl::InsertItem(tagTVITEM* item, STreeHandle parent, STreeHandle insertAfter, BOOL ensureVisible)
{
    if (!item)
        return 0;
    tagTVITEM* parentItem = parent == kTviRoot ? nullptr : ItemOf(parent);
    item->level = parentItem ? parentItem->level + 1 : 0;
    item->visible = !parentItem || (parentItem->visible && !parentItem->collapsed);
    CalcItemContentWidth(item);
    STreeHandle handle = CSTree<tagTVITEM*>::InsertItem(item, parent, insertAfter);
    if (!handle) {
        // A refused position: the record was ours to keep, and nothing was counted.
        delete item;
        return 0;
    }
    item->handle = handle;
    if (parentItem && !parentItem->hasChildren) {
        parentItem->hasChildren = 1;
        CalcItemContentWidth(parentItem);
    }
    OnItemInserted(handle);
    if (item->visible) {
        ++m_visibleCount;
        m_maxItemWidth = std::max(m_maxItemWidth, GetItemWidth(item));
    }
    // A hidden item may still give its parent a toggle.
    UpdateView();
    if (ensureVisible)
        EnsureVisible(handle);
    return handle;
}

BOOL STreeCtrl::DeleteItem(STreeHandle handle)
{
    if (handle == kTviRoot) {
        RemoveAllItems();
        return TRUE;
    }
    if (!ItemOf(handle))
        return FALSE;
    STreeHandle node = handle;
    do {
        m_visibleCount -= ItemOf(node)->visible;
        if (node == m_selection)
            m_selection = 0;
        if (node == m_hoverItem) {
            m_hoverItem = 0;
            m_hoverPart = kTcPartNone;
        }
        if (node == m_pushedItem) {
            m_pushedItem = 0;
            m_pushedPart = kTcPartNone;
        }
        node = NextInSubtree(node, handle, true);
    } while (node);
    STreeHandle parent = GetParentItem(handle);
    CSTree<tagTVITEM*>::DeleteItem(handle);
    if (parent && !GetChildItem(parent))
        ItemOf(parent)->hasChildren = 0;
    CalcMaxItemWidth();
    UpdateView();
    return TRUE;
}

void STreeCtrl::RemoveAllItems()
{
    CSTree<tagTVITEM*>::DeleteAllItems();
    m_visibleCount = 0;
    m_selection = m_hoverItem = m_pushedItem = 0;
    m_hoverPart = m_pushedPart = kTcPartNone;
    m_maxItemWidth = 0;
    ResizeView(0, 0);
    MoveViewOrigin(0, 0);
}

// ---- expansion, checks, selection ----

void STreeCtrl::UpdateChildrenVisibility(STreeHandle handle)
{
    tagTVITEM* item = ItemOf(handle);
    // Children of an item that is itself hidden stay hidden whatever its own flag says.
    int shown = item->visible && !item->collapsed;
    for (STreeHandle node = GetChildItem(handle); node; node = NextInSubtree(node, handle, !ItemOf(node)->collapsed)) {
        tagTVITEM* row = ItemOf(node);
        m_visibleCount += shown - row->visible;
        row->visible = shown;
    }
}

BOOL STreeCtrl::Expand(STreeHandle handle, int code)
{
    tagTVITEM* item = ItemOf(handle);
    if (!item || !item->hasChildren)
        return FALSE;
    int collapsed = 0;
    switch (code) {
    case kTcCollapse:
        if (item->collapsed)
            return FALSE;
        collapsed = 1;
        break;
    case kTcExpand:
        if (!item->collapsed)
            return FALSE;
        break;
    case kTcToggle: collapsed = !item->collapsed; break;
    default: return FALSE;
    }
    item->collapsed = collapsed;
    UpdateChildrenVisibility(handle);
    EventTCExpand evt(this);
    evt.item = handle;
    evt.collapsed = collapsed;
    RaiseEvent(evt);
    CalcMaxItemWidth();
    UpdateView();
    return TRUE;
}

BOOL STreeCtrl::SubtreeHasState(STreeHandle handle, int state) const
{
    for (STreeHandle node = GetChildItem(handle); node; node = NextInSubtree(node, handle, true)) {
        if (ItemOf(node)->checkState != state)
            return FALSE;
    }
    return TRUE;
}

BOOL STreeCtrl::SetCheckState(STreeHandle handle, BOOL checked)
{
    tagTVITEM* item = ItemOf(handle);
    if (!m_checkBox || !item)
        return FALSE;
    int state = checked ? 1 : 0;
    item->checkState = state;
    for (STreeHandle node = GetChildItem(handle); node; node = NextInSubtree(node, handle, true))
        ItemOf(node)->checkState = state;
    // Ancestors agree while every descendant has the state; from the first that does not,
    // every ancestor up is partly checked.
    bool uniform = true;
    for (STreeHandle node = GetParentItem(handle); node; node = GetParentItem(node)) {
        uniform = uniform && SubtreeHasState(node, state);
        ItemOf(node)->checkState = uniform ? state : 2;
    }
    InvalidateClientArea();
    return TRUE;
}

BOOL STreeCtrl::SelectItem(STreeHandle handle, BOOL ensureVisible)
{
    if (!ItemOf(handle))
        return FALSE;
    STreeHandle old = m_selection;
    EventTCSelChanging changing(this);
    changing.oldSel = old;
    changing.newSel = handle;
    RaiseEvent(changing);
    if (changing.cancel)
        return FALSE;
    if (ensureVisible)
        EnsureVisible(handle);
    m_selection = handle;
    EventTCSelChanged changed(this);
    changed.oldSel = old;
    changed.newSel = handle;
    RaiseEvent(changed);
    if (old)
        RedrawItem(old);
    RedrawItem(m_selection);
    return TRUE;
}

BOOL STreeCtrl::EnsureVisible(STreeHandle handle)
{
    tagTVITEM* item = ItemOf(handle);
    if (!item)
        return FALSE;
    while (!item->visible) {
        // The outermost collapsed ancestor is itself shown: expanding it shows its children.
        STreeHandle outer = 0;
        for (STreeHandle node = GetParentItem(handle); node; node = GetParentItem(node)) {
            if (ItemOf(node)->collapsed)
                outer = node;
        }
        if (!outer || !Expand(outer, kTcExpand))
            break;
    }
    int top = GetItemShowIndex(handle) * m_itemHeight;
    int origin = ViewOrigin().y;
    int clientHeight = m_clientRect.bottom - m_clientRect.top;
    int position = origin;
    if (top + m_itemHeight > origin + clientHeight)
        position = top + m_itemHeight - clientHeight;
    else if (top < origin)
        position = top;
    if (position != origin)
        OnScroll(TRUE, SB_THUMBPOSITION, position);
    return TRUE;
}

// ---- geometry ----

int STreeCtrl::RowsInClient() const
{
    int height = std::max<int>(0, m_clientRect.bottom - m_clientRect.top);
    return (height + m_itemHeight - 1) / m_itemHeight;
}

RECT STreeCtrl::RowRect(int index, const tagTVITEM* item) const
{
    POINT origin = ViewOrigin();
    int left = m_clientRect.left - origin.x;
    int top = m_clientRect.top + index * m_itemHeight - origin.y;
    return RECT{left, top, left + GetItemWidth(item), top + m_itemHeight};
}

STreeHandle STreeCtrl::HitTest(POINT& pt) const
{
    POINT origin = ViewOrigin();
    int y = origin.y + pt.y - m_clientRect.top;
    if (y < 0 || y / m_itemHeight >= m_visibleCount)
        return 0;
    int row = y / m_itemHeight;
    STreeHandle handle = ItemAtShowIndex(row);
    if (!handle)
        return 0;
    pt.x -= m_clientRect.left - origin.x + m_indent * ItemOf(handle)->level;
    pt.y -= m_clientRect.top + row * m_itemHeight - origin.y;
    return handle;
}

BOOL STreeCtrl::GetItemRect(STreeHandle handle, RECT* rect) const
{
    int index = GetItemShowIndex(handle);
    int top = TopRow();
    if (index < 0 || index < top || index > top + 1 + RowsInClient())
        return FALSE;
    *rect = RowRect(index, ItemOf(handle));
    rect->left += m_indent * ItemOf(handle)->level;
    rect->right = m_clientRect.left - ViewOrigin().x + (m_clientRect.right - m_clientRect.left);
    return TRUE;
}

void STreeCtrl::RedrawItem(STreeHandle handle)
{
    int index = GetItemShowIndex(handle);
    int top = TopRow();
    if (!TestVisible(TRUE) || index < 0 || index < top || index > top + RowsInClient())
        return;
    RECT rect = RowRect(index, ItemOf(handle));
    IRenderTarget* rt = AcquirePaintTarget(&rect, kPaintWithBackground, TRUE);
    if (!rt)
        return;
    SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    DrawItem(rt, rect, handle);
    ReturnPaintTarget(rt);
}

} // namespace SKEIN
