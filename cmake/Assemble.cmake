# 6502 sources are assembled with 64tass at build time.
find_program(TASS_EXECUTABLE 64tass REQUIRED)

# quavix_assemble(<output> <source> [FORMAT <64tass output flag>])
# FORMAT defaults to --nostart: raw bytes from the first '*=' address on.
function(quavix_assemble output source)
    cmake_parse_arguments(ARG "" "FORMAT" "" ${ARGN})
    if(NOT ARG_FORMAT)
        set(ARG_FORMAT --nostart)
    endif()
    get_filename_component(source_path ${source} ABSOLUTE)
    get_filename_component(output_dir ${output} DIRECTORY)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
        COMMAND ${TASS_EXECUTABLE} --quiet --ascii ${ARG_FORMAT} -Wall -Werror
                -o ${output} ${source_path}
        DEPENDS ${source_path}
        COMMENT "Assembling ${source}"
        VERBATIM)
endfunction()
