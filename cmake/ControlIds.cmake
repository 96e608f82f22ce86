# Writes the control ids of one template as named constants, so that code names a
# control by the name the template gives it and the number stands only in the template.
# Run as: cmake -DFORM=<template.ui> -DOUTPUT=<header> -DSCOPE=<namespace> -P ControlIds.cmake
#
# A template that would give one number two names, or a name no number, is refused
# here: the header would build, and the control would be bound to the wrong widget.
function(refuse_template)
    message(FATAL_ERROR "The template ${FORM} " ${ARGV} ".")
endfunction()

function(refuse_id_without_number)
    refuse_template("gives the widget \"${widget}\" an id property without a number: "
                    "write the id as <number>...</number> in the property")
endfunction()

# Names the control whose id property is open, from the line in the variable named,
# unless that line holds no number: then the id property stays open.
macro(name_control line_variable)
    if(${line_variable} MATCHES "^[ \t]*(<property name=\"id\"[^>]*>)?[ \t]*<number>([0-9]+)</number>")
        set(id ${CMAKE_MATCH_2})
        if(DEFINED owner_of_${id})
            refuse_template("gives the widgets \"${owner_of_${id}}\" and \"${widget}\" the same id ${id}: "
                            "each control needs an id of its own")
        endif()
        set(owner_of_${id} ${widget})
        string(APPEND constants "constexpr int ${widget} = ${id};\n")
        set(pending_id FALSE)
    endif()
endmacro()

file(STRINGS ${FORM} lines)
set(stack "")
set(pending_id FALSE)
set(constants "")
foreach(line IN LISTS lines)
    if(pending_id)
        # The id's value follows its property; anything else there would leave the
        # widget without its number and hand it the next number found in the file.
        name_control(line)
        if(pending_id)
            refuse_id_without_number()
        endif()
    elseif(line MATCHES "<widget class=\"[^\"]+\" name=\"([A-Za-z0-9_]+)\"")
        list(PREPEND stack ${CMAKE_MATCH_1})
    elseif(line MATCHES "</widget>")
        list(POP_FRONT stack)
    elseif(line MATCHES "<property name=\"id\"( stdset=\"0\")?>")
        if(NOT stack)
            refuse_template("has an id property outside any widget")
        endif()
        list(GET stack 0 widget)
        set(pending_id TRUE)
        name_control(line)
    endif()
endforeach()
if(pending_id)
    refuse_id_without_number()
endif()
get_filename_component(stem ${FORM} NAME_WE)
get_filename_component(form_name ${FORM} NAME)
string(REGEX MATCH "^[0-9]+" template_id "${stem}")
set(content "// Generated from the template ${form_name}; do not edit.
#pragma once

namespace ${SCOPE} {
constexpr int templateId = ${template_id};
${constants}} // namespace ${SCOPE}
")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} previous)
    if(previous STREQUAL content)
        return()
    endif()
endif()
file(WRITE ${OUTPUT} "${content}")
