# Runs the control-id script on small templates: one it must name, and ones it must
# refuse with a message that names the widgets at fault and the template.
# Run as: cmake -DSCRIPT=<ControlIds.cmake> -DFIXTURES=<folder> -DWORK=<folder> -P ControlIdsTest.cmake
# Each run writes in a folder of its own, so that runs at the same time keep apart.
string(RANDOM LENGTH 12 run)
set(WORK ${WORK}/${run})
file(MAKE_DIRECTORY ${WORK})

# Runs the script on one fixture; the message comes back on one line, as it wraps.
function(run_script form)
    execute_process(COMMAND ${CMAKE_COMMAND} -DFORM=${FIXTURES}/${form} -DOUTPUT=${WORK}/${form}.h
                            -DSCOPE=FixtureTemplate -P ${SCRIPT}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    string(REGEX REPLACE "[ \t\r\n]+" " " output "${output}")
    set(result ${result} PARENT_SCOPE)
    set(output "${output}" PARENT_SCOPE)
endfunction()

function(fail text)
    message(STATUS "FAILED: ${text}")
    set_property(GLOBAL PROPERTY failed TRUE)
endfunction()

function(expect_named form expected)
    run_script(${form})
    if(NOT result EQUAL 0)
        fail("${form} was refused: ${output}")
        return()
    endif()
    file(READ ${WORK}/${form}.h header)
    if(NOT header STREQUAL expected)
        fail("${form} gave the header\n${header}")
    endif()
endfunction()

# The remaining arguments are the texts the message must hold.
function(expect_refused form)
    run_script(${form})
    if(result EQUAL 0)
        fail("${form} was accepted")
    endif()
    foreach(text IN LISTS ARGN ITEMS "${FIXTURES}/${form}")
        string(FIND "${output}" "${text}" at)
        if(at EQUAL -1)
            fail("the message for ${form} does not say '${text}': ${output}")
        endif()
    endforeach()
    if(EXISTS ${WORK}/${form}.h)
        fail("${form} left a header")
    endif()
endfunction()

# Nested widgets, a widget without an id and an id written on one line.
expect_named(9900_named_controls.ui "// Generated from the template 9900_named_controls.ui; do not edit.
#pragma once

namespace FixtureTemplate {
constexpr int templateId = 9900;
constexpr int volume = 1001;
constexpr int mute = 1002;
} // namespace FixtureTemplate
")
expect_refused(9901_repeated_id.ui "the widgets \"volume\" and \"mute\" the same id 1001")
# Left alone, the slider would take the next number in the file (its maximum) as its id.
expect_refused(9902_id_without_number.ui "the widget \"volume\" an id property without a number")

file(REMOVE_RECURSE ${WORK})
get_property(failed GLOBAL PROPERTY failed)
if(failed)
    message(FATAL_ERROR "The control-id script mishandled a template (see above).")
endif()
message(STATUS "The control-id script named and refused every template as it should.")
