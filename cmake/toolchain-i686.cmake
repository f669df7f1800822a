set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SKEIN_TRIPLE i686-w64-mingw32)
# Same floating-point results as the tested 64-bit build.
set(SKEIN_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
