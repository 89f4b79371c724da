# Cross build of the 64-bit Windows program with Debian's mingw-w64 (x86_64-w64-mingw32).
# Used by the Wine tests on machines that cannot run 32-bit x86 code, where 64-bit Wine
# runs the same sources built for 64-bit Windows instead.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VAPORA_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
