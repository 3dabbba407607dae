# `distribution` assembles dist/ in the build folder: setup with the language packs, which it
# copies into the install folder itself, and the data volumes that hold the trainer, its help file
# when there is one and a sample list.
set(TARNWICK_VOLUME_SIZE 1457664 CACHE STRING "Capacity of one installer data volume in bytes")

set(distribution_setup "")
set(distribution_depends tarnwick tarnwick_pack)
if(TARGET setup)
    set(distribution_setup $<TARGET_FILE:setup>)
    list(APPEND distribution_depends setup)
endif()

add_custom_target(distribution
                  COMMAND ${CMAKE_COMMAND} -DDIST_DIR=${CMAKE_BINARY_DIR}/dist
                          -DPACKER=$<TARGET_FILE:tarnwick_pack>
                          -DCAPACITY=${TARNWICK_VOLUME_SIZE} -DTRAINER=$<TARGET_FILE:tarnwick>
                          -DSETUP=${distribution_setup} -DLANG_DIR=${CMAKE_SOURCE_DIR}/lang
                          -DSAMPLE=${CMAKE_SOURCE_DIR}/samples/Frans.wdl
                          -P ${CMAKE_SOURCE_DIR}/tools/pack/MakeDistribution.cmake
                  DEPENDS ${distribution_depends}
                  COMMENT "Assembling the distribution folder"
                  VERBATIM)
