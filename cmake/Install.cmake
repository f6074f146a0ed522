# Installation in one of two layouts, chosen by cmake --install from where the
# files go (cmake/InstallLayout.cmake):
# - per user, for a prefix in the installing user's home (by default
#   ~/.local): the program writes its databases and tavolin.ini beside its
#   executable, so it gets a folder of its own that the user can write,
#   <prefix>/share/tavolin; the menu entry and the icon go where the desktop
#   looks for the user's own.
# - system-wide, for any other prefix (/usr for the Debian package):
#   <prefix>/bin/tavolin, the shipped databases read-only in
#   <prefix>/share/tavolin, from where each user's first start copies them
#   into the user's own folder; beside them what a distribution expects.
# A build folder configured before the per-user default existed holds
# CMake's own default; it is replaced once as well.
if(NOT TAVOLIN_INSTALL_PREFIX_CHOSEN AND DEFINED ENV{HOME} AND
   (CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Where cmake --install puts Tavolin" FORCE)
endif()
set(TAVOLIN_INSTALL_PREFIX_CHOSEN ON CACHE INTERNAL "The install prefix has been given its default")

configure_file(${PROJECT_SOURCE_DIR}/src/app/tavolin.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/install/org.example.tavolin.metainfo.xml @ONLY)
install(CODE "
    set(tavolin_program \"$<TARGET_FILE:tavolin>\")
    set(tavolin_strip \"${CMAKE_STRIP}\")
    set(tavolin_source_dir \"${PROJECT_SOURCE_DIR}\")
    set(tavolin_work_dir \"${CMAKE_CURRENT_BINARY_DIR}/install\")
")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallLayout.cmake)
