#include "ScriptedPrompt.h"
#include <wchar.h>

namespace {

std::vector<std::wstring> SplitFilter(const wchar_t* filter)
{
    std::vector<std::wstring> parts;
    for (const wchar_t* part = filter; part && *part; part += wcslen(part) + 1)
        parts.push_back(part);
    return parts;
}

std::wstring Text(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring();
}

// The chosen path as the dialog hands it back: the default extension added to a bare name.
std::wstring WithDefaultExtension(std::wstring path, const wchar_t* extension)
{
    size_t name = path.find_last_of(L"\\/");
    name = name == std::wstring::npos ? 0 : name + 1;
    if (extension && *extension && path.find(L'.', name) == std::wstring::npos)
        path += std::wstring(L".") + extension;
    return path;
}

// Writes path into the caller's buffers with the offsets the real dialog sets.
void HandBack(OPENFILENAMEW& dialog, const std::wstring& path)
{
    wcscpy(dialog.lpstrFile, path.c_str());
    size_t name = path.find_last_of(L"\\/");
    name = name == std::wstring::npos ? 0 : name + 1;
    size_t dot = path.rfind(L'.');
    dialog.nFileOffset = static_cast<WORD>(name);
    dialog.nFileExtension = static_cast<WORD>(dot != std::wstring::npos && dot >= name ? dot + 1 : 0);
    if (dialog.lpstrFileTitle && dialog.nMaxFileTitle > path.size() - name)
        wcscpy(dialog.lpstrFileTitle, path.c_str() + name);
}

} // namespace

ScriptedPrompt::ScriptedPrompt() : m_previous(&UserPrompt())
{
    SetUserPrompt(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    SetUserPrompt(m_previous);
}

std::vector<std::wstring> ScriptedPrompt::MessageTexts() const
{
    std::vector<std::wstring> texts;
    for (const Message& message : m_messages)
        texts.push_back(message.text);
    return texts;
}

void ScriptedPrompt::Clear()
{
    m_answers.clear();
    m_files.clear();
    m_messages.clear();
    m_dialogs.clear();
    m_during = nullptr;
    m_duringSkip = 0;
}

void ScriptedPrompt::RunDuring()
{
    if (!m_during || m_duringSkip-- > 0)
        return;
    std::function<void()> arrival = std::move(m_during);
    m_during = nullptr;
    arrival();
}

int ScriptedPrompt::ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    RunDuring();
    int answer = IDOK;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    std::optional<std::wstring> shownCaption;
    if (caption)
        shownCaption = caption;
    m_messages.push_back(Message{owner, Text(text), shownCaption, type, answer});
    return answer;
}

BOOL ScriptedPrompt::Choose(OPENFILENAMEW& dialog, bool save)
{
    RunDuring();
    Dialog record{save,
                  dialog.hwndOwner,
                  dialog.lStructSize,
                  SplitFilter(dialog.lpstrFilter),
                  Text(dialog.lpstrDefExt),
                  Text(dialog.lpstrInitialDir),
                  Text(dialog.lpstrTitle),
                  Text(dialog.lpstrFile),
                  dialog.Flags,
                  dialog.nMaxFile,
                  dialog.lpstrFileTitle ? dialog.nMaxFileTitle : 0,
                  dialog.lpfnHook != nullptr,
                  std::wstring(),
                  FALSE};
    std::optional<std::wstring> choice;
    if (!m_files.empty()) {
        choice = m_files.front();
        m_files.pop_front();
    }
    bool hookMissing = (dialog.Flags & OFN_ENABLEHOOK) && !dialog.lpfnHook;
    if (choice && !hookMissing) {
        std::wstring path = WithDefaultExtension(*choice, dialog.lpstrDefExt);
        if (dialog.lpstrFile && path.size() < dialog.nMaxFile) {
            HandBack(dialog, path);
            record.chosen = path;
            record.result = TRUE;
        }
    }
    m_dialogs.push_back(record);
    return record.result;
}
