#pragma once
// What the four records share: the automatic file in the model's data folder (silent load,
// atomic save) and the transfers to and from files the user chooses (dialogs and error boxes).
// The derived class owns the record image and describes it.
#include <string>
#include "files/ISettingFileForAppPath.h"
#include "files/RecordLayout.h"

// The dialog filter and extension of one kind of record file, and the boxes its transfers show.
struct TransferTexts {
    const wchar_t* filter;
    const wchar_t* extension;
    const wchar_t* createFailed;   // export: the chosen file cannot be created or replaced
    const wchar_t* writeFailed;    // export: the record could not be written whole
    const wchar_t* openFailed;     // import: the chosen file cannot be opened
    const wchar_t* readFailed;     // import: reading failed
    const wchar_t* tooShort;       // import: fewer bytes than a record
    const wchar_t* invalid;        // import: checksum or ids wrong
};

extern const TransferTexts kProfileTransfer;
extern const TransferTexts kSettingsTransfer;

struct RecordFileSpec {
    const RecordLayout* layout;
    UINT16 productId;               // checked when the layout has ids
    const wchar_t* model;           // data folder name
    const wchar_t* fileName;        // the automatic file in it
    const TransferTexts* transfer;
};

class CRecordFile : public ISettingFileForAppPath {
public:
    CRecordFile(const CRecordFile&) = delete;
    CRecordFile& operator=(const CRecordFile&) = delete;

    void Load() override;
    bool Save() override;
    // Empty when the model has no data folder.
    std::wstring AutomaticPath() const;

    // The validity check of the live record, and its checksum brought up to date.
    bool CheckRecord() const;
    void UpdateChecksum();

    // Save dialog, then the record with a fresh checksum into the chosen file; each failure is
    // reported in a box and leaves no partial file. False when nothing was written.
    bool ExportRecord() const;
    // Open dialog, then the chosen file taken over when it is a valid record; each failure is
    // reported in a box and changes nothing. Nothing is saved. False when nothing changed.
    bool ImportRecord();

protected:
    CRecordFile(const RecordFileSpec& spec, void* record);

private:
    void ShowError(const wchar_t* text) const;

    RecordFileSpec m_spec;
    BYTE* m_record;
};
