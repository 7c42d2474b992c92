# Windows with MinGW-w64. QVN_MINGW_ARCH: i686 (the product's target) or
# x86_64 (the same sources, for running the tests under a 64-bit-only Wine).
# QVN_MINGW_THREADS: the product uses the win32 thread model, because the
# posix one brings winpthreads, whose imports (GetTickCount64,
# AddVectoredExceptionHandler) no Windows of the 95 or NT 4 era has; GoogleTest
# needs the posix model, so test builds use it.
if(NOT QVN_MINGW_ARCH)
  set(QVN_MINGW_ARCH i686)
endif()
if(NOT QVN_MINGW_THREADS)
  set(QVN_MINGW_THREADS posix)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QVN_MINGW_ARCH})
set(CMAKE_C_COMPILER ${QVN_MINGW_ARCH}-w64-mingw32-gcc-${QVN_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${QVN_MINGW_ARCH}-w64-mingw32-g++-${QVN_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${QVN_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QVN_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
