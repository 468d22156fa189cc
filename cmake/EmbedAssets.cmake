# Turns every file of an asset folder into a byte array named as a
# hex-dump-to-array tool names them ("tx_block.png" -> tx_block_png, with its
# length tx_block_png_len), and lists them all in one name-to-bytes table
# (cmake/embedded_assets.h.in). The bytes are pulled in by the assembler's
# .incbin, which costs next to nothing at build time, unlike a source file of
# brace-listed bytes. The section and symbol directives follow the target's
# object format: ELF, PE/COFF (Windows), WebAssembly or Mach-O.

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
    foreach(file ${asset_files})
        get_filename_component(name ${file} NAME)
        get_filename_component(stem ${file} NAME_WE)
        string(MAKE_C_IDENTIFIER ${name} symbol)
        file(SIZE ${file} size)
        string(REPLACE "@SYMBOL@" "${symbol}" part "${kolvex_embed_file}")
        string(REPLACE "@FILE@" "${file}" part "${part}")
        string(REPLACE "@SIZE@" "${size}" part "${part}")
        string(APPEND asm "${part}")
        string(APPEND KOLVEX_EMBED_DECLARATIONS "extern const unsigned char ${symbol}[];\n")
        string(APPEND KOLVEX_EMBED_LENGTHS "inline constexpr unsigned int ${symbol}_len = ${size};\n")
        string(APPEND KOLVEX_EMBED_TABLE "    {\"${stem}\", ${symbol}, ${size}},\n")
    endforeach()
    string(APPEND asm "${kolvex_embed_trailer}")
    # Rewritten only when changed, so a reconfigure does not force a rebuild.
    file(MAKE_DIRECTORY ${gen_dir}/assets)
    file(WRITE ${gen_dir}/embedded_assets.S.new "${asm}")
    configure_file(${KOLVEX_EMBED_HEADER_TEMPLATE} ${gen_dir}/embedded_assets.h.new @ONLY)
    file(COPY_FILE ${gen_dir}/embedded_assets.S.new ${gen_dir}/embedded_assets.S ONLY_IF_DIFFERENT)
    file(COPY_FILE ${gen_dir}/embedded_assets.h.new ${gen_dir}/assets/embedded_assets.h ONLY_IF_DIFFERENT)
    add_library(${target} STATIC ${gen_dir}/embedded_assets.S)
    set_source_files_properties(${gen_dir}/embedded_assets.S PROPERTIES OBJECT_DEPENDS "${asset_files}")
    target_include_directories(${target} PUBLIC ${gen_dir})
endfunction()
