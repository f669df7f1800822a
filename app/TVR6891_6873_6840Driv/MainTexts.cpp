#include "MainTexts.h"
#include "texts/LanguageFile.h"

using namespace SKEIN;

MainTexts::MainTexts()
    : title(L"Corvane映射软件"), connectionWarning(L"请检查设备连接是否正常!"), applied(L"应用成功!"),
      restoreQuestion(L"是否恢复默认")
{
}

void MainTexts::LoadFrom(const wchar_t* path)
{
    pugi::xml_document document;
    if (!LoadLanguageFile(document, path))
        return;
    pugi::xml_node root = document.child(L"root");
    title = root.child(L"TilteName").attribute(L"name").value();
    connectionWarning = root.child(L"deviceConnectWarring").attribute(L"name").value();
    applied = root.child(L"applayOK").attribute(L"name").value();
    restoreQuestion = root.child(L"MsgboxRestore").attribute(L"name").value();
    loaded = true;
}

MainTexts& CurrentMainTexts()
{
    static MainTexts texts;
    return texts;
}
