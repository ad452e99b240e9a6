# The program is built as one static library per layer. Every library sees the source
# root as its include folder, so an include alone could still reach a layer above it or
# beside it; the test "layering" reads each library's includes and fails on any header
# that belongs to a layer, or a Qt module, the library does not link.

# zorven_add_layer(NAME SOURCES file... [PUBLIC lib...] [PRIVATE lib...])
# Sources are relative to the calling folder, or absolute (generated files).
function(zorven_add_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;PUBLIC;PRIVATE")
    add_library(${name} STATIC ${arg_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})

    set(files)
    foreach(source IN LISTS arg_SOURCES)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND files ${source})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY ZORVEN_LAYERS ${name})
    set_property(GLOBAL PROPERTY ZORVEN_LAYER_SOURCES_${name} ${files})
    set_property(GLOBAL PROPERTY ZORVEN_LAYER_LINKS_${name} ${arg_PUBLIC} ${arg_PRIVATE})
endfunction()

# Generated headers live here, under the folder of the layer they belong to.
set(ZORVEN_GENERATED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)

# Writes what the layering test reads and adds the test.
function(zorven_add_layering_test)
    get_property(layers GLOBAL PROPERTY ZORVEN_LAYERS)
    set(text "set(layers ${layers})\n")
    foreach(layer IN LISTS layers)
        get_property(sources GLOBAL PROPERTY ZORVEN_LAYER_SOURCES_${layer})
        get_property(links GLOBAL PROPERTY ZORVEN_LAYER_LINKS_${layer})
        string(APPEND text "set(sources_${layer} \"${sources}\")\n")
        string(APPEND text "set(links_${layer} \"${links}\")\n")
    endforeach()
    string(APPEND text "set(include_roots \"${PROJECT_SOURCE_DIR};${ZORVEN_GENERATED_INCLUDE_DIR}\")\n")
    string(APPEND text "set(qt_headers \"${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}\")\n")
    file(WRITE ${PROJECT_BINARY_DIR}/layers.cmake "${text}")
    add_test(NAME layering
             COMMAND ${CMAKE_COMMAND} -DLAYERS=${PROJECT_BINARY_DIR}/layers.cmake
                     -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)
endfunction()
