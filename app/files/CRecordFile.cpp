#include "files/CRecordFile.h"
#include <vector>
#include "files/FileDialog.h"
#include "files/ModelDataFolder.h"
#include "files/RecordStorage.h"
#include "prompt/UserPrompt.h"

const TransferTexts kProfileTransfer = {
    L"qmf files(*.qmf)\0*.qmf\0",
    L"qmf",
    L"Create Profile error",
    L"WriteProfile error",
    L"CreateFile error",
    L"Readproile error",
    L"File invalid",
    L"Profile does not match current device",
};

const TransferTexts kSettingsTransfer = {
    L"qmj files(*.qmj)\0*.qmj\0",
    L"qmj",
    L"Create setting file error",
    L"Write setting file error",
    L"Create setting File error",
    L"Read setting file error",
    L"setting File invalid",
    L"setting file does not match current device",
};

CRecordFile::CRecordFile(const RecordFileSpec& spec, void* record) : m_spec(spec), m_record(static_cast<BYTE*>(record))
{
}

std::wstring CRecordFile::AutomaticPath() const
{
    std::wstring folder = ModelDataFolder(m_spec.model);
    return folder.empty() ? folder : folder + L"\\" + m_spec.fileName;
}

bool CRecordFile::CheckRecord() const
{
    return IsValidRecord(m_record, *m_spec.layout, m_spec.productId);
}

void CRecordFile::UpdateChecksum()
{
    StampChecksum(m_record, *m_spec.layout);
}

void CRecordFile::Load()
{
    std::wstring path = AutomaticPath();
    if (path.empty())
        return;
    const RecordLayout& layout = *m_spec.layout;
    std::vector<BYTE> read(layout.size);
    DWORD count = 0;
    if (ReadRecordFile(path, read.data(), layout.size, count) == ReadStatus::Read && count == layout.size &&
        IsValidRecord(read.data(), layout, m_spec.productId))
        TakeOver(m_record, read.data(), layout);
}

bool CRecordFile::Save()
{
    std::wstring path = AutomaticPath();
    if (path.empty())
        return false;
    std::vector<BYTE> image = FileImage(m_record, *m_spec.layout);
    return ReplaceFileWith(path, image.data(), m_spec.layout->size) == WriteStatus::Written;
}

bool CRecordFile::ExportRecord() const
{
    const TransferTexts& texts = *m_spec.transfer;
    std::wstring path;
    if (!ChooseFile(FileDialogKind::Save, texts.filter, texts.extension, path))
        return false;
    std::vector<BYTE> image = FileImage(m_record, *m_spec.layout);
    WriteStatus status = ReplaceFileWith(path, image.data(), m_spec.layout->size);
    if (status == WriteStatus::Written)
        return true;
    ShowError(status == WriteStatus::WriteFailed ? texts.writeFailed : texts.createFailed);
    return false;
}

bool CRecordFile::ImportRecord()
{
    const TransferTexts& texts = *m_spec.transfer;
    const RecordLayout& layout = *m_spec.layout;
    std::wstring path;
    if (!ChooseFile(FileDialogKind::Open, texts.filter, texts.extension, path))
        return false;
    std::vector<BYTE> read(layout.size);
    DWORD count = 0;
    ReadStatus status = ReadRecordFile(path, read.data(), layout.size, count);
    const wchar_t* error = nullptr;
    if (status == ReadStatus::OpenFailed)
        error = texts.openFailed;
    else if (status == ReadStatus::ReadFailed)
        error = texts.readFailed;
    else if (count != layout.size)
        error = texts.tooShort;
    else if (!IsValidRecord(read.data(), layout, m_spec.productId))
        error = texts.invalid;
    if (error) {
        ShowError(error);
        return false;
    }
    TakeOver(m_record, read.data(), layout);
    return true;
}

void CRecordFile::ShowError(const wchar_t* text) const
{
    UserPrompt().ShowMessage(GetActiveWindow(), text, nullptr, MB_ICONERROR);
}
