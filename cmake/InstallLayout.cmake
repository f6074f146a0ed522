# Runs at install time (cmake --install, cpack), before the install rules of
# cmake/Install.cmake, which describes the layouts. Needs tavolin_source_dir,
# tavolin_work_dir, tavolin_strip, tavolin_bindir, tavolin_sharedir,
# tavolin_datadir and tavolin_app_id; sets tavolin_per_user and tavolin_program_dir (relative to
# the prefix) and defines the steps that differ between the layouts.

# DESTDIR stages the files for a package; the menu entry names the program
# by its place after the install, and file(INSTALL) puts DESTDIR in front.
set(home "$ENV{HOME}")
string(REGEX REPLACE "/+$" "" home "${home}")
set(tavolin_per_user FALSE)
if(home)
    cmake_path(IS_PREFIX home "${CMAKE_INSTALL_PREFIX}" NORMALIZE tavolin_per_user)
endif()
if(tavolin_per_user)
    set(tavolin_program_dir "${tavolin_datadir}")
else()
    set(tavolin_program_dir "${tavolin_bindir}")
endif()

# Steps are macros, so that what file(INSTALL) lists reaches the install
# manifest.

# What dh_strip does for a program: no debug information, no notes or
# comments of the tool chain. Per user, the program gets a link on PATH; a
# file there that is no link is somebody else's and stays.
macro(tavolin_finish_program)
    set(program "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${tavolin_program_dir}/tavolin")
    if(tavolin_strip)
        execute_process(COMMAND "${tavolin_strip}" --remove-section=.comment --remove-section=.note "${program}"
                        COMMAND_ERROR_IS_FATAL ANY)
    else()
        message(WARNING "No strip program found: the installed program keeps its debug information")
    endif()
    if(tavolin_per_user)
        set(link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${tavolin_bindir}/tavolin")
        if(EXISTS "${link}" AND NOT IS_SYMLINK "${link}")
            message(WARNING "Not replaced, it is no link: ${link}")
        else()
            file(RELATIVE_PATH target "${CMAKE_INSTALL_PREFIX}/${tavolin_bindir}"
                 "${CMAKE_INSTALL_PREFIX}/${tavolin_program_dir}/tavolin")
            file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${tavolin_bindir}")
            message(STATUS "Installing: ${link} -> ${target}")
            file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
            list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/${tavolin_bindir}/tavolin")
        endif()
    endif()
endmacro()

# Per user, a database that is there already holds the player's names; so
# does a tavolin.ini, which is never installed at all. A link is a database
# that is there, even when its file is not (a sync folder not mounted now).
# System-wide, the shipped databases are replaced by every update: the
# program copies them into each user's folder and never writes them.
macro(tavolin_install_databases)
    foreach(database fnames.dat mnames.dat)
        set(installed "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${tavolin_datadir}/${database}")
        if(tavolin_per_user AND (EXISTS "${installed}" OR IS_SYMLINK "${installed}"))
            message(STATUS "Kept: ${installed}")
        else()
            file(INSTALL "${tavolin_source_dir}/data/${database}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${tavolin_datadir}")
        endif()
    endforeach()
endmacro()

# The Exec line of a desktop entry: an argument with a blank or another
# reserved character is quoted, and inside quotes ", `, $ and \ are escaped;
# the value's own escaping then doubles every backslash. A % is written %%.
# Files made for this install go to a folder of its own: installs to other
# places may run at the same time (the tests do). Older versions named the
# entry and the icon tavolin; an update per user removes those of this
# program, which would show it twice in the menu.
macro(tavolin_install_menu_entry)
    set(exec "${CMAKE_INSTALL_PREFIX}/${tavolin_program_dir}/tavolin")
    string(REPLACE "%" "%%" exec "${exec}")
    if(exec MATCHES "[^-A-Za-z0-9_/.+,:=@%]")
        string(REPLACE "\\" "\\\\" exec "${exec}")
        string(REPLACE "\"" "\\\"" exec "${exec}")
        string(REPLACE "`" "\\`" exec "${exec}")
        string(REPLACE "$" "\\$" exec "${exec}")
        set(exec "\"${exec}\"")
        string(REPLACE "\\" "\\\\" exec "${exec}")
    endif()
    set(TAVOLIN_EXEC "${exec}")
    set(TAVOLIN_APP_ID "${tavolin_app_id}")
    string(MD5 work "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    set(entry "${tavolin_work_dir}/${work}/${tavolin_app_id}.desktop")
    configure_file("${tavolin_source_dir}/src/app/tavolin.desktop.in" "${entry}" @ONLY)
    file(INSTALL "${entry}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${tavolin_sharedir}/applications")

    set(old_entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${tavolin_sharedir}/applications/tavolin.desktop")
    if(tavolin_per_user AND EXISTS "${old_entry}")
        file(STRINGS "${old_entry}" old_exec REGEX "^Exec=")
        if(old_exec STREQUAL "Exec=${exec}")
            message(STATUS "Removed the entry of an older version: ${old_entry}")
            file(REMOVE "${old_entry}"
                 "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${tavolin_sharedir}/icons/hicolor/scalable/apps/tavolin.svg")
        endif()
    endif()
endmacro()
