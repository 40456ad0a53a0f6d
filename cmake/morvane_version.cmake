# The release number, written once by project() and handed to the code through one generated
# header: #include "morvane/version.h".
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
               ${PROJECT_BINARY_DIR}/generated/morvane/version.h @ONLY)
add_library(morvane_version INTERFACE)
target_include_directories(morvane_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
