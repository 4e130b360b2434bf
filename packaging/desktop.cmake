# What a Linux desktop and its software centres read: the menu entry, the "*.marlo" type, the icons
# and the AppStream description, all named by the application's reverse-DNS id.

# Screenshots for software centres, shown by address only: a packager who publishes some sets
# their https addresses here, the first being the main one.
set(MARLO_APPSTREAM_SCREENSHOTS "" CACHE STRING "https addresses of screenshots for the AppStream description")
set(marlo_screenshots "")
set(marlo_screenshot_type "default")
foreach(address IN LISTS MARLO_APPSTREAM_SCREENSHOTS)
    if(NOT address MATCHES "^https://[^ <>&\"]+$")
        message(FATAL_ERROR "MARLO_APPSTREAM_SCREENSHOTS: \"${address}\" is not an https address")
    endif()
    string(APPEND marlo_screenshots "    <screenshot type=\"${marlo_screenshot_type}\">\n"
                                    "      <image>${address}</image>\n    </screenshot>\n")
    set(marlo_screenshot_type "extra")
endforeach()
if(marlo_screenshots)
    set(MARLO_APPSTREAM_SCREENSHOTS_XML "  <screenshots>\n${marlo_screenshots}  </screenshots>\n")
else()
    set(MARLO_APPSTREAM_SCREENSHOTS_XML "")
endif()
configure_file("${MARLO_PACKAGING_DIR}/${MARLO_APP_ID}.metainfo.xml.in"
               "${MARLO_GENERATED_DIR}/${MARLO_APP_ID}.metainfo.xml" @ONLY)

install(FILES "${MARLO_PACKAGING_DIR}/${MARLO_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${MARLO_GENERATED_DIR}/${MARLO_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${MARLO_PACKAGING_DIR}/orvane-marlo-preset.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")

# The icon at every size the artwork generator draws; the largest is the one the editor embeds.
set(marlo_icons "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
foreach(size 48 64 128)
    install(FILES "${MARLO_PACKAGING_DIR}/icons/app_icon_${size}.png"
            DESTINATION "${marlo_icons}/${size}x${size}/apps" RENAME "${MARLO_APP_ID}.png")
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/resources/app_icon.png" DESTINATION "${marlo_icons}/256x256/apps"
        RENAME "${MARLO_APP_ID}.png")
install(FILES "${MARLO_PACKAGING_DIR}/icons/app_icon.svg" DESTINATION "${marlo_icons}/scalable/apps"
        RENAME "${MARLO_APP_ID}.svg")

# The desktop's caches are refreshed for a direct install; a package (DESTDIR set) leaves that to
# its own install scripts.
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
