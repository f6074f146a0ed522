# Runs at install time (cmake --install, cpack). Needs tavolin_program,
# tavolin_strip, tavolin_source_dir and tavolin_work_dir; the layouts are
# described in Install.cmake.

# DESTDIR stages the files for a package; the menu entry names the program
# by its place after the install, and file(INSTALL) puts DESTDIR in front.
set(home "$ENV{HOME}")
string(REGEX REPLACE "/+$" "" home "${home}")
set(per_user FALSE)
if(home)
    cmake_path(IS_PREFIX home "${CMAKE_INSTALL_PREFIX}" NORMALIZE per_user)
endif()

# Files made for this install go to a folder of its own: installs to other
# places may run at the same time (the tests do).
string(MD5 work "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(work_dir "${tavolin_work_dir}/${work}")
file(MAKE_DIRECTORY "${work_dir}")

set(data_dir "${CMAKE_INSTALL_PREFIX}/share/tavolin")
if(per_user)
    set(program_dir "${data_dir}")
else()
    set(program_dir "${CMAKE_INSTALL_PREFIX}/bin")
endif()
file(INSTALL "${tavolin_program}" DESTINATION "${program_dir}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# What dh_strip does for a program: no debug information, no notes or
# comments of the tool chain.
if(tavolin_strip)
    execute_process(COMMAND "${tavolin_strip}" --remove-section=.comment --remove-section=.note
                            "$ENV{DESTDIR}${program_dir}/tavolin" COMMAND_ERROR_IS_FATAL ANY)
else()
    message(WARNING "No strip program found: the installed program keeps its debug information")
endif()

if(per_user)
    # A database that is there already holds the player's names; so does a
    # tavolin.ini, which is never installed at all. A link is a database that
    # is there, even when its file is not (a sync folder not mounted now).
    foreach(database fnames.dat mnames.dat)
        if(EXISTS "$ENV{DESTDIR}${data_dir}/${database}" OR IS_SYMLINK "$ENV{DESTDIR}${data_dir}/${database}")
            message(STATUS "Kept: $ENV{DESTDIR}${data_dir}/${database}")
        else()
            file(INSTALL "${tavolin_source_dir}/data/${database}" DESTINATION "${data_dir}")
        endif()
    endforeach()
else()
    # The shipped databases, replaced by every update: the program copies
    # them into each user's folder and never writes them.
    file(INSTALL "${tavolin_source_dir}/data/fnames.dat" "${tavolin_source_dir}/data/mnames.dat"
         DESTINATION "${data_dir}")
    file(INSTALL "${tavolin_work_dir}/org.example.tavolin.metainfo.xml"
         DESTINATION "${CMAKE_INSTALL_PREFIX}/share/metainfo")
    # Compressed as Debian has them: best, without name and time.
    set(doc_dir "${CMAKE_INSTALL_PREFIX}/share/doc/tavolin")
    foreach(pair "packaging/changelog|${doc_dir}" "src/app/tavolin.1|${CMAKE_INSTALL_PREFIX}/share/man/man1")
        string(REPLACE "|" ";" pair "${pair}")
        list(GET pair 0 source)
        list(GET pair 1 destination)
        get_filename_component(name "${source}" NAME)
        execute_process(COMMAND gzip -9nc "${tavolin_source_dir}/${source}"
                        OUTPUT_FILE "${work_dir}/${name}.gz" COMMAND_ERROR_IS_FATAL ANY)
        file(INSTALL "${work_dir}/${name}.gz" DESTINATION "${destination}")
    endforeach()
    file(INSTALL "${tavolin_source_dir}/packaging/copyright" DESTINATION "${doc_dir}")
endif()

file(INSTALL "${tavolin_source_dir}/src/app/tavolin.svg" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/scalable/apps")

# The Exec line of a desktop entry: an argument with a blank or another
# reserved character is quoted, and inside quotes ", `, $ and \ are escaped;
# the value's own escaping then doubles every backslash. A % is written %%.
set(exec "${program_dir}/tavolin")
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
configure_file("${tavolin_source_dir}/src/app/tavolin.desktop.in" "${work_dir}/tavolin.desktop" @ONLY)
file(INSTALL "${work_dir}/tavolin.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
