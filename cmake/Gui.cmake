# The Qt user interface: the thin window layer (the only code that sees Qt), the
# user interface written against it, and the application.
find_package(Qt6 REQUIRED COMPONENTS Widgets Network)

# Dialog and page templates are Designer files named <id>_<name>.ui whose top-level
# class is Template<id>. Each set of templates gets a generated table that builds
# a template's widgets by id; qz_add_templates adds it (and the uic headers) to a target.
# Each template also gets a header "templates/<Name>Template.h" that names its control
# ids after its widgets (namespace <Name>Template, words of two letters in capitals
# as in IOControlTemplate), so code never repeats a number.
set(QZ_CONTROL_IDS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ControlIds.cmake)
function(qz_add_templates target directory register_function)
    file(GLOB forms CONFIGURE_DEPENDS ${directory}/*.ui)
    set(includes "")
    set(entries "")
    set(control_headers "")
    set(control_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_controls)
    foreach(form ${forms})
        get_filename_component(stem ${form} NAME_WE)
        string(REGEX MATCH "^[0-9]+" id "${stem}")
        if(id STREQUAL "")
            message(FATAL_ERROR "Template ${form} is not named <id>_<name>.ui")
        endif()
        string(APPEND includes "#include \"ui_${stem}.h\"\n")
        string(REGEX REPLACE "^[0-9]+_" "" words "${stem}")
        string(REPLACE "_" ";" words "${words}")
        set(scope "")
        foreach(word ${words})
            string(SUBSTRING ${word} 0 1 first)
            string(SUBSTRING ${word} 1 -1 rest)
            string(TOUPPER ${first} first)
            string(LENGTH ${word} length)
            if(length LESS_EQUAL 2)
                string(TOUPPER ${rest} rest)
            endif()
            string(APPEND scope ${first}${rest})
        endforeach()
        set(control_header ${control_dir}/templates/${scope}Template.h)
        # The header changes only when the ids or names do (an edit of the layout alone
        # rebuilds no code); the stamp records that the template was read.
        add_custom_command(OUTPUT ${control_header}.stamp BYPRODUCTS ${control_header}
            COMMAND ${CMAKE_COMMAND} -DFORM=${form} -DOUTPUT=${control_header} -DSCOPE=${scope}Template
                    -P ${QZ_CONTROL_IDS_SCRIPT}
            COMMAND ${CMAKE_COMMAND} -E touch ${control_header}.stamp
            DEPENDS ${form} ${QZ_CONTROL_IDS_SCRIPT}
            COMMENT "Naming the control ids of ${stem}.ui" VERBATIM)
        list(APPEND control_headers ${control_header} ${control_header}.stamp)
        string(APPEND entries "    registerTemplate(${id}, [](QWidget* widget) { Ui::Template${id}().setupUi(widget); });\n")
    endforeach()
    set(headers "")
    if(forms)
        qt_wrap_ui(headers ${forms})
    endif()
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_${register_function}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT
"// Generated from the templates in ${directory}; do not edit.
#include <QWidget>
#include \"platform/qt/Templates.h\"
${includes}
void ${register_function}()
{
${entries}}
")
    target_sources(${target} PRIVATE ${source} ${headers} ${control_headers})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
    # Whatever links the target names the controls of its templates.
    target_include_directories(${target} PUBLIC ${control_dir})
    add_custom_target(${target}_control_ids DEPENDS ${control_headers})
    add_dependencies(${target} ${target}_control_ids)
endfunction()

file(GLOB QZ_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*.cpp
     ${PROJECT_SOURCE_DIR}/platform/qt/*.cpp ${PROJECT_SOURCE_DIR}/platform/qt/*.h)
qt_add_resources(QZ_PLATFORM_RESOURCES ${PROJECT_SOURCE_DIR}/resources/resources.qrc)
add_library(qz_platform STATIC ${QZ_PLATFORM_SOURCES} ${QZ_PLATFORM_RESOURCES})
set_target_properties(qz_platform PROPERTIES AUTOMOC ON)
qz_layer_includes(qz_platform platform)
qz_check_layer_headers(qz_platform platform)
target_link_libraries(qz_platform PRIVATE Qt6::Widgets Qt6::Network)
qz_add_templates(qz_platform ${PROJECT_SOURCE_DIR}/resources/templates registerApplicationTemplates)

file(GLOB_RECURSE QZ_UI_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/ui/*.cpp)
list(FILTER QZ_UI_SOURCES EXCLUDE REGEX "/ui/main\\.cpp$")
if(NOT QZ_UI_SOURCES)
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/qz_ui_empty.cpp CONTENT "// No user interface sources yet.\n")
    set(QZ_UI_SOURCES ${CMAKE_CURRENT_BINARY_DIR}/qz_ui_empty.cpp)
endif()
add_library(qz_ui STATIC ${QZ_UI_SOURCES})
qz_layer_includes(qz_ui model device unit platform ui)
target_link_libraries(qz_ui PUBLIC qz_unit qz_platform)
# The user interface names the controls of the application's templates.
add_dependencies(qz_ui qz_platform_control_ids)

if(EXISTS ${PROJECT_SOURCE_DIR}/ui/main.cpp)
    add_executable(QZ347Remote ${PROJECT_SOURCE_DIR}/ui/main.cpp)
    target_link_libraries(QZ347Remote PRIVATE qz_ui)
endif()
