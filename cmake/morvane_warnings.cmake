# The warnings every target of ours is built with, in one place: a target's own usage requirement
# rather than flags for the whole tree, kept apart from the sanitizer, fuzzing and packager flags.
add_library(morvane_warnings INTERFACE)
target_compile_options(morvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wno-sign-conversion)

# Links morvane_warnings into every compiled target defined under `dir`, so that a new program or
# library gets the same warnings without remembering to ask for them.
function(morvane_link_warnings dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
            target_link_libraries(${target} PRIVATE morvane_warnings)
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        morvane_link_warnings(${subdir})
    endforeach()
endfunction()
