# Per-user installation. The program writes its databases and tavolin.ini
# beside its executable, so it gets a folder of its own that the user can
# write: <prefix>/share/tavolin, by default ~/.local/share/tavolin. The menu
# entry and the icon go where the desktop looks for the user's own.
# A build folder configured before this rule existed holds CMake's own
# default; it is replaced once as well.
if(NOT TAVOLIN_INSTALL_PREFIX_CHOSEN AND DEFINED ENV{HOME} AND
   (CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Where cmake --install puts Tavolin" FORCE)
endif()
set(TAVOLIN_INSTALL_PREFIX_CHOSEN ON CACHE INTERNAL "The install prefix has been given its default")

set(TAVOLIN_PROGRAM_DIR share/tavolin)
install(TARGETS tavolin RUNTIME DESTINATION ${TAVOLIN_PROGRAM_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/app/tavolin.svg DESTINATION share/icons/hicolor/scalable/apps)
# The default databases only where there are none yet (an update keeps the
# player's names), and the menu entry with the program's absolute path.
install(CODE "
    set(tavolin_program_dir \"${TAVOLIN_PROGRAM_DIR}\")
    set(tavolin_data_dir \"${PROJECT_SOURCE_DIR}/data\")
    set(tavolin_desktop_template \"${PROJECT_SOURCE_DIR}/src/app/tavolin.desktop.in\")
    set(tavolin_work_dir \"${CMAKE_CURRENT_BINARY_DIR}/install\")
")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallUserFiles.cmake)
