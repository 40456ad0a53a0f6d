# Keeps a copy of the shipped Default.hwg beside the binary of `target`, since the program reads
# its reader configuration from its own folder. Copied when CMake configures, and again only when
# the file has changed (CMake re-runs itself then), so an ordinary build says nothing about it.
function(morvane_place_default_hwg target)
    get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT folder)
        get_target_property(folder ${target} BINARY_DIR)
    endif()
    configure_file(${MORVANE_DEFAULT_HWG} ${folder}/Default.hwg COPYONLY)
endfunction()
