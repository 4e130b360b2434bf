# Windows: the editor's icon in its program, for Explorer, the taskbar and the ".marlo" type,
# made by the framework's juceaide from the same pictures the Linux desktop installs.
get_target_property(marlo_juceaide juce::juceaide IMPORTED_LOCATION)
set(MARLO_WINDOWS_ICON "${MARLO_GENERATED_DIR}/marlo-editor.ico")
file(MAKE_DIRECTORY "${MARLO_GENERATED_DIR}")
execute_process(COMMAND "${marlo_juceaide}" winicon "${MARLO_WINDOWS_ICON}" "${MARLO_PACKAGING_DIR}/icons/app_icon_64.png"
                        "${PROJECT_SOURCE_DIR}/resources/app_icon.png"
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${MARLO_PACKAGING_DIR}/icons/app_icon_64.png"
             "${PROJECT_SOURCE_DIR}/resources/app_icon.png")
file(WRITE "${MARLO_GENERATED_DIR}/marlo-editor.rc" "1 ICON \"${MARLO_WINDOWS_ICON}\"\n")
target_sources(marlo-editor PRIVATE "${MARLO_GENERATED_DIR}/marlo-editor.rc")

install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" "${MARLO_PACKAGING_DIR}/copyright" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
