# Installs the editor as a desktop application: the program, its menu entry and icon, and the
# "*.marlo" document type, so that opening a preset from a file manager starts the editor
# (or hands the file to the one already running).
include(GNUInstallDirs)

install(TARGETS marlo-editor marlo-preset RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The user guide, which Help opens when the user keeps no copy of their own. The program finds it
# from its own folder, so the path is handed to it from the same place that installs it.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/docs/user-guide/" DESTINATION "${CMAKE_INSTALL_DOCDIR}/user-guide"
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
file(RELATIVE_PATH marlo_guide_from_prefix "${CMAKE_INSTALL_PREFIX}"
     "${CMAKE_INSTALL_FULL_DOCDIR}/user-guide/index.html")
target_compile_definitions(marlo_app PRIVATE MARLO_INSTALLED_USER_GUIDE="${marlo_guide_from_prefix}")

if(UNIX AND NOT APPLE)
    set(MARLO_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}")
    install(FILES "${MARLO_PACKAGING_DIR}/orvane-marlo-editor.desktop"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES "${MARLO_PACKAGING_DIR}/orvane-marlo-preset.xml"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
    install(FILES "${PROJECT_SOURCE_DIR}/resources/app_icon.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps"
            RENAME orvane-marlo-editor.png)

    # The desktop's caches are refreshed for a direct install; a package (DESTDIR set) leaves
    # that to its own install scripts.
    install(CODE "set(marlo_data_dir \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")")
    install(CODE [[
        if("$ENV{DESTDIR}" STREQUAL "")
            find_program(marlo_update_mime update-mime-database)
            find_program(marlo_update_desktop update-desktop-database)
            find_program(marlo_update_icons gtk-update-icon-cache)
            if(marlo_update_mime)
                execute_process(COMMAND "${marlo_update_mime}" "${marlo_data_dir}/mime")
            endif()
            if(marlo_update_desktop)
                execute_process(COMMAND "${marlo_update_desktop}" -q "${marlo_data_dir}/applications")
            endif()
            if(marlo_update_icons AND EXISTS "${marlo_data_dir}/icons/hicolor/index.theme")
                execute_process(COMMAND "${marlo_update_icons}" -q -t "${marlo_data_dir}/icons/hicolor")
            endif()
        endif()
    ]])
endif()
