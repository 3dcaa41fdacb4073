# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (posix thread model, so std::thread
# and std::mutex work). Everything links statically, so the .exe files run under Wine without DLLs
# copied beside them. Tests and build-time tools run through Wine in a private prefix (cmake/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# KESTRIX_WINDOWS_DEPS: the folder where scripts/setup-windows put SQLite and GoogleTest built with
# these compilers, and the header-only libraries.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KESTRIX_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRIX_WINDOWS_DEPS)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run;${CMAKE_BINARY_DIR}/wine-prefix")
