// The combo box over a list box.
#include "control/SComboBox.h"
#include "helper/SXmlLookup.h"

namespace SKEIN {

BOOL SComboBox::SetCurSel(int index)
{
    if (!m_list || !m_list->SetCurSel(index))
        return FALSE;
    OnSelChanged();
    return TRUE;
}

SStringW SComboBox::GetItemText(int index, bool raw) const
{
    return m_list ? m_list->GetText(index, raw) : SStringW();
}

BOOL SComboBox::CreateListBox(pugi::xml_node node)
{
    if (!CreateList(node))
        return FALSE;
    m_list->SendUiMessage(kUiMsgScaleChanged, GetScale());
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    for (pugi::xml_node item = items.first_child(); item; item = item.next_sibling()) {
        if (_wcsicmp(item.name(), L"item") != 0)
            continue;
        pugi::xml_attribute text = XmlAttributeNoCase(item, L"text");
        pugi::xml_attribute icon = XmlAttributeNoCase(item, L"icon");
        pugi::xml_attribute data = XmlAttributeNoCase(item, L"data");
        m_list->AddString(SStringW(text ? text.value() : L""), icon ? icon.as_int() : 0, data ? data.as_int() : 0);
    }
    if (m_initialSel != -1)
        SetCurSel(m_initialSel);
    return TRUE;
}

int SComboBox::GetListBoxHeight()
{
    if (!m_list || m_list->GetCount() == 0)
        return DropHeightPx();
    return FitDropHeight(m_list, static_cast<long long>(m_list->ItemHeightPx()) * m_list->GetCount());
}

int SComboBox::RetranslateTexts()
{
    int result = SComboBase::RetranslateTexts();
    if (m_list)
        m_list->SendUiMessage(kUiMsgLanguageChanged);
    return result;
}

} // namespace SKEIN
