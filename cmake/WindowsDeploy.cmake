# Runs at build time (cmake -P): puts the program folder that a Windows
# player gets together in DIR, from scratch: tavolin.exe, the Qt plugins it
# loads (the platform and the Windows style), every DLL that these import
# and that is no part of Windows, found by walking the PE imports from the
# program down, Qt's German texts, the two databases, LIESMICH.txt and
# LIZENZEN.txt with the licences' texts in lizenzen\.
# Needs PROGRAM, DIR, PLUGINS (Qt's plugin folder), TRANSLATIONS, DATA,
# README, LICENSES, SEARCH (the folders holding the DLLs, separated by |), OBJDUMP and
# STRIP.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" SEARCH "${SEARCH}")
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/platforms" "${DIR}/styles" "${DIR}/translations")
file(COPY "${PROGRAM}" DESTINATION "${DIR}")
file(COPY "${PLUGINS}/platforms/qwindows.dll" DESTINATION "${DIR}/platforms")
file(COPY "${PLUGINS}/styles/qwindowsvistastyle.dll" DESTINATION "${DIR}/styles")
file(COPY "${TRANSLATIONS}/qtbase_de.qm" DESTINATION "${DIR}/translations")
file(COPY "${DATA}/fnames.dat" "${DATA}/mnames.dat" DESTINATION "${DIR}")

get_filename_component(program_name "${PROGRAM}" NAME)
set(pending "${DIR}/${program_name}" "${DIR}/platforms/qwindows.dll" "${DIR}/styles/qwindowsvistastyle.dll")
set(seen "")
while(pending)
    list(POP_FRONT pending binary)
    execute_process(COMMAND "${OBJDUMP}" -p "${binary}" OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
    foreach(import IN LISTS imports)
        string(REGEX REPLACE "^DLL Name: " "" dll "${import}")
        string(STRIP "${dll}" dll)
        string(TOLOWER "${dll}" key)
        if(key IN_LIST seen)
            continue()
        endif()
        list(APPEND seen "${key}")
        # A DLL in none of the folders is Windows' own (KERNEL32.dll,
        # USER32.dll, the api-ms-win-* sets of the C runtime).
        unset(found)
        foreach(folder IN LISTS SEARCH)
            file(GLOB candidates LIST_DIRECTORIES false "${folder}/*.dll")
            foreach(candidate IN LISTS candidates)
                get_filename_component(name "${candidate}" NAME)
                string(TOLOWER "${name}" name)
                if(name STREQUAL key)
                    set(found "${candidate}")
                    break()
                endif()
            endforeach()
            if(found)
                break()
            endif()
        endforeach()
        if(found)
            file(COPY "${found}" DESTINATION "${DIR}")
            get_filename_component(name "${found}" NAME)
            list(APPEND pending "${DIR}/${name}")
        endif()
    endforeach()
endwhile()

# Without debug information or symbols: what runs is the same.
file(GLOB_RECURSE binaries "${DIR}/*.exe" "${DIR}/*.dll")
foreach(binary IN LISTS binaries)
    execute_process(COMMAND "${STRIP}" --strip-unneeded "${binary}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Texts for Notepad: Windows-1252 with CR LF, as the databases are. The
# licences of what the folder holds, with their full texts as Debian keeps
# them.
foreach(text_file IN ITEMS "${README}" "${LICENSES}")
    get_filename_component(name "${text_file}" NAME)
    file(READ "${text_file}" text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${DIR}/${name}.utf8" "${text}")
    execute_process(COMMAND iconv -f UTF-8 -t WINDOWS-1252 "${DIR}/${name}.utf8"
                    OUTPUT_FILE "${DIR}/${name}" COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${DIR}/${name}.utf8")
endforeach()
foreach(license IN ITEMS LGPL-3 GPL-3 Apache-2.0)
    file(READ "/usr/share/common-licenses/${license}" text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${DIR}/lizenzen/${license}" "${text}")
endforeach()
