# Cross build of the 64-bit Windows program with Debian's mingw-w64 (x86_64-w64-mingw32).
# Used by the Wine tests on machines that cannot run 32-bit x86 code, where 64-bit Wine
# runs the same sources built for 64-bit Windows instead.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VAPORA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VAPORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VAPORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VAPORA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VAPORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
