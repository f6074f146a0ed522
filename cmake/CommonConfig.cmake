# Build settings shared by every target of the project.
add_library(tavolin_common_cfg INTERFACE)
target_compile_features(tavolin_common_cfg INTERFACE cxx_std_20)
target_compile_options(tavolin_common_cfg INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
# Names are Windows-1252 bytes in the logic and QString only in the window:
# no byte array or C string becomes a QString, or back, without saying how.
target_compile_definitions(tavolin_common_cfg INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_CAST_TO_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS
)
# Each library exposes its own headers only, as "<folder>/<header>.h": its
# folder of src/ is linked into an include root of its own, which the targets
# that link the library see. A header of a library that a target does not
# link is not found, so a logic source that includes a window header fails to
# compile.
function(tavolin_own_headers target folder)
    set(root ${CMAKE_BINARY_DIR}/include/${folder})
    file(MAKE_DIRECTORY ${root})
    file(REMOVE ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
endfunction()
# Debian's hardening for ELF programs: the relocations are resolved at start
# and their table made read-only (full RELRO), as dpkg-buildflags asks.
if(UNIX)
    target_link_options(tavolin_common_cfg INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()
