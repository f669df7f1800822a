// The combo box over a list box.
#include "control/SComboBox.h"
#include "helper/SXmlLookup.h"

namespace SKEIN {

SComboBox::SComboBox() : m_listBox(nullptr) {}

SComboBox::~SComboBox()
{
    if (m_listBox) {
        m_listBox->SendUiMessage(WM_DESTROY);
        m_listBox->Release();
    }
}

BOOL SComboBox::SetCurSel(int index)
{
    if (!m_listBox || !m_listBox->SetCurSel(index))
        return FALSE;
    OnSelChanged();
    return TRUE;
}

SStringW SComboBox::GetItemText(int index, bool raw) const
{
    return m_listBox ? m_listBox->GetText(index, raw) : SStringW();
}

void SComboBox::OnSelChanged()
{
    SyncEditText();
    SComboBase::OnSelChanged();
}

BOOL SComboBox::CreateListBox(pugi::xml_node node)
{
    m_listBox = static_cast<SListBox*>(CreateDropList(node, SListBox::StaticXmlClassName()));
    if (!m_listBox)
        return FALSE;
    m_listBox->SendUiMessage(kUiMsgScaleChanged, GetScale());
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    for (pugi::xml_node item = items.first_child(); item; item = item.next_sibling()) {
        if (_wcsicmp(item.name(), L"item") != 0)
            continue;
        pugi::xml_attribute text = XmlAttributeNoCase(item, L"text");
        pugi::xml_attribute icon = XmlAttributeNoCase(item, L"icon");
        pugi::xml_attribute data = XmlAttributeNoCase(item, L"data");
        m_listBox->AddString(SStringW(text ? text.value() : L""), icon ? icon.as_int() : 0, data ? data.as_int() : 0);
    }
    if (m_initialSel != -1)
        SetCurSel(m_initialSel);
    return TRUE;
}

int SComboBox::GetListBoxHeight()
{
    int limit = DropHeightPx();
    if (!m_listBox || m_listBox->GetCount() == 0)
        return limit;
    RECT margin = m_listBox->GetStyle().GetMarginRect();
    long long wanted = static_cast<long long>(m_listBox->ItemHeightPx()) * m_listBox->GetCount() + margin.top
                       + margin.bottom;
    return static_cast<int>(std::min<long long>(wanted, limit));
}

void SComboBox::OnDropDownCreated(SDropDownWnd* popup)
{
    SComboBase::OnDropDownCreated(popup);
    if (!m_listBox)
        return;
    InsertDropList(popup, m_listBox);
    m_listBox->EnsureVisible(GetCurSel());
}

void SComboBox::OnDropDownDestroyed(SDropDownWnd* popup)
{
    if (m_listBox)
        RemoveDropList(popup, m_listBox);
    SComboBase::OnDropDownDestroyed(popup);
}

BOOL SComboBox::RaiseEvent(EventArgs& evt)
{
    if (evt.idFrom == kComboListId && GetPopup()) {
        if (evt.GetId() == EventLBSelChanged::EventID) {
            OnSelChanged();
            return TRUE;
        }
        if (evt.GetId() == EventCmd::EventID) {
            CloseUp();
            return TRUE;
        }
    }
    return SComboBase::RaiseEvent(evt);
}

int SComboBox::RetranslateTexts()
{
    int result = SComboBase::RetranslateTexts();
    if (m_listBox)
        m_listBox->SendUiMessage(kUiMsgLanguageChanged);
    return result;
}

void SComboBox::ApplyScale(int scale)
{
    SComboBase::ApplyScale(scale);
    if (m_listBox)
        m_listBox->SendUiMessage(kUiMsgScaleChanged, scale);
}

} // namespace SKEIN
