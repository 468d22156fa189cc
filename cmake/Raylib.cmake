# Which raylib the project builds with and where scripts/setup.sh puts it: one
# prefix per target (linux, windows, web) in the user's own cache, each with a
# stamp of the raylib version, the Debian source package and the patch set it
# was built from. The build and the set-up script read both from here.
#
# Included by CMakeLists.txt. Run as a script by scripts/setup.sh:
#   cmake -DKOLVEX_RAYLIB_TARGET=<target> -P Raylib.cmake
#     prints "cache", "prefix", "series", "source", "patch" and, when the
#     install must be (re)built, "stale" lines;
#   the same with -DKOLVEX_RAYLIB_BUILT=<raylib version>;<source version>
#     writes the stamp of a finished install.

# The release series tested: 6.0.x is taken, any other version is refused.
set(KOLVEX_RAYLIB_SERIES 6.0)

set(KOLVEX_RAYLIB_PATCH_DIR ${CMAKE_CURRENT_LIST_DIR}/../scripts/patches/raylib)
get_filename_component(KOLVEX_RAYLIB_PATCH_DIR ${KOLVEX_RAYLIB_PATCH_DIR} ABSOLUTE)
if(IS_ABSOLUTE "$ENV{XDG_CACHE_HOME}")
    set(KOLVEX_CACHE_DIR $ENV{XDG_CACHE_HOME}/kolvex)
else()
    set(KOLVEX_CACHE_DIR $ENV{HOME}/.cache/kolvex)
endif()
# The verified, unpatched source package, shared by the three builds.
set(KOLVEX_RAYLIB_SOURCE_DIR ${KOLVEX_CACHE_DIR}/raylib-source)

function(kolvex_raylib_prefix target out)
    set(${out} ${KOLVEX_CACHE_DIR}/raylib-${KOLVEX_RAYLIB_SERIES}/${target} PARENT_SCOPE)
endfunction()

function(kolvex_raylib_in_series version out)
    string(REPLACE "." "\\." series_regex ${KOLVEX_RAYLIB_SERIES})
    if(version MATCHES "^${series_regex}(\\.[0-9]+)*$")
        set(${out} TRUE PARENT_SCOPE)
    else()
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

# The patches in the order they are applied, and one hash of them all.
function(kolvex_raylib_patches files_out hash_out)
    file(GLOB files ${KOLVEX_RAYLIB_PATCH_DIR}/*.patch)
    list(SORT files)
    set(digest "")
    foreach(file ${files})
        get_filename_component(name ${file} NAME)
        file(SHA256 ${file} file_hash)
        string(APPEND digest "${name} ${file_hash}\n")
    endforeach()
    string(SHA256 hash "${digest}")
    set(${files_out} ${files} PARENT_SCOPE)
    set(${hash_out} ${hash} PARENT_SCOPE)
endfunction()

# The Debian version of the verified source package, empty when none is kept.
function(kolvex_raylib_source_version out)
    file(GLOB dsc ${KOLVEX_RAYLIB_SOURCE_DIR}/raylib_*.dsc)
    set(version "")
    if(dsc)
        file(STRINGS ${dsc} line REGEX "^Version: " LIMIT_COUNT 1)
        string(REGEX REPLACE "^Version: " "" version "${line}")
    endif()
    set(${out} "${version}" PARENT_SCOPE)
endfunction()

# Why the install in PREFIX is not the raylib this tree builds with, or "".
function(kolvex_raylib_stale prefix out)
    set(stamp ${prefix}/kolvex-raylib.stamp)
    if(NOT EXISTS ${stamp})
        set(${out} "no raylib installed by scripts/setup.sh in ${prefix}" PARENT_SCOPE)
        return()
    endif()
    file(STRINGS ${stamp} fields)
    list(LENGTH fields count)
    if(count LESS 3)
        set(${out} "${stamp} is incomplete" PARENT_SCOPE)
        return()
    endif()
    list(GET fields 0 version)
    list(GET fields 1 source)
    list(GET fields 2 patches)
    kolvex_raylib_in_series("${version}" in_series)
    kolvex_raylib_patches(files patch_hash)
    kolvex_raylib_source_version(kept_source)
    set(why "")
    if(NOT in_series)
        string(CONCAT why "${prefix} holds raylib ${version}; this project builds with raylib "
            "${KOLVEX_RAYLIB_SERIES}.x only")
    elseif(NOT patches STREQUAL patch_hash)
        string(CONCAT why "the raylib in ${prefix} was built with other patches than those in "
            "${KOLVEX_RAYLIB_PATCH_DIR}")
    elseif(kept_source AND NOT source STREQUAL kept_source)
        string(CONCAT why "the raylib in ${prefix} was built from source package ${source}, "
            "not from the kept ${kept_source}")
    endif()
    set(${out} "${why}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    kolvex_raylib_prefix(${KOLVEX_RAYLIB_TARGET} prefix)
    kolvex_raylib_patches(files patch_hash)
    if(DEFINED KOLVEX_RAYLIB_BUILT)
        list(APPEND KOLVEX_RAYLIB_BUILT ${patch_hash})
        string(REPLACE ";" "\n" stamp "${KOLVEX_RAYLIB_BUILT}")
        file(WRITE ${prefix}/kolvex-raylib.stamp "${stamp}\n")
        return()
    endif()
    kolvex_raylib_stale(${prefix} stale)
    set(report "cache ${KOLVEX_CACHE_DIR}\nprefix ${prefix}\nseries ${KOLVEX_RAYLIB_SERIES}\n")
    string(APPEND report "source ${KOLVEX_RAYLIB_SOURCE_DIR}\n")
    foreach(file ${files})
        string(APPEND report "patch ${file}\n")
    endforeach()
    if(stale)
        string(APPEND report "stale ${stale}\n")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo_append "${report}")
endif()
