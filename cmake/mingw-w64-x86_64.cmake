# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, so std::thread
# and std::mutex work). The C++ runtime is linked statically so the .exe files run in a bare
# Wine prefix and on a Windows box without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER  ${_triple}-windres)

# Where to look for the cross libraries: Debian's MinGW zlib, then the prefix that
# scripts/build-mingw-deps.sh fills (handed over as ORVO_MINGW_PREFIX).
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
if(DEFINED ORVO_MINGW_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${ORVO_MINGW_PREFIX})
elseif(DEFINED ENV{ORVO_MINGW_PREFIX})
  list(PREPEND CMAKE_FIND_ROOT_PATH $ENV{ORVO_MINGW_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
