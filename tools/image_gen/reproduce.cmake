# Regenerates a few pictures into OUT and requires them to match the committed copies in REF
# byte for byte, so an accidental change to the drawing code cannot slip by unnoticed.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${GEN}" "${OUT}" ${NAMES} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gen_images failed with ${rc}")
endif()
foreach(name IN LISTS NAMES)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${name}.png"
                            "${REF}/${name}.png" RESULT_VARIABLE diff)
    if(NOT diff EQUAL 0)
        message(FATAL_ERROR "${name}.png differs from the committed picture")
    endif()
endforeach()
message(STATUS "all ${NAMES} match")
