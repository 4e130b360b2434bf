# The architecture, bottom to top; each layer is a library that links only the layers and the
# framework's modules it uses:
#   platform   every call into the system (hand-over, frames, signals, files, locks)      juce_core
#              (platform/midi and platform/gui: the parts that need the MIDI or GUI modules)
#   core       preset layout, messages, schema, codec, model, shown values, preset files  + juce_audio_basics
#   library    a folder of presets: listing, search, import and export        (core + platform)
#   midi       the MIDI manager, ports, the simulated Marlo and the preset transfer       + juce_events, juce_audio_devices
#   editor     the component tree, bindings, looks and artwork                            + the GUI modules
#   midi_ui    Device Setup's widgets
#   document   the preset controller, which ties a document's widgets to MIDI
#   app        the application, its documents, windows and menus
#   cli        the "marlo-preset" program, above midi only: it has no GUI modules at all
# Each layer's headers are reachable only through an include folder of its own in the build tree,
# so a file that includes a header of a layer above its own does not compile.

if(WIN32)
    include("${CMAKE_CURRENT_LIST_DIR}/MarloWindows.cmake")
endif()

get_target_property(MARLO_WARNING_FLAGS juce::juce_recommended_warning_flags INTERFACE_COMPILE_OPTIONS)
set(MARLO_INCLUDE_ROOT "${CMAKE_CURRENT_BINARY_DIR}/include")

# A static library holding the given modules' sources, compiled once here. The framework's
# module targets would bring the sources of every module they depend on into each library that
# links them; only their settings and system libraries are taken, and the lower groups are
# linked instead.
function(marlo_framework_library name)
    cmake_parse_arguments(arg "" "" "MODULES;BELOW" ${ARGN})
    add_library(${name} STATIC)
    foreach(module IN LISTS arg_MODULES)
        get_target_property(sources ${module} INTERFACE_SOURCES)
        target_sources(${name} PRIVATE ${sources})
        foreach(property INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS COMPILE_FEATURES)
            get_target_property(values ${module} INTERFACE_${property})
            if(values)
                set_property(TARGET ${name} APPEND PROPERTY ${property} ${values})
                set_property(TARGET ${name} APPEND PROPERTY INTERFACE_${property} ${values})
            endif()
        endforeach()
        get_target_property(libraries ${module} INTERFACE_LINK_LIBRARIES)
        foreach(library IN LISTS libraries)
            if(library AND NOT library MATCHES "^(juce::)?juce_(core|events|data_structures|graphics|gui_basics|gui_extra|audio_basics|audio_devices)$")
                target_link_libraries(${name} PUBLIC ${library})
            endif()
        endforeach()
    endforeach()
    target_link_libraries(${name} PUBLIC ${arg_BELOW})
endfunction()

# Of the two audio modules the editor needs only the MIDI ports and messages. Compiled with a
# section per function, the rest of them (audio devices, synthesisers, sample formats) is left out
# of every program at link time instead of being loaded with it.
set(MARLO_GC_SECTIONS OFF)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(MARLO_GC_SECTIONS ON)
    set_source_files_properties(
        "${JUCE_MODULES_DIR}/juce_audio_basics/juce_audio_basics.cpp"
        "${JUCE_MODULES_DIR}/juce_audio_devices/juce_audio_devices.cpp"
        PROPERTIES COMPILE_OPTIONS "-ffunction-sections;-fdata-sections")
endif()

marlo_framework_library(marlo_juce_core MODULES juce_core)
# What every part of the program is compiled with, the framework's modules included.
target_compile_definitions(marlo_juce_core PUBLIC
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_APPLICATION_NAME_STRING="Orvane Zell Series Editor"
    JUCE_APPLICATION_VERSION_STRING="${PROJECT_VERSION}")
target_link_libraries(marlo_juce_core PUBLIC juce::juce_recommended_config_flags)
marlo_framework_library(marlo_juce_audio MODULES juce_audio_basics BELOW marlo_juce_core)
marlo_framework_library(marlo_juce_midi MODULES juce_events juce_audio_devices BELOW marlo_juce_audio)
marlo_framework_library(marlo_juce_gui
    MODULES juce_data_structures juce_graphics juce_gui_basics juce_gui_extra BELOW marlo_juce_midi)
