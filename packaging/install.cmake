# Installs the editor as a desktop application: the programs and their manual pages, the menu
# entry, the icons and the software centre's description, the "*.marlo" document type, so that
# opening a preset from a file manager starts the editor (or hands the file to the one already
# running), and the documents.
set(MARLO_PACKAGE_NAME "orvane-marlo-editor")
set(MARLO_APP_ID "org.orvane.MarloEditor")
set(MARLO_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(MARLO_GENERATED_DIR "${CMAKE_CURRENT_BINARY_DIR}/packaging")

# The documents go where Debian keeps a package's documents, beside its copyright and changelog,
# whether installed by the package or by `cmake --install`; a packager may still choose the place.
if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
    set(CMAKE_INSTALL_DOCDIR "share/doc/${MARLO_PACKAGE_NAME}")
endif()
include(GNUInstallDirs)
include("${MARLO_PACKAGING_DIR}/Releases.cmake")
marlo_read_releases("${MARLO_PACKAGING_DIR}/changelog")

install(TARGETS marlo-editor marlo-preset RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The user guide, which Help opens when the user keeps no copy of their own. The program finds it
# from its own folder, so the path is handed to it from the same place that installs it.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/user-guide/" DESTINATION "${CMAKE_INSTALL_DOCDIR}/user-guide"
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
file(RELATIVE_PATH marlo_guide_from_prefix "${CMAKE_INSTALL_PREFIX}"
     "${CMAKE_INSTALL_FULL_DOCDIR}/user-guide/index.html")
target_compile_definitions(marlo_app PRIVATE MARLO_INSTALLED_USER_GUIDE="${marlo_guide_from_prefix}")

if(WIN32)
    # No manual pages: the tool's page is made by running the tool, which is built for another system.
    include("${MARLO_PACKAGING_DIR}/windows.cmake")
    return()
endif()

# Compressed as Debian wants them: at most, and without a name or time that would make two builds
# of the same text differ.
find_program(MARLO_GZIP gzip REQUIRED)
set(MARLO_COMPRESSED "")
function(marlo_compress source)
    get_filename_component(name "${source}" NAME)
    add_custom_command(OUTPUT "${MARLO_GENERATED_DIR}/${name}.gz"
                       COMMAND "${MARLO_GZIP}" -9nkf "${MARLO_GENERATED_DIR}/${name}"
                       DEPENDS "${MARLO_GENERATED_DIR}/${name}"
                       VERBATIM)
    set(MARLO_COMPRESSED ${MARLO_COMPRESSED} "${MARLO_GENERATED_DIR}/${name}.gz" PARENT_SCOPE)
endfunction()

configure_file("${MARLO_PACKAGING_DIR}/changelog" "${MARLO_GENERATED_DIR}/changelog" COPYONLY)
configure_file("${MARLO_PACKAGING_DIR}/man/marlo-editor.1.in" "${MARLO_GENERATED_DIR}/marlo-editor.1" @ONLY)
marlo_compress("${MARLO_GENERATED_DIR}/changelog")
marlo_compress("${MARLO_GENERATED_DIR}/marlo-editor.1")

# The tool's page is made from its own --help and every command's, so it cannot drift from the
# program.
add_custom_command(OUTPUT "${MARLO_GENERATED_DIR}/marlo-preset.1.gz"
                   COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0
                           "${CMAKE_COMMAND}" "-DTOOL=$<TARGET_FILE:marlo-preset>" "-DVERSION=${PROJECT_VERSION}"
                           "-DDATE=${MARLO_RELEASE_DATE}" "-DTEMPLATE=${MARLO_PACKAGING_DIR}/man/marlo-preset.1.in"
                           "-DGZIP=${MARLO_GZIP}" "-DOUTPUT=${MARLO_GENERATED_DIR}/marlo-preset.1"
                           -P "${MARLO_PACKAGING_DIR}/ToolManualPage.cmake"
                   DEPENDS marlo-preset "${MARLO_PACKAGING_DIR}/man/marlo-preset.1.in"
                           "${MARLO_PACKAGING_DIR}/ToolManualPage.cmake"
                   VERBATIM)
list(APPEND MARLO_COMPRESSED "${MARLO_GENERATED_DIR}/marlo-preset.1.gz")
add_custom_target(marlo-documents ALL DEPENDS ${MARLO_COMPRESSED})

install(FILES "${MARLO_PACKAGING_DIR}/copyright" "${MARLO_GENERATED_DIR}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")
install(FILES "${MARLO_GENERATED_DIR}/marlo-editor.1.gz" "${MARLO_GENERATED_DIR}/marlo-preset.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

if(UNIX AND NOT APPLE)
    include("${MARLO_PACKAGING_DIR}/desktop.cmake")
endif()
