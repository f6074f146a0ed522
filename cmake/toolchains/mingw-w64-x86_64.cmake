# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads,
# which std::thread, std::mutex and Qt need). Libraries, headers and CMake
# packages come only from the MinGW root and from the prefixes given in
# CMAKE_PREFIX_PATH (the cross-built Qt, absl and GoogleTest), never from the
# Linux host; programs such as moc still come from the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tavolin_mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tavolin_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tavolin_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${tavolin_mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${tavolin_mingw_triplet} ${CMAKE_PREFIX_PATH})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The prefixes must reach the compiler checks of try_compile as well.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CMAKE_PREFIX_PATH)

