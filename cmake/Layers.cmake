# Sources include headers by their path from the repository root ("model/X.h"),
# so one include directory at the root would let any file include any layer.
# Instead each layer's library gets a folder in the build tree holding links to
# just the source folders it may see: an include that runs the wrong way finds
# no header and fails to build. The layers run
#   model <- device <- unit <- ui, with platform beside ui knowing none of them.
function(qz_layer_includes target)
    set(staging ${CMAKE_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${staging})
    # Only the links go (a layer may now see less); nothing behind them is touched.
    file(GLOB links LIST_DIRECTORIES true ${staging}/*)
    foreach(link ${links})
        if(IS_SYMLINK ${link})
            file(REMOVE ${link})
        endif()
    endforeach()
    foreach(folder ${ARGN})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${staging}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${staging})
endfunction()

# A header that no source of its own layer includes would escape that check, so
# every layer also compiles one file that includes each of its headers.
function(qz_check_layer_headers target folder)
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    list(SORT headers)
    list(TRANSFORM headers REPLACE "(.+)" "#include \"\\1\"\n")
    list(JOIN headers "" includes)
    set(source ${CMAKE_BINARY_DIR}/layers/${target}_headers.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Generated: every header of ${folder}/, built in its own layer.\n${includes}")
    target_sources(${target} PRIVATE ${source})
endfunction()

# One library per layer below the user interface, each from its folder's sources.
function(qz_add_layer target folder)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    add_library(${target} STATIC ${sources})
    qz_layer_includes(${target} ${ARGN} ${folder})
    qz_check_layer_headers(${target} ${folder})
endfunction()

# The product links no test machinery (test frameworks, the simulated user, Qt's
# test library, pseudo-terminals): checked over every library each target links,
# directly or through another of ours, whenever the build is configured.
function(qz_check_product_links)
    set(pending ${ARGN})
    set(seen "")
    while(pending)
        list(POP_FRONT pending target)
        if(NOT TARGET ${target} OR target IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${target})
        get_target_property(type ${target} TYPE)
        set(links "")
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(direct ${target} LINK_LIBRARIES)
            list(APPEND links ${direct})
        endif()
        get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
        list(APPEND links ${interface})
        foreach(link ${links})
            string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
            if(link MATCHES "(^|::|/)(Test|GTest|gtest|gmock|benchmark|util|libutil[^/]*|qz_test_[a-z_]+)$")
                message(FATAL_ERROR "${target} links the test library ${link}; only tests may")
            endif()
            if(TARGET ${link})
                list(APPEND pending ${link})
            endif()
        endforeach()
    endwhile()
endfunction()
