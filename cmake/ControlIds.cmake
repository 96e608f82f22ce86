# Writes the control ids of one template as named constants, so that code names a
# control by the name the template gives it and the number stands only in the template.
# Run as: cmake -DFORM=<template.ui> -DOUTPUT=<header> -DSCOPE=<namespace> -P ControlIds.cmake
file(STRINGS ${FORM} lines)
set(stack "")
set(pending_id FALSE)
set(constants "")
foreach(line IN LISTS lines)
    if(line MATCHES "<widget class=\"[A-Za-z]+\" name=\"([A-Za-z0-9_]+)\"")
        list(PREPEND stack ${CMAKE_MATCH_1})
    elseif(line MATCHES "</widget>")
        list(POP_FRONT stack)
    elseif(line MATCHES "<property name=\"id\" stdset=\"0\">")
        set(pending_id TRUE)
    elseif(pending_id AND line MATCHES "<number>([0-9]+)</number>")
        list(GET stack 0 widget)
        string(APPEND constants "constexpr int ${widget} = ${CMAKE_MATCH_1};\n")
        set(pending_id FALSE)
    endif()
endforeach()
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
