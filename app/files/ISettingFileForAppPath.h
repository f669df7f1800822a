#pragma once
// A data object that keeps itself in an automatic file of its model's data folder.
class ISettingFileForAppPath {
public:
    virtual ~ISettingFileForAppPath() = default;
    // Takes over the automatic file when it is valid; otherwise changes nothing. Silent.
    virtual void Load() = 0;
    // Writes the automatic file. False when it could not be written; the stored file is then
    // unchanged. Silent.
    virtual bool Save() = 0;
};
