# The web build's page: the game linked to kolvex.js and kolvex.wasm (the assets
# inside the wasm, as in the native executable) and our own kolvex.html beside
# them. emcc's own HTML output is not used: its page is not ours, and its HTML
# minifier fails with Debian's emscripten.

set(KOLVEX_WEB_SHELL ${PROJECT_SOURCE_DIR}/web/kolvex.html)
set(KOLVEX_WEB_STORAGE ${PROJECT_SOURCE_DIR}/save/browser_storage.js)
set(KOLVEX_WEB_POLL_YIELD ${PROJECT_SOURCE_DIR}/web/poll_yield.js)

function(kolvex_web_page target)
    set_target_properties(${target} PROPERTIES SUFFIX ".js"
        LINK_DEPENDS "${KOLVEX_WEB_STORAGE};${KOLVEX_WEB_POLL_YIELD}")
    target_link_options(${target} PRIVATE
        -sENVIRONMENT=web
        -sALLOW_MEMORY_GROWTH=1
        # Lets the game's end run the exit steps and tell the page (Module.onExit).
        -sEXIT_RUNTIME=1
        -lidbfs.js
        --pre-js ${KOLVEX_WEB_STORAGE}
        --js-library ${KOLVEX_WEB_POLL_YIELD})
    # Copied at configure time, which CMake redoes whenever the page changes.
    configure_file(${KOLVEX_WEB_SHELL} ${CMAKE_CURRENT_BINARY_DIR}/kolvex.html COPYONLY)
endfunction()
