# Debian's absl package describes every absl library as a shared one. The name
# list uses a handful of small hash-set helpers from them; linked from the
# static archives that come in the same package, they save every start of the
# program loading five shared libraries (about a millisecond, a twentieth of
# the start-up). Points each shared absl library that the given targets need,
# directly or through others, at its static archive where there is one.
function(tavolin_link_absl_statically)
    set(pending ${ARGN})
    set(seen "")
    while(pending)
        list(POP_FRONT pending target)
        if(target IN_LIST seen OR NOT TARGET "${target}")
            continue()
        endif()
        list(APPEND seen "${target}")
        get_target_property(type "${target}" TYPE)
        if(type STREQUAL "SHARED_LIBRARY")
            get_target_property(configurations "${target}" IMPORTED_CONFIGURATIONS)
            foreach(configuration IN LISTS configurations)
                get_target_property(location "${target}" IMPORTED_LOCATION_${configuration})
                string(REGEX REPLACE "\\.so[.0-9]*$" ".a" archive "${location}")
                if(EXISTS "${archive}")
                    set_target_properties("${target}" PROPERTIES IMPORTED_LOCATION_${configuration} "${archive}")
                endif()
            endforeach()
        endif()
        get_target_property(dependencies "${target}" INTERFACE_LINK_LIBRARIES)
        if(dependencies)
            list(APPEND pending ${dependencies})
        endif()
    endwhile()
endfunction()
