# A Debian package of everything `cmake --install` puts in place: both programs and their manual
# pages, the desktop entry, icons, AppStream description, the "*.marlo" type and the documents.
# Built from a Release tree with `cpack -G DEB`.
set(MARLO_PACKAGE_MAINTAINER "Marlo Editor developers <marlo-editor@example.org>"
    CACHE STRING "The package's Maintainer: the name and address of whoever distributes it")

set(CPACK_PACKAGE_NAME "${MARLO_PACKAGE_NAME}")
set(CPACK_PACKAGE_VENDOR "Marlo Editor developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Preset editor for the Orvane Marlo USB/MIDI keyboard controller")
# Debian shows the description as it stands, so its lines stay within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Edits every parameter of the Marlo's 93-byte preset, saves it as a \"*.marlo\"
file and moves it to and from the controller over MIDI system exclusive.
The package also holds marlo-preset, which shows, checks, compares, edits,
sends and gets presets from the command line without a display.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MARLO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "sound")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the programs link come from dpkg-shlibdeps (package dpkg-dev). JUCE opens the X11
# libraries at run time instead of linking them, and text needs a font: those are named here. The
# font configuration library is linked, and found like the others.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libx11-6, libxext6, libxrandr2, libxinerama1, libxcursor1, libxrender1, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
# shared-mime-info, desktop-file-utils and the icon theme refresh their caches through dpkg
# triggers, so the package needs no scripts of its own.

if(WIN32)
    include("${CMAKE_CURRENT_LIST_DIR}/windows-package.cmake")
endif()

# The description holds quotes; written to the CPack configuration as they stand.
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
