# Cross build for 32-bit Windows (Debian's g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BASIC_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
