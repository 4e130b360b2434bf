# Windows x64 programs from Debian's MinGW-w64 compilers (g++-mingw-w64-x86-64-posix): the POSIX
# thread model, which the C++ standard library's threads and mutexes need.
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/MinGW-w64.cmake
# The libraries built for MinGW (libpng, libjpeg, GoogleTest) are found through CMAKE_PREFIX_PATH;
# tools/build-windows builds them and passes their prefix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MARLO_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER ${MARLO_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${MARLO_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${MARLO_MINGW_TRIPLE}-windres REQUIRED)

# Headers and libraries only from the MinGW tree and the prefixes given; programs from the host.
# The prefixes given are roots as well, so that their packages are found in them as they stand.
set(CMAKE_FIND_ROOT_PATH "/usr/${MARLO_MINGW_TRIPLE}" ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The framework is the host's: the same module sources for every system, and its juceaide, a
# program that runs here while building. Its package configuration lives outside the MinGW tree.
if(NOT JUCE_DIR)
    file(GLOB marlo_host_juce "/usr/lib/*/cmake/JUCE-*/JUCEConfig.cmake" "/usr/lib/cmake/JUCE-*/JUCEConfig.cmake")
    if(marlo_host_juce)
        list(GET marlo_host_juce 0 marlo_host_juce)
        get_filename_component(JUCE_DIR "${marlo_host_juce}" DIRECTORY)
        set(JUCE_DIR "${JUCE_DIR}" CACHE PATH "The host's JUCE package configuration")
    endif()
endif()
