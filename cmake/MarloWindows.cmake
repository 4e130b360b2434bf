# A build for Windows: programs that need no DLL beyond Windows' own, and the libraries that the
# framework takes from the system on Linux (zlib, libpng, libjpeg), found as static libraries.
# tools/build-windows builds libpng and libjpeg for MinGW-w64; an MSVC build names its own
# through CMAKE_PREFIX_PATH.
if(MINGW)
    # The C and C++ runtime, the threads library and zlib, all linked into each program.
    add_link_options(-static)
    set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
elseif(MSVC)
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)

# What the framework's modules take on Windows, once the framework's libraries exist.
function(marlo_windows_framework_settings)
    target_link_libraries(marlo_juce_core PUBLIC ZLIB::ZLIB)
    target_link_libraries(marlo_juce_gui PUBLIC PNG::PNG JPEG::JPEG)
    # The framework's DirectWrite fonts do not build with MinGW's headers; its GDI fonts are used.
    if(MINGW)
        target_compile_definitions(marlo_juce_gui PUBLIC JUCE_USE_DIRECTWRITE=0)
    endif()
endfunction()
