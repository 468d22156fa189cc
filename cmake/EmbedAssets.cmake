# Turns every file of an asset folder into a byte array named as a
# hex-dump-to-array tool names them ("tx_block.png" -> tx_block_png, with its
# length tx_block_png_len), and lists them all in one name-to-bytes table
# (cmake/embedded_assets.h.in). The bytes are pulled in by the assembler's
# .incbin, which costs next to nothing at build time, unlike a source file of
# brace-listed bytes. The section and symbol directives follow the target's
# object format: ELF, PE/COFF (Windows), WebAssembly or Mach-O.
#
# Given packs (the web page), only the files that match KOLVEX_ASSETS_IN_PROGRAM
# are embedded; each other file goes into the first pack of KOLVEX_ASSET_PACKS
# whose patterns (KOLVEX_ASSET_PACK_<pack>) it matches, or else the pack whose
# pattern is "*", at an offset the table
# records, and files matching KOLVEX_ASSETS_UNUSED are left out. A pack is its
# files' bytes one after another, named by its content
# (kolvex-<pack>.<hash>.pack), so a browser never mixes two builds' packs.
# Run as a script (cmake -P) to write one pack.

if(CMAKE_SCRIPT_MODE_FILE)
    string(REPLACE "|" ";" files "${KOLVEX_PACK_FILES}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${files} OUTPUT_FILE ${KOLVEX_PACK_OUT}
        RESULT_VARIABLE written)
    if(NOT written EQUAL 0)
        message(FATAL_ERROR "could not write ${KOLVEX_PACK_OUT}")
    endif()
    # An earlier build's pack of the same name is no longer the page's.
    get_filename_component(folder ${KOLVEX_PACK_OUT} DIRECTORY)
    file(GLOB older ${folder}/kolvex-${KOLVEX_PACK_NAME}.*.pack)
    list(REMOVE_ITEM older ${KOLVEX_PACK_OUT})
    if(older)
        file(REMOVE ${older})
    endif()
    return()
endif()

set(KOLVEX_EMBED_HEADER_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/embedded_assets.h.in)

# Sets, in the caller, kolvex_embed_file: the assembler text that places one
# file's bytes (@SYMBOL@, @FILE@ and @SIZE@ to be filled in), and
# kolvex_embed_trailer.
function(kolvex_embed_directives)
    if(APPLE)
        # Mach-O: C names carry a leading underscore; no ELF-style type or size.
        set(symbol_prefix "_")
        set(section "    .section __TEXT,__const\n")
        set(typed "")
        set(sized "")
        set(trailer "")
    elseif(WIN32 OR CYGWIN)
        # PE/COFF: one read-only data section per file ("dr": data, read-only).
        set(symbol_prefix "")
        set(section "    .section .rdata$@SYMBOL@,\"dr\"\n")
        set(typed "")
        set(sized "")
        set(trailer "")
    elseif(EMSCRIPTEN)
        # WebAssembly: no section flags or types, and every data symbol needs
        # its size, given as a number.
        set(symbol_prefix "")
        set(section "    .section .rodata.@SYMBOL@,\"\",@\n")
        set(typed "    .type @SYMBOL@, @object\n")
        set(sized "    .size @SYMBOL@, @SIZE@\n")
        set(trailer "")
    else()
        set(symbol_prefix "")
        set(section "    .section .rodata.@SYMBOL@,\"a\",@progbits\n")
        set(typed "    .type @SYMBOL@, @object\n")
        set(sized "    .size @SYMBOL@, @SIZE@\n")
        # No executable stack for the program because of this object.
        set(trailer "    .section .note.GNU-stack,\"\",@progbits\n")
    endif()
    string(CONCAT kolvex_embed_file
        "${section}    .global ${symbol_prefix}@SYMBOL@\n${typed}    .balign 16\n"
        "${symbol_prefix}@SYMBOL@:\n    .incbin \"@FILE@\"\n${sized}")
    set(kolvex_embed_file "${kolvex_embed_file}" PARENT_SCOPE)
    set(kolvex_embed_trailer "${trailer}" PARENT_SCOPE)
endfunction()

# True in `out` when the file stem matches one of the glob patterns.
function(kolvex_asset_matches out stem)
    foreach(pattern ${ARGN})
        string(REPLACE "*" ".*" regex "^${pattern}$")
        if(stem MATCHES "${regex}")
            set(${out} TRUE PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out} FALSE PARENT_SCOPE)
endfunction()

# Sets `out` to the index of the pack the file goes into: 0 for the program
# itself, -1 for none at all.
function(kolvex_asset_pack out stem)
    set(index 0)
    if(NOT KOLVEX_ASSET_PACKS)
        set(${out} 0 PARENT_SCOPE)
        return()
    endif()
    kolvex_asset_matches(embedded ${stem} ${KOLVEX_ASSETS_IN_PROGRAM})
    kolvex_asset_matches(unused ${stem} ${KOLVEX_ASSETS_UNUSED})
    if(embedded)
        set(${out} 0 PARENT_SCOPE)
        return()
    elseif(unused)
        set(${out} -1 PARENT_SCOPE)
        return()
    endif()
    # A pack of "*" takes only what no other pack names.
    foreach(catch_all FALSE TRUE)
        set(index 0)
        foreach(pack ${KOLVEX_ASSET_PACKS})
            math(EXPR index "${index} + 1")
            set(patterns ${KOLVEX_ASSET_PACK_${pack}})
            if(patterns STREQUAL "*" AND NOT catch_all)
                continue()
            endif()
            kolvex_asset_matches(packed ${stem} ${patterns})
            if(packed)
                set(${out} ${index} PARENT_SCOPE)
                return()
            endif()
        endforeach()
    endforeach()
    message(FATAL_ERROR "asset ${stem} is in no pack")