if(WIN32)
    marlo_windows_framework_settings()
else()
    target_link_libraries(marlo_juce_gui PUBLIC juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()
if(MARLO_GC_SECTIONS)
    target_link_options(marlo_juce_audio INTERFACE "-Wl,--gc-sections")
endif()

# A layer: its sources with the project's warnings, and an include folder of links to its headers,
# laid out as in the source tree ("preset/PresetModel.h").
function(marlo_layer name)
    cmake_parse_arguments(arg "" "" "HEADERS;SOURCES" ${ARGN})
    add_library(${name} STATIC ${arg_SOURCES})
    set_source_files_properties(${arg_SOURCES} PROPERTIES COMPILE_OPTIONS "${MARLO_WARNING_FLAGS}")
    set(root "${MARLO_INCLUDE_ROOT}/${name}")
    file(REMOVE_RECURSE "${root}")
    foreach(header IN LISTS arg_HEADERS)
        file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${header}")
        get_filename_component(folder "${root}/${relative}" DIRECTORY)
        file(MAKE_DIRECTORY "${folder}")
        file(CREATE_LINK "${header}" "${root}/${relative}" SYMBOLIC)
    endforeach()
    target_include_directories(${name} PUBLIC "${root}")
endfunction()

# The files of a folder, less those that belong to a layer above it.
function(marlo_files variable folder)
    cmake_parse_arguments(arg "" "" "EXCEPT" ${ARGN})
    file(GLOB_RECURSE files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.h"
         "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
    foreach(name IN LISTS arg_EXCEPT)
        list(FILTER files EXCLUDE REGEX "/${folder}/${name}\\.(h|cpp)$")
    endforeach()
    set(${variable} ${files} PARENT_SCOPE)
endfunction()

function(marlo_only variable folder)
    set(files "")
    foreach(name IN LISTS ARGN)
        list(APPEND files "${PROJECT_SOURCE_DIR}/${folder}/${name}.h")
        if(EXISTS "${PROJECT_SOURCE_DIR}/${folder}/${name}.cpp")
            list(APPEND files "${PROJECT_SOURCE_DIR}/${folder}/${name}.cpp")
        endif()
    endforeach()
    set(${variable} ${files} PARENT_SCOPE)
endfunction()

function(marlo_add_layer name)
    cmake_parse_arguments(arg "" "" "FILES" ${ARGN})
    set(headers ${arg_FILES})
    list(FILTER headers INCLUDE REGEX "\\.h$")
    set(sources ${arg_FILES})
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    marlo_layer(${name} HEADERS ${headers} SOURCES ${sources})
endfunction()

# The pictures, compiled into a library of their own; the factory preset into another, which the
# core links without the pictures.
file(GLOB MARLO_ARTWORK CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/*.png")
juce_add_binary_data(marlo_artwork
    HEADER_NAME MarloArtwork.h
    NAMESPACE MarloArt
    SOURCES ${MARLO_ARTWORK})
set_target_properties(marlo_artwork PROPERTIES POSITION_INDEPENDENT_CODE ON)
juce_add_binary_data(marlo_preset_data
    HEADER_NAME MarloPresetData.h
    NAMESPACE MarloPresetData
    SOURCES "${PROJECT_SOURCE_DIR}/resources/factoryPresetDump.syx")
set_target_properties(marlo_preset_data PROPERTIES POSITION_INDEPENDENT_CODE ON)

# Every picture's size and kind, read from its PNG header now, so that laying out a window needs
# no picture data: reading the headers at run time would bring nearly all of it into memory. A
# changed picture configures the build again, so the table and the embedded pictures stay in step.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MARLO_ARTWORK})
set(MARLO_ARTWORK_SIZES "")
foreach(picture ${MARLO_ARTWORK})
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

set(MARLO_DEVICE_SETUP DeviceManagerComponent DeviceManagerWindow DeviceListModel DeviceSelection DeviceSettings
    MonitorComponent)

# Every call into the system is in platform/. Each of its parts is a library of its own: the
# headers say what the programs use, the sources beside them are the same on every system, and a
# folder per system (linux/) holds the rest; a build for another system adds a folder of its own.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(MARLO_SYSTEM linux)
elseif(WIN32)
    set(MARLO_SYSTEM windows)
else()
    message(FATAL_ERROR "platform/ has no code for ${CMAKE_SYSTEM_NAME}: each of its parts needs a folder for it beside linux/")
endif()

function(marlo_platform_files variable folder)
    file(GLOB files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${folder}/*.h" "${PROJECT_SOURCE_DIR}/${folder}/*.cpp"
         "${PROJECT_SOURCE_DIR}/${folder}/${MARLO_SYSTEM}/*.h" "${PROJECT_SOURCE_DIR}/${folder}/${MARLO_SYSTEM}/*.cpp")
    set(${variable} ${files} PARENT_SCOPE)
endfunction()

marlo_platform_files(files platform)
marlo_add_layer(marlo_platform FILES ${files})
target_link_libraries(marlo_platform PUBLIC marlo_juce_core)

# The MIDI service's own library (ALSA) comes with the framework's MIDI module.
marlo_platform_files(files platform/midi)
marlo_add_layer(marlo_platform_midi FILES ${files})
target_link_libraries(marlo_platform_midi PUBLIC marlo_juce_core PRIVATE marlo_juce_midi)

# What needs the GUI modules: the fonts' folders, the window manager's size hints, two workarounds
# for the framework's windows and the desktop's own menu bar. On Linux it asks the font
# configuration library where the system's sans-serif font lives, and talks to the X server.
marlo_platform_files(files platform/gui)
marlo_add_layer(marlo_platform_gui FILES ${files})
target_link_libraries(marlo_platform_gui PUBLIC marlo_juce_gui)
if(MARLO_SYSTEM STREQUAL "linux")
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(MARLO_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
    find_package(X11 REQUIRED)
    target_link_libraries(marlo_platform_gui PRIVATE PkgConfig::MARLO_FONTCONFIG X11::X11)
endif()

marlo_files(files preset EXCEPT PresetController)
# The controller's file and transfer flows go with it into the document layer.
list(FILTER files EXCLUDE REGEX "/preset/Preset(File|Transfer)Flow\\.(h|cpp)$")
marlo_add_layer(marlo_core FILES ${files})
target_link_libraries(marlo_core PUBLIC marlo_juce_audio PRIVATE marlo_platform marlo_preset_data)

# A folder of presets, read only when asked for; no GUI, no MIDI.
marlo_files(files library)
marlo_add_layer(marlo_library FILES ${files})
target_link_libraries(marlo_library PUBLIC marlo_core PRIVATE marlo_platform)

marlo_files(files midi EXCEPT ${MARLO_DEVICE_SETUP})
marlo_add_layer(marlo_midi FILES ${files})
target_link_libraries(marlo_midi PUBLIC marlo_core marlo_juce_midi PRIVATE marlo_platform_midi)

marlo_files(files editor)
marlo_add_layer(marlo_editor FILES ${files})
target_include_directories(marlo_editor PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/generated")
target_link_libraries(marlo_editor PUBLIC marlo_core marlo_juce_gui PRIVATE marlo_artwork)

marlo_only(files midi ${MARLO_DEVICE_SETUP})
marlo_add_layer(marlo_midi_ui FILES ${files})
target_link_libraries(marlo_midi_ui PUBLIC marlo_midi marlo_editor PRIVATE marlo_artwork marlo_platform)

marlo_only(files preset PresetController PresetFileFlow PresetTransferFlow)
marlo_add_layer(marlo_document FILES ${files})
target_link_libraries(marlo_document PUBLIC marlo_midi marlo_editor)

marlo_files(files app EXCEPT Main)
marlo_add_layer(marlo_app FILES ${files})
target_link_libraries(marlo_app PUBLIC marlo_document marlo_midi_ui marlo_library marlo_platform marlo_platform_gui
                      PRIVATE marlo_artwork)

marlo_files(files cli EXCEPT Main)
marlo_add_layer(marlo_cli FILES ${files})
target_link_libraries(marlo_cli PUBLIC marlo_midi marlo_library PRIVATE marlo_platform)

add_executable(marlo-editor "${PROJECT_SOURCE_DIR}/app/Main.cpp")
# A window program on Windows: no console opens beside it.
set_target_properties(marlo-editor PROPERTIES WIN32_EXECUTABLE ON)
target_link_libraries(marlo-editor PRIVATE marlo_app juce::juce_recommended_warning_flags)

# The user guide beside the built program as well: Help finds it there when the editor runs from
# its build folder, as tools/run-editor starts it, before it is installed.
file(GLOB MARLO_USER_GUIDE CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/docs/user-guide/*")
set(marlo_built_guide "")
foreach(page IN LISTS MARLO_USER_GUIDE)
    get_filename_component(name "${page}" NAME)
    set(copy "${CMAKE_CURRENT_BINARY_DIR}/user-guide/${name}")
    add_custom_command(OUTPUT "${copy}" COMMAND "${CMAKE_COMMAND}" -E copy "${page}" "${copy}"
                       DEPENDS "${page}" VERBATIM)
    list(APPEND marlo_built_guide "${copy}")
endforeach()
add_custom_target(marlo_user_guide DEPENDS ${marlo_built_guide})
add_dependencies(marlo-editor marlo_user_guide)

# The command-line tool: the core and the MIDI layer, no window and no GUI module.
add_executable(marlo-preset "${PROJECT_SOURCE_DIR}/cli/Main.cpp")
target_link_libraries(marlo-preset PRIVATE marlo_cli marlo_platform juce::juce_recommended_warning_flags)

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

if(MARLO_BUILD_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
    # One program per layer, linking that layer alone, so each suite builds and runs on its own;
    # each suite sits in the folder of the code it tests. Where a folder's code builds into two
    # layers, the upper layer's suites sit in a subfolder: the controller's (with the editor's
    # suites that run on a real controller), Device Setup's and the monitor's, and the platform's
    # GUI part. The platform's suites take the framework's message loop as well, which the
    # hand-over delivers on.
    # Each entry: the program's name, its folders under tests/, the libraries it links.
    set(marlo_test_programs
        "platform|platform|marlo_platform marlo_juce_midi"
        "platform_gui|platform/gui|marlo_platform_gui"
        "preset|preset|marlo_core marlo_preset_data"
        "library|library|marlo_library marlo_platform"
        "controller|preset/controller editor/controller|marlo_document"
        "midi|midi|marlo_midi"
        "midi_ui|midi/ui|marlo_midi_ui"
        "editor|editor|marlo_editor marlo_artwork"
        "app|app|marlo_app marlo_artwork"
        "cli|cli|marlo_cli")
    # Every test program, built by one target (the Windows build's, which runs them under Wine).
    add_custom_target(marlo_test_programs)
    foreach(program IN LISTS marlo_test_programs)
        string(REPLACE "|" ";" program "${program}")
        list(GET program 0 name)
        list(GET program 1 folders)
        list(GET program 2 layers)
        separate_arguments(folders)
        separate_arguments(layers)
        set(program_tests "")
        foreach(folder IN LISTS folders)
            file(GLOB folder_tests CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp")
            list(APPEND program_tests ${folder_tests})
        endforeach()
        add_executable(marlo_${name}_tests ${program_tests})
        add_dependencies(marlo_test_programs marlo_${name}_tests)
        target_link_libraries(marlo_${name}_tests PRIVATE ${layers} marlo_test_support GTest::gtest GTest::gmock
                              juce::juce_recommended_warning_flags)
        add_test(NAME ${name} COMMAND marlo_${name}_tests)
        set_tests_properties(${name} PROPERTIES TIMEOUT 600)
        # The core has no message loop, and its suite runs without a display; every other program
        # brings the framework's message loop up.
        if(name MATCHES "^(preset|library)$")
            target_link_libraries(marlo_${name}_tests PRIVATE GTest::gtest_main)
            set_tests_properties(${name} PROPERTIES ENVIRONMENT_MODIFICATION "DISPLAY=unset:")
        else()
            target_sources(marlo_${name}_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp")
        endif()
    endforeach()
    # The editor's suites on a real controller share the editor suite's helpers.
    target_sources(marlo_controller_tests PRIVATE "${PROJECT_SOURCE_DIR}/tests/editor/EditorTestSupport.cpp")
    # The desktop's icons are compared with the scalable one where the artwork generator put them.
    target_compile_definitions(marlo_app_tests PRIVATE MARLO_ICONS_DIR="${PROJECT_SOURCE_DIR}/packaging/icons")
    # An include that reaches up a layer does not compile: each pair is a layer and a header of a
    # layer above it, built on demand and expected to stop at that include.
    set(marlo_reach_up
        "marlo_platform|preset/PresetFile.h"
        "marlo_core|midi/MidiManager.h"
        "marlo_core|editor/ParameterValue.h"
        "marlo_library|midi/MidiManager.h"
        "marlo_midi|editor/CustomLook.h"
        "marlo_editor|preset/PresetController.h"
        "marlo_editor|midi/DeviceManagerComponent.h"
        "marlo_cli|preset/PresetController.h"
        "marlo_document|app/EditorDocument.h"
        "marlo_platform|platform/gui/FixedSizeHints.h"
        "marlo_cli|platform/gui/FontFolders.h")
    foreach(pair IN LISTS marlo_reach_up)
        string(REPLACE "|" ";" pair "${pair}")
        list(GET pair 0 layer)
        list(GET pair 1 header)
        string(MAKE_C_IDENTIFIER "${layer}_${header}" check)
        add_library(reach_up_${check} OBJECT EXCLUDE_FROM_ALL "${PROJECT_SOURCE_DIR}/tests/layers/ReachUp.cpp")
        target_link_libraries(reach_up_${check} PRIVATE ${layer})
        target_compile_definitions(reach_up_${check} PRIVATE "MARLO_HEADER_ABOVE=\"${header}\"")
        add_test(NAME layers_${check}
                 COMMAND "${CMAKE_COMMAND}" --build "${CMAKE_BINARY_DIR}" --target reach_up_${check})
        set_tests_properties(layers_${check} PROPERTIES
            PASS_REGULAR_EXPRESSION "${header}: No such file or directory")
    endforeach()
    # The repository's own style, so it never drifts.
    add_test(NAME format COMMAND bash "${PROJECT_SOURCE_DIR}/tools/check-format")
    # Every call into the system stays in platform/.
    add_test(NAME layers_system_calls COMMAND bash "${PROJECT_SOURCE_DIR}/tests/layers/system-calls.sh")
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
        target_link_libraries(marlo_benchmarks PRIVATE marlo_app marlo_test_support benchmark::benchmark
                                  juce::juce_recommended_warning_flags)
    endif()
    add_subdirectory("${PROJECT_SOURCE_DIR}/benchmarks/startup" benchmarks/startup)
    add_subdirectory("${PROJECT_SOURCE_DIR}/benchmarks/flood" benchmarks/flood)
    if(benchmark_FOUND)
        add_subdirectory("${PROJECT_SOURCE_DIR}/benchmarks/library" benchmarks/library)
    endif()
endif()

if(MARLO_FUZZ)
    file(GLOB fuzz_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/fuzz/*.cpp")
    foreach(source ${fuzz_sources})
        get_filename_component(name "${source}" NAME_WE)
        add_executable(${name} "${source}")
        # The codec's and the readers' fuzzers need the core alone; the input fuzzer drives a
        # document's controller.
        if(name MATCHES "^(PresetCodec|SysExReader|RecoveryEntry)Fuzzer$")
            target_link_libraries(${name} PRIVATE marlo_core juce::juce_recommended_warning_flags)
        else()
            target_link_libraries(${name} PRIVATE marlo_document marlo_test_support
                                  juce::juce_recommended_warning_flags)
        endif()
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endforeach()
endif()
