# The part of the mingw-w64 cross builds that does not depend on the width: the
# toolchain file that includes this sets CMAKE_SYSTEM_PROCESSOR and
# VAPORA_MINGW_PREFIX (the compiler's target triplet) first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VAPORA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VAPORA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VAPORA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VAPORA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# A self-contained executable: no libgcc/libstdc++ DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