endfunction()

# Embeds the folder's files into `target`; with packs, also writes them into
# the build folder and sets KOLVEX_ASSET_PACK_FILES to their names in fetch order.
function(kolvex_embed_assets target data_dir)
    file(GLOB asset_files CONFIGURE_DEPENDS ${data_dir}/*.png ${data_dir}/*.ogg)
    # Natural order keeps numbered frames in sequence: smoke2 before smoke10.
    list(SORT asset_files COMPARE NATURAL)
    # The lengths are written into the header, so any change to a file reconfigures.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${asset_files})
    kolvex_embed_directives()
    set(gen_dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
    set(asm "/* Generated from ${data_dir}; do not edit. */\n")
    set(KOLVEX_EMBED_DECLARATIONS "")
    set(KOLVEX_EMBED_LENGTHS "")
    set(KOLVEX_EMBED_TABLE "")
    set(KOLVEX_EMBED_PACKS "")
    list(LENGTH KOLVEX_ASSET_PACKS pack_count)
    foreach(index RANGE ${pack_count})
        set(pack_${index}_files "")
        set(pack_${index}_size 0)
        set(pack_${index}_hashes "")
    endforeach()
    foreach(file ${asset_files})
        get_filename_component(name ${file} NAME)
        get_filename_component(stem ${file} NAME_WE)
        string(MAKE_C_IDENTIFIER ${name} symbol)
        file(SIZE ${file} size)
        kolvex_asset_pack(pack ${stem})
        if(pack EQUAL 0)
            string(REPLACE "@SYMBOL@" "${symbol}" part "${kolvex_embed_file}")
            string(REPLACE "@FILE@" "${file}" part "${part}")
            string(REPLACE "@SIZE@" "${size}" part "${part}")
            string(APPEND asm "${part}")
            string(APPEND KOLVEX_EMBED_DECLARATIONS "extern const unsigned char ${symbol}[];\n")
            string(APPEND KOLVEX_EMBED_LENGTHS "inline constexpr unsigned int ${symbol}_len = ${size};\n")
            string(APPEND KOLVEX_EMBED_TABLE "    {\"${stem}\", ${symbol}, ${size}, 0, 0},\n")
        elseif(pack GREATER 0)
            set(offset ${pack_${pack}_size})
            string(APPEND KOLVEX_EMBED_TABLE "    {\"${stem}\", nullptr, ${size}, ${pack}, ${offset}},\n")
            math(EXPR pack_${pack}_size "${offset} + ${size}")
            list(APPEND pack_${pack}_files ${file})
            file(SHA256 ${file} hash)
            string(APPEND pack_${pack}_hashes "${hash}")
        endif()
    endforeach()
    string(APPEND asm "${kolvex_embed_trailer}")
    set(pack_outputs "")
    set(pack_names "")
    set(index 0)
    foreach(pack ${KOLVEX_ASSET_PACKS})
        math(EXPR index "${index} + 1")
        string(SHA256 hash "${pack_${index}_hashes}")
        string(SUBSTRING ${hash} 0 12 hash)
        set(pack_name kolvex-${pack}.${hash}.pack)
        set(pack_out ${CMAKE_CURRENT_BINARY_DIR}/${pack_name})
        list(JOIN pack_${index}_files "|" joined)
        add_custom_command(OUTPUT ${pack_out}
            COMMAND ${CMAKE_COMMAND} -DKOLVEX_PACK_OUT=${pack_out} -DKOLVEX_PACK_NAME=${pack}
                "-DKOLVEX_PACK_FILES=${joined}" -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
            DEPENDS ${pack_${index}_files} VERBATIM)
        list(APPEND pack_outputs ${pack_out})
        list(APPEND pack_names ${pack_name})
        string(APPEND KOLVEX_EMBED_PACKS "    {\"${pack_name}\", ${pack_${index}_size}},\n")
    endforeach()
    set(KOLVEX_EMBED_PACK_COUNT ${pack_count})
    # Rewritten only when changed, so a reconfigure does not force a rebuild.
    file(MAKE_DIRECTORY ${gen_dir}/assets)
    file(WRITE ${gen_dir}/embedded_assets.S.new "${asm}")
    configure_file(${KOLVEX_EMBED_HEADER_TEMPLATE} ${gen_dir}/embedded_assets.h.new @ONLY)
    file(COPY_FILE ${gen_dir}/embedded_assets.S.new ${gen_dir}/embedded_assets.S ONLY_IF_DIFFERENT)
    file(COPY_FILE ${gen_dir}/embedded_assets.h.new ${gen_dir}/assets/embedded_assets.h ONLY_IF_DIFFERENT)
    add_library(${target} STATIC ${gen_dir}/embedded_assets.S)
    set_source_files_properties(${gen_dir}/embedded_assets.S PROPERTIES OBJECT_DEPENDS "${asset_files}")
    target_include_directories(${target} PUBLIC ${gen_dir})
    if(pack_outputs)
        add_custom_target(${target}_packs ALL DEPENDS ${pack_outputs})
        add_dependencies(${target} ${target}_packs)
    endif()
    set(KOLVEX_ASSET_PACK_FILES ${pack_names} PARENT_SCOPE)
endfunction()
