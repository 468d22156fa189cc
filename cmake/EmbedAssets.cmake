# Turns every file of an asset folder into a byte array and its length, named as
# a hex-dump-to-array tool names them ("tx_block.png" -> tx_block_png and
# tx_block_png_len). The bytes are pulled in by the assembler's .incbin, which
# costs next to nothing at build time, unlike a source file of brace-listed bytes.

function(kolvex_embed_assets target data_dir)
    file(GLOB asset_files CONFIGURE_DEPENDS ${data_dir}/*.png ${data_dir}/*.ogg)
    list(SORT asset_files)
    set(gen_dir ${CMAKE_CURRENT_BINARY_DIR}/generated)
    set(asm "/* Generated from ${data_dir}; do not edit. */\n")
    set(header "// Generated from the asset folder; do not edit.\n#pragma once\n\nextern \"C\" {\n")
    foreach(file ${asset_files})
        get_filename_component(name ${file} NAME)
        string(MAKE_C_IDENTIFIER ${name} symbol)
        string(APPEND header
            "extern const unsigned char ${symbol}[];\nextern const unsigned int ${symbol}_len;\n")
        if(EMSCRIPTEN)
            # WebAssembly objects know no ELF flags or section types, and every
            # data symbol needs its size given, so the length is written out.
            file(SIZE ${file} size)
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
            string(APPEND asm
                "    .section .rodata.${symbol},\"\",@\n"
                "    .global ${symbol}\n    .type ${symbol}, @object\n    .balign 16\n"
                "${symbol}:\n    .incbin \"${file}\"\n    .size ${symbol}, ${size}\n"
                "    .global ${symbol}_len\n    .type ${symbol}_len, @object\n    .balign 4\n"
                "${symbol}_len:\n    .int32 ${size}\n    .size ${symbol}_len, 4\n")
            continue()
        endif()
        string(APPEND asm
            "    .section .rodata.${symbol},\"a\",@progbits\n"
            "    .global ${symbol}\n    .type ${symbol}, @object\n    .balign 16\n"
            "${symbol}:\n    .incbin \"${file}\"\n${symbol}_end:\n"
            "    .size ${symbol}, ${symbol}_end - ${symbol}\n"
            "    .global ${symbol}_len\n    .type ${symbol}_len, @object\n    .balign 4\n"
            "${symbol}_len:\n    .long ${symbol}_end - ${symbol}\n"
            "    .size ${symbol}_len, 4\n")
    endforeach()
    if(NOT EMSCRIPTEN)
        string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
    endif()
    string(APPEND header "}\n")
    # Rewritten only when changed, so a reconfigure does not force a rebuild.
    file(MAKE_DIRECTORY ${gen_dir}/assets)
    file(WRITE ${gen_dir}/embedded_assets.S.new "${asm}")
    file(WRITE ${gen_dir}/embedded_assets.h.new "${header}")
    file(COPY_FILE ${gen_dir}/embedded_assets.S.new ${gen_dir}/embedded_assets.S ONLY_IF_DIFFERENT)
    file(COPY_FILE ${gen_dir}/embedded_assets.h.new ${gen_dir}/assets/embedded_assets.h ONLY_IF_DIFFERENT)
    add_library(${target} STATIC ${gen_dir}/embedded_assets.S)
    set_source_files_properties(${gen_dir}/embedded_assets.S PROPERTIES OBJECT_DEPENDS "${asset_files}")
    target_include_directories(${target} PUBLIC ${gen_dir})
endfunction()
