# The web build's page: the game linked to kolvex.js and kolvex.wasm (the assets
# inside the wasm, as in the native executable) and our own kolvex.html beside
# them. emcc's own HTML output is not used: its page is not ours, and its HTML
# minifier fails with Debian's emscripten.
#
# kolvex.html is written after every link, with the version, the window's size
# taken from app/application.h and the sizes of the two files as built, which
# the page's progress bar counts against (a compressing server's Content-Length
# does not give them); the licence and the notices go beside it, and each
# downloaded file's .br and .gz; then the manifest, the icons and the service
# worker, which lists every file of the page (with the asset packs named in
# KOLVEX_PACKS) for offline play. Run as a script (cmake -P) for that step.

if(CMAKE_SCRIPT_MODE_FILE)
    file(SIZE ${KOLVEX_OUT}/kolvex.js KOLVEX_JS_BYTES)
    file(SIZE ${KOLVEX_OUT}/kolvex.wasm KOLVEX_WASM_BYTES)
    configure_file(${KOLVEX_SHELL} ${KOLVEX_OUT}/kolvex.html @ONLY)
    # The licence and the notices beside the page, as text a browser shows.
    configure_file(${KOLVEX_LICENSE} ${KOLVEX_OUT}/LICENSE.txt COPYONLY)
    configure_file(${KOLVEX_NOTICES} ${KOLVEX_OUT}/THIRD_PARTY_NOTICES.txt COPYONLY)
    # Brotli and gzip siblings of what the page downloads, for a server that
    # sends precompressed files: compressed once here at the highest levels,
    # not on every request. gzip -n keeps no name or time, so a build repeats.
    foreach(name kolvex.html kolvex.js kolvex.wasm)
        execute_process(COMMAND gzip -9 -n -k -f ${KOLVEX_OUT}/${name} RESULT_VARIABLE gzipped)
        execute_process(COMMAND brotli -q 11 -k -f ${KOLVEX_OUT}/${name} RESULT_VARIABLE brotlied)
        if(NOT gzipped EQUAL 0 OR NOT brotlied EQUAL 0)
            message(FATAL_ERROR "could not compress ${name} (gzip: ${gzipped}, brotli: ${brotlied})")
        endif()
    endforeach()
    configure_file(${KOLVEX_MANIFEST} ${KOLVEX_OUT}/kolvex.webmanifest COPYONLY)
    file(GLOB icons RELATIVE ${KOLVEX_ICONS} ${KOLVEX_ICONS}/*.png)
    foreach(icon IN LISTS icons)
        configure_file(${KOLVEX_ICONS}/${icon} ${KOLVEX_OUT}/icons/${icon} COPYONLY)
    endforeach()
    list(TRANSFORM icons PREPEND icons/)
    # The worker's cache is named for the bytes of every file it keeps, so a
    # new build is a new cache, never a mix of two.
    set(files "")
    set(contents "")
    foreach(name IN ITEMS kolvex.html kolvex.js kolvex.wasm kolvex.webmanifest LICENSE.txt
                          THIRD_PARTY_NOTICES.txt ${icons} ${KOLVEX_PACKS})
        file(SHA256 ${KOLVEX_OUT}/${name} hash)
        string(APPEND files "\n  '${name}': '${hash}',")
        string(APPEND contents "${name} ${hash}\n")
    endforeach()
    string(SHA256 build "${contents}")
    string(SUBSTRING ${build} 0 16 build)
    set(KOLVEX_CACHE kolvex-${PROJECT_VERSION}-${build})
    set(KOLVEX_FILES "{${files}\n}")
    configure_file(${KOLVEX_WORKER} ${KOLVEX_OUT}/service_worker.js @ONLY)
    return()
endif()

set(KOLVEX_WEB_SHELL ${PROJECT_SOURCE_DIR}/web/kolvex.html)
set(KOLVEX_WEB_STORAGE ${PROJECT_SOURCE_DIR}/save/browser_storage.js)
set(KOLVEX_WEB_POLL_YIELD ${PROJECT_SOURCE_DIR}/web/poll_yield.js)
set(KOLVEX_WEB_ASSET_PACKS ${PROJECT_SOURCE_DIR}/web/asset_packs.js)
set(KOLVEX_WEB_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(KOLVEX_WEB_NOTICES ${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES.md)
set(KOLVEX_WEB_MANIFEST ${PROJECT_SOURCE_DIR}/web/kolvex.webmanifest)
set(KOLVEX_WEB_WORKER ${PROJECT_SOURCE_DIR}/web/service_worker.js)
set(KOLVEX_WEB_ICONS ${PROJECT_SOURCE_DIR}/web/icons)
file(GLOB KOLVEX_WEB_ICON_FILES CONFIGURE_DEPENDS ${KOLVEX_WEB_ICONS}/*.png)

# The constants `kWindowWidth` and `kWindowHeight` of app/application.h.
function(kolvex_window_size out_width out_height)
    set(header ${PROJECT_SOURCE_DIR}/app/application.h)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
    file(STRINGS ${header} width REGEX "kWindowWidth = [0-9]+")
    file(STRINGS ${header} height REGEX "kWindowHeight = [0-9]+")
    string(REGEX REPLACE ".* = ([0-9]+).*" "\\1" width "${width}")
    string(REGEX REPLACE ".* = ([0-9]+).*" "\\1" height "${height}")
    if(NOT width MATCHES "^[0-9]+$" OR NOT height MATCHES "^[0-9]+$")
        message(FATAL_ERROR "no window size found in ${header}")
    endif()
    set(${out_width} ${width} PARENT_SCOPE)
    set(${out_height} ${height} PARENT_SCOPE)
endfunction()

function(kolvex_web_page target)
    set_target_properties(${target} PROPERTIES SUFFIX ".js"
        LINK_DEPENDS "${KOLVEX_WEB_STORAGE};${KOLVEX_WEB_POLL_YIELD};${KOLVEX_WEB_ASSET_PACKS};${KOLVEX_WEB_SHELL};${KOLVEX_WEB_LICENSE};${KOLVEX_WEB_NOTICES};${KOLVEX_WEB_MANIFEST};${KOLVEX_WEB_WORKER};${KOLVEX_WEB_ICON_FILES};${CMAKE_CURRENT_LIST_FILE}")
    target_link_options(${target} PRIVATE
        -sENVIRONMENT=web
        -sALLOW_MEMORY_GROWTH=1
        # Lets the game's end run the exit steps and tell the page (Module.onExit).
        -sEXIT_RUNTIME=1
        # The page makes the canvas's WebGL context when it checks for WebGL, and
        # the game draws with that one (Module.preinitializedWebGLContext).
        -sGL_PREINITIALIZED_CONTEXT=1
        --pre-js ${KOLVEX_WEB_STORAGE}
        # SHELL: keeps the repeated flag, which CMake would otherwise fold into one.
        "SHELL:--js-library ${KOLVEX_WEB_POLL_YIELD}"
        "SHELL:--js-library ${KOLVEX_WEB_ASSET_PACKS}")
    kolvex_window_size(width height)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -DKOLVEX_OUT=${CMAKE_CURRENT_BINARY_DIR} -DKOLVEX_SHELL=${KOLVEX_WEB_SHELL}
            -DPROJECT_VERSION=${PROJECT_VERSION} "-DKOLVEX_PACKS=${KOLVEX_ASSET_PACK_FILES}"
            -DKOLVEX_LICENSE=${KOLVEX_WEB_LICENSE} -DKOLVEX_NOTICES=${KOLVEX_WEB_NOTICES}
            -DKOLVEX_WINDOW_WIDTH=${width} -DKOLVEX_WINDOW_HEIGHT=${height}
            -DKOLVEX_MANIFEST=${KOLVEX_WEB_MANIFEST} -DKOLVEX_WORKER=${KOLVEX_WEB_WORKER}
            -DKOLVEX_ICONS=${KOLVEX_WEB_ICONS}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
        VERBATIM)
endfunction()
