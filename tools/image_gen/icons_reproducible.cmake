# Regenerates a set of icons (gen_images MODE, e.g. --desktop-icons) into OUT and requires the same
# PNG files as the committed copies under REF, byte for byte, so a change to the badge or to the
# shrinking filter cannot slip by unnoticed.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${GEN}" ${MODE} "${OUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gen_images ${MODE} failed with ${rc}")
endif()
file(GLOB_RECURSE made RELATIVE "${OUT}" "${OUT}/*.png")
file(GLOB_RECURSE committed RELATIVE "${REF}" "${REF}/*.png")
if(NOT made STREQUAL committed)
    message(FATAL_ERROR "gen_images ${MODE} wrote ${made}; committed are ${committed}")
endif()
foreach(rel IN LISTS made)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${rel}" "${REF}/${rel}"
                    RESULT_VARIABLE diff)
    if(NOT diff EQUAL 0)
        message(FATAL_ERROR "${rel} differs from the committed icon")
    endif()
endforeach()
list(LENGTH made count)
message(STATUS "all ${count} icons match")
