# Installation in one of two layouts, chosen by cmake --install from where the
# files go (cmake/InstallLayout.cmake):
# - per user, for a prefix in the installing user's home (by default
#   ~/.local): the program writes its databases beside its executable, so it
#   gets a folder of its own that the user can write, <prefix>/share/tavolin,
#   and a link <prefix>/bin/tavolin to it, so that it is on PATH.
# - system-wide, for any other prefix (/usr for the Debian package):
#   <prefix>/bin/tavolin, the shipped databases read-only in
#   <prefix>/share/tavolin, from where each user's first start copies them
#   into the user's own folder.
# Both get the menu entry, the icons, the metainfo for software centres, the
# manual page and the licences where the desktop and man look for them.
# The parts, for cmake --install --component: Runtime (the program and its
# link), Data (the shipped databases), Desktop (menu entry, icons, metainfo),
# Documentation (manual page, changelog, copyright).
# A build folder configured before the per-user default existed holds
# CMake's own default; it is replaced once as well.
if(NOT TAVOLIN_INSTALL_PREFIX_CHOSEN AND DEFINED ENV{HOME} AND
   (CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Where cmake --install puts Tavolin" FORCE)
endif()
set(TAVOLIN_INSTALL_PREFIX_CHOSEN ON CACHE INTERNAL "The install prefix has been given its default")
include(GNUInstallDirs)

# Made with the program, so that every build of it can be installed: the
# metainfo, and the manual page and changelog compressed as Debian has them
# (best, without name and time).
set(made ${CMAKE_CURRENT_BINARY_DIR}/install)
configure_file(${PROJECT_SOURCE_DIR}/src/app/tavolin.metainfo.xml.in ${made}/${TAVOLIN_APP_ID}.metainfo.xml @ONLY)
set(compressed "")
foreach(source packaging/changelog src/app/tavolin.1)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${made}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${made}/${name}
        COMMAND gzip -9nf ${made}/${name}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND compressed ${made}/${name}.gz)
endforeach()
add_custom_target(tavolin_documents DEPENDS ${compressed})
add_dependencies(tavolin tavolin_documents)

# Which layout, and the steps that depend on it, decided when installing.
install(CODE "
    set(tavolin_source_dir \"${PROJECT_SOURCE_DIR}\")
    set(tavolin_work_dir \"${made}\")
    set(tavolin_strip \"${CMAKE_STRIP}\")
    set(tavolin_bindir \"${CMAKE_INSTALL_BINDIR}\")
    set(tavolin_sharedir \"${CMAKE_INSTALL_DATADIR}\")
    set(tavolin_datadir \"${CMAKE_INSTALL_DATADIR}/tavolin\")
    set(tavolin_app_id \"${TAVOLIN_APP_ID}\")
" ALL_COMPONENTS)
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallLayout.cmake ALL_COMPONENTS)

install(TARGETS tavolin RUNTIME DESTINATION "\${tavolin_program_dir}" COMPONENT Runtime)
install(CODE "tavolin_finish_program()" COMPONENT Runtime)

install(CODE "tavolin_install_databases()" COMPONENT Data)

set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/tavolin.svg DESTINATION ${icons}/scalable/apps
        RENAME ${TAVOLIN_APP_ID}.svg COMPONENT Desktop)
get_target_property(icon_dir tavolin TAVOLIN_ICON_DIR)
get_target_property(icon_sizes tavolin TAVOLIN_ICON_SIZES)
foreach(size IN LISTS icon_sizes)
    install(FILES ${icon_dir}/${size}.png DESTINATION ${icons}/${size}x${size}/apps
            RENAME ${TAVOLIN_APP_ID}.png COMPONENT Desktop)
endforeach()
install(FILES ${made}/${TAVOLIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT Desktop)
install(CODE "tavolin_install_menu_entry()" COMPONENT Desktop)

install(FILES ${made}/tavolin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Documentation)
install(FILES ${made}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR}
        COMPONENT Documentation)

# What lintian is to overlook in the package, with the reasons.
install(CODE "
    if(NOT tavolin_per_user)
        file(INSTALL \"${PROJECT_SOURCE_DIR}/packaging/lintian-overrides\" RENAME tavolin
             DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/lintian/overrides\")
    endif()
" COMPONENT Documentation)
