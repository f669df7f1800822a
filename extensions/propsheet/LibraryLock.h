// The library's one lock over the device state shared by the sheet pages.
#pragma once

namespace pelko {

class LibraryLock {
public:
    LibraryLock();
    ~LibraryLock();
    LibraryLock(const LibraryLock&) = delete;
    LibraryLock& operator=(const LibraryLock&) = delete;
};

} // namespace pelko
