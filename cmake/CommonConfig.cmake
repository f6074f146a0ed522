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
target_include_directories(tavolin_common_cfg INTERFACE ${PROJECT_SOURCE_DIR}/src)
