# SPDX-License-Identifier: GPL-2.0-or-later
# One static library per layer, made of every source file in its folder (sub-folders included),
# so adding a file never needs a CMake edit.
function(tessaloom_layer name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()
