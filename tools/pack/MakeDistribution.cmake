# Run by the `distribution` target (cmake -P) with DIST_DIR, PACKER, CAPACITY, TRAINER, SETUP
# (empty while there is no setup program), LANG_DIR and SAMPLE.
file(REMOVE_RECURSE ${DIST_DIR})
file(MAKE_DIRECTORY ${DIST_DIR})

if(SETUP)
    file(COPY ${SETUP} DESTINATION ${DIST_DIR})
else()
    message(WARNING "There is no setup program yet; dist/ holds only the packs and the volumes.")
endif()

# setup finds its packs beside itself and copies them into the install folder; packed into the
# volumes as well they would be written twice and asked about on a clean installation.
file(GLOB packs ${LANG_DIR}/*.lng)
file(COPY ${packs} DESTINATION ${DIST_DIR})

get_filename_component(trainer_dir ${TRAINER} DIRECTORY)
get_filename_component(trainer_name ${TRAINER} NAME)
set(items "${trainer_name}=${TRAINER}")
file(GLOB help_files ${trainer_dir}/*.chm)
foreach(help IN LISTS help_files)
    get_filename_component(name ${help} NAME)
    list(APPEND items "${name}=${help}")
endforeach()
get_filename_component(sample_name ${SAMPLE} NAME)
list(APPEND items "${sample_name}=${SAMPLE}")

execute_process(COMMAND ${PACKER} ${CAPACITY} ${DIST_DIR} ${items} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Packing the data volumes failed")
endif()
