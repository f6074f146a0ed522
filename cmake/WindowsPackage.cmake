# What a Windows player downloads, made by every build for Windows
# (scripts/windows) and by the targets windows_zip and windows_installer:
# - tavolin-<version>-win64.zip: the folder Tavolin with the program and
#   what it needs, to unpack anywhere writable and start by double-click;
# - tavolin-<version>-setup.exe: an NSIS installer for the user alone (no
#   administrator) into %LOCALAPPDATA%\Programs\Tavolin, with a Start menu
#   entry and an uninstaller that keeps the player's names.
find_program(TAVOLIN_OBJDUMP NAMES ${CMAKE_CXX_COMPILER_TARGET}-objdump x86_64-w64-mingw32-objdump REQUIRED)
find_program(TAVOLIN_MAKENSIS makensis)
find_program(TAVOLIN_ZIP zip)
set(windows_strip "${CMAKE_STRIP}")
if(NOT windows_strip)
    set(windows_strip x86_64-w64-mingw32-strip)
endif()

# The DLLs come from the cross-built Qt and from MinGW's runtime (C++, GCC
# and threads), where Debian keeps it.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name OUTPUT_VARIABLE libgcc
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir "${libgcc}" DIRECTORY)
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin_dir "${qt_core_dll}" DIRECTORY)
get_filename_component(qt_prefix "${qt_bin_dir}" DIRECTORY)
# Where the tests under Wine find Qt's DLLs.
set(TAVOLIN_QT_BIN_DIR ${qt_bin_dir})

set(windows_folder ${CMAKE_BINARY_DIR}/windows/Tavolin)
set(windows_zip ${CMAKE_BINARY_DIR}/tavolin-${PROJECT_VERSION}-win64.zip)
set(windows_setup ${CMAKE_BINARY_DIR}/tavolin-${PROJECT_VERSION}-setup.exe)
set(readme ${PROJECT_SOURCE_DIR}/packaging/windows/LIESMICH.txt)
set(licenses ${PROJECT_SOURCE_DIR}/packaging/windows/LIZENZEN.txt)
get_target_property(icon tavolin TAVOLIN_ICON)
add_custom_command(OUTPUT ${windows_folder}/tavolin.exe
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tavolin> -DDIR=${windows_folder}
            -DPLUGINS=${qt_prefix}/plugins -DTRANSLATIONS=${qt_prefix}/translations
            -DDATA=${PROJECT_SOURCE_DIR}/data -DREADME=${readme} -DLICENSES=${licenses}
            "-DSEARCH=${qt_bin_dir}|${gcc_dir}|/usr/x86_64-w64-mingw32/lib"
            -DOBJDUMP=${TAVOLIN_OBJDUMP} -DSTRIP=${windows_strip}
            -P ${PROJECT_SOURCE_DIR}/cmake/WindowsDeploy.cmake
    DEPENDS tavolin ${readme} ${licenses} ${PROJECT_SOURCE_DIR}/cmake/WindowsDeploy.cmake
            ${PROJECT_SOURCE_DIR}/data/fnames.dat ${PROJECT_SOURCE_DIR}/data/mnames.dat
    COMMENT "Programmordner für Windows: ${windows_folder}"
    VERBATIM)
add_custom_target(windows_folder DEPENDS ${windows_folder}/tavolin.exe)

# zip stores the files in the order given, with the folder's own name first.
add_custom_command(OUTPUT ${windows_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${windows_zip}
    COMMAND ${TAVOLIN_ZIP} -q -r -X -9 ${windows_zip} Tavolin
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/windows
    DEPENDS ${windows_folder}/tavolin.exe
    COMMENT "Zip für Windows: ${windows_zip}"
    VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${windows_zip})
# For the tests of the zip and the installer.
set(TAVOLIN_WINDOWS_ZIP ${windows_zip})

# The installer's first page shows where the names and Qt come from and
# their licences: the text of LIZENZEN.txt, as UTF-16 with a byte order mark
# and CR LF, the one form of Unicode text that makensis takes on every host.
set(license_page ${CMAKE_BINARY_DIR}/windows/lizenzen-seite.txt)
add_custom_command(OUTPUT ${license_page}
    COMMAND sh -c "sed 's/$/\\r/' \"$1\" | iconv -f UTF-8 -t UTF-16 >\"$2\"" sh ${licenses} ${license_page}
    DEPENDS ${licenses} VERBATIM)
add_custom_command(OUTPUT ${windows_setup}
    COMMAND ${TAVOLIN_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
            -DSOURCE=${windows_folder} -DICON=${icon} -DOUTFILE=${windows_setup} -DLICENSE=${license_page}
            ${PROJECT_SOURCE_DIR}/packaging/windows/tavolin.nsi
    DEPENDS ${windows_folder}/tavolin.exe ${icon} ${license_page} ${PROJECT_SOURCE_DIR}/packaging/windows/tavolin.nsi
    COMMENT "Installationsprogramm für Windows: ${windows_setup}"
    VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${windows_setup})
set(TAVOLIN_WINDOWS_SETUP ${windows_setup})
