# Runs at install time (cmake --install), after the program is in place.
# Needs tavolin_program_dir, tavolin_data_dir, tavolin_desktop_template and
# tavolin_work_dir.

set(program_dir "${CMAKE_INSTALL_PREFIX}/${tavolin_program_dir}")

# A database that is there already holds the player's names; so does a
# tavolin.ini, which is never installed at all. A link is a database that is
# there, even when its file is not (a sync folder not mounted right now).
foreach(database fnames.dat mnames.dat)
    if(EXISTS "$ENV{DESTDIR}${program_dir}/${database}" OR IS_SYMLINK "$ENV{DESTDIR}${program_dir}/${database}")
        message(STATUS "Kept: $ENV{DESTDIR}${program_dir}/${database}")
    else()
        file(INSTALL "${tavolin_data_dir}/${database}" DESTINATION "${program_dir}")
    endif()
endforeach()

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
configure_file("${tavolin_desktop_template}" "${tavolin_work_dir}/tavolin.desktop" @ONLY)
file(INSTALL "${tavolin_work_dir}/tavolin.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
