# The pictures, compiled into a library of their own.
file(GLOB MARLO_ARTWORK CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/*.png" "${PROJECT_SOURCE_DIR}/resources/*.syx")
juce_add_binary_data(marlo_artwork
    HEADER_NAME MarloArtwork.h
    NAMESPACE MarloArt
    SOURCES ${MARLO_ARTWORK})
set_target_properties(marlo_artwork PROPERTIES POSITION_INDEPENDENT_CODE ON)

# Every picture's size and kind, read from its PNG header now, so that laying out a window needs
# no picture data: reading the headers at run time would bring nearly all of it into memory. A
# changed picture configures the build again, so the table and the embedded pictures stay in step.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MARLO_ARTWORK})
set(MARLO_ARTWORK_SIZES "")
foreach(picture ${MARLO_ARTWORK})
    if(NOT picture MATCHES "\\.png$")
        continue()
    endif()
    get_filename_component(stem "${picture}" NAME_WE)
    file(READ "${picture}" header OFFSET 16 LIMIT 10 HEX)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    string(SUBSTRING "${header}" 18 2 colourType)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    # Colour type 2 is red, green and blue without transparency.
    if(colourType STREQUAL "02")
        set(opaque true)
    else()
        set(opaque false)
    endif()
    string(APPEND MARLO_ARTWORK_SIZES "    {\"${stem}\", ${width}, ${height}, ${opaque}},\n")
endforeach()
configure_file("${PROJECT_SOURCE_DIR}/cmake/MarloArtworkSizes.h.in"
               "${CMAKE_CURRENT_BINARY_DIR}/generated/MarloArtworkSizes.h" @ONLY)

# Everything but main: the application, the tests, the benchmarks and the fuzzers link this.
file(GLOB_RECURSE MARLO_SOURCES CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/preset/*.cpp"
    "${PROJECT_SOURCE_DIR}/midi/*.cpp"
    "${PROJECT_SOURCE_DIR}/editor/*.cpp"
    "${PROJECT_SOURCE_DIR}/app/*.cpp"
    "${PROJECT_SOURCE_DIR}/platform/*.cpp")
list(FILTER MARLO_SOURCES EXCLUDE REGEX ".*/app/Main\\.cpp$")

add_library(marlo_core STATIC ${MARLO_SOURCES})
# The editor asks the font configuration library where the system's sans-serif font lives, so that
# the framework's font list opens only that folder (platform/FontFolders).
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(MARLO_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
    target_link_libraries(marlo_core PRIVATE PkgConfig::MARLO_FONTCONFIG)
endif()
# The framework's recommended warnings on the project's own code. The framework's module sources,
# compiled into the same library, keep the framework's own settings.
get_target_property(MARLO_WARNING_FLAGS juce::juce_recommended_warning_flags INTERFACE_COMPILE_OPTIONS)
set_source_files_properties(${MARLO_SOURCES} PROPERTIES COMPILE_OPTIONS "${MARLO_WARNING_FLAGS}")
target_include_directories(marlo_core PUBLIC "${PROJECT_SOURCE_DIR}")
target_include_directories(marlo_core PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/generated")
target_compile_definitions(marlo_core PUBLIC
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_APPLICATION_NAME_STRING="Orvane Zell Series Editor"
    JUCE_APPLICATION_VERSION_STRING="${PROJECT_VERSION}")
# The modules are compiled once, here; their include paths and definitions are passed on
# so that every consumer sees the same configuration.
target_link_libraries(marlo_core
    PRIVATE
        juce::juce_core
        juce::juce_events
        juce::juce_data_structures
        juce::juce_graphics
        juce::juce_gui_basics
        juce::juce_gui_extra
        juce::juce_audio_basics
        juce::juce_audio_devices
    PUBLIC
        juce::juce_recommended_config_flags
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS
        marlo_artwork)
# Of the two audio modules the editor needs only the MIDI ports and messages. Compiled with a
# section per function, the rest of them (audio devices, synthesisers, sample formats) is left out
# of every program at link time instead of being loaded with it.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set_source_files_properties(
        "${JUCE_MODULES_DIR}/juce_audio_basics/juce_audio_basics.cpp"
        "${JUCE_MODULES_DIR}/juce_audio_devices/juce_audio_devices.cpp"
        TARGET_DIRECTORY marlo_core
        PROPERTIES COMPILE_OPTIONS "-ffunction-sections;-fdata-sections")
    target_link_options(marlo_core INTERFACE "-Wl,--gc-sections")
endif()
target_include_directories(marlo_core INTERFACE $<TARGET_PROPERTY:marlo_core,INCLUDE_DIRECTORIES>)
target_compile_definitions(marlo_core INTERFACE $<TARGET_PROPERTY:marlo_core,COMPILE_DEFINITIONS>)

add_executable(marlo-editor "${PROJECT_SOURCE_DIR}/app/Main.cpp")
target_link_libraries(marlo-editor PRIVATE marlo_core juce::juce_recommended_warning_flags)

# The command-line tool: the same library, no window.
add_executable(marlo-preset "${PROJECT_SOURCE_DIR}/tools/preset-cli/Main.cpp")
target_link_libraries(marlo-preset PRIVATE marlo_core juce::juce_recommended_warning_flags)

if(EXISTS "${PROJECT_SOURCE_DIR}/tools/artwork/CMakeLists.txt")
    add_subdirectory("${PROJECT_SOURCE_DIR}/tools/artwork" tools/artwork)
endif()

if(EXISTS "${PROJECT_SOURCE_DIR}/packaging/install.cmake")
    include("${PROJECT_SOURCE_DIR}/packaging/install.cmake")
else()
    install(TARGETS marlo-editor RUNTIME DESTINATION bin)
endif()
if(EXISTS "${PROJECT_SOURCE_DIR}/packaging/package.cmake")
    include("${PROJECT_SOURCE_DIR}/packaging/package.cmake")
endif()

# What tests, benchmarks and fuzzers share: fakes and helpers under tests/, included as "support/...".
add_library(marlo_test_support INTERFACE)
target_include_directories(marlo_test_support INTERFACE "${PROJECT_SOURCE_DIR}/tests")
target_link_libraries(marlo_test_support INTERFACE marlo_core)

if(MARLO_BUILD_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
    # One executable per folder, so each subsystem's suite builds and runs on its own.
    foreach(area preset midi editor app)
        file(GLOB_RECURSE area_tests CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${area}/*.cpp")
        if(area_tests)
            add_executable(marlo_${area}_tests ${area_tests} ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
            target_link_libraries(marlo_${area}_tests PRIVATE marlo_test_support GTest::gtest GTest::gmock
                                  juce::juce_recommended_warning_flags)
            add_test(NAME ${area} COMMAND marlo_${area}_tests)
            set_tests_properties(${area} PROPERTIES TIMEOUT 600)
        endif()
    endforeach()
    # The desktop's icons are compared with the scalable one where the artwork generator put them.
    target_compile_definitions(marlo_app_tests PRIVATE MARLO_ICONS_DIR="${PROJECT_SOURCE_DIR}/packaging/icons")
    # The repository's own style, so it never drifts.
    add_test(NAME format COMMAND bash "${PROJECT_SOURCE_DIR}/tools/check-format")
    # End-to-end checks that drive the real binary from outside.
    file(GLOB e2e_scripts CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/e2e/*.sh")
    foreach(script ${e2e_scripts})
        get_filename_component(name "${script}" NAME_WE)
        add_test(NAME e2e_${name} COMMAND bash "${script}" $<TARGET_FILE:marlo-editor>)
        set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 300)
    endforeach()
endif()

if(MARLO_BUILD_BENCHMARKS AND NOT MARLO_FUZZ)
    find_package(benchmark QUIET)
    file(GLOB bench_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/benchmarks/*.cpp")
    if(benchmark_FOUND AND bench_sources)
        add_executable(marlo_benchmarks ${bench_sources})
        target_link_libraries(marlo_benchmarks PRIVATE marlo_test_support benchmark::benchmark
                                  juce::juce_recommended_warning_flags)
    endif()
    add_subdirectory("${PROJECT_SOURCE_DIR}/benchmarks/startup" benchmarks/startup)
endif()

if(MARLO_FUZZ)
    file(GLOB fuzz_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/fuzz/*.cpp")
    foreach(source ${fuzz_sources})
        get_filename_component(name "${source}" NAME_WE)
        add_executable(${name} "${source}")
        target_link_libraries(${name} PRIVATE marlo_test_support juce::juce_recommended_warning_flags)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endforeach()
endif()
