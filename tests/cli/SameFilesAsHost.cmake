# Runs the batch front end of this build and the one built for the build machine on copies of the
# example station, the same commands in each, and checks that they wrote the same files: the same
# names and the same text, where this build's text files may end their lines with CR LF (and then
# must do so throughout). Only the times in the station log may differ, as the runs are not at the
# same moment.
#   cmake -DCLI=<exe> [-DEMULATOR=<program>] -DHOST_CLI=<exe> -DEXAMPLES=<dir> -DWORK=<dir>
#         -P SameFilesAsHost.cmake
foreach(var CLI HOST_CLI EXAMPLES WORK)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not given")
    endif()
endforeach()
if(NOT EXISTS "${HOST_CLI}")
    message(FATAL_ERROR "No batch front end of the build machine at ${HOST_CLI}: build it first "
                        "(cmake --build --preset ci-plain --target uvlamp-cli)")
endif()

file(GLOB ql RELATIVE "${EXAMPLES}" "${EXAMPLES}/ql_*.137")
list(SORT ql)
if(NOT ql)
    message(FATAL_ERROR "No QL files in ${EXAMPLES}")
endif()

function(run_station name)
    set(dir "${WORK}/${name}")
    file(REMOVE_RECURSE "${dir}")
    file(COPY "${EXAMPLES}/" DESTINATION "${dir}")
    foreach(command
            "response;--log;station.log;--grid;2865;3635;5;--output;uvr13724.137"
            "transfer;--reference;L1031;--log;station.log")
        execute_process(COMMAND ${ARGN} ${command} ${ql}
                        WORKING_DIRECTORY "${dir}" RESULT_VARIABLE status
                        OUTPUT_VARIABLE out ERROR_VARIABLE err)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "${name}: '${command}' ended with ${status}:\n${out}\n${err}")
        endif()
    endforeach()
endfunction()
run_station(host "${HOST_CLI}")
run_station(target ${EMULATOR} "${CLI}")

file(GLOB_RECURSE hostFiles RELATIVE "${WORK}/host" "${WORK}/host/*")
file(GLOB_RECURSE targetFiles RELATIVE "${WORK}/target" "${WORK}/target/*")
list(SORT hostFiles)
list(SORT targetFiles)
if(NOT hostFiles STREQUAL targetFiles)
    message(FATAL_ERROR "Different files written:\n  build machine: ${hostFiles}\n  "
                        "this build:    ${targetFiles}")
endif()

set(failures "")
set(written 0)
foreach(name IN LISTS hostFiles)
    file(READ "${WORK}/host/${name}" hostHex HEX)
    file(READ "${WORK}/target/${name}" targetHex HEX)
    if(hostHex STREQUAL targetHex)
        continue()
    endif()
    math(EXPR written "${written} + 1")
    # Hex pairs, so that a match never straddles two bytes: 0d0a is CR LF, 0a a bare LF.
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\1 " targetPairs "${targetHex}")
    string(REPLACE "0d 0a " "0a " targetLf "${targetPairs}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\1 " hostPairs "${hostHex}")
    string(REGEX MATCHALL "0a " targetLineEnds "${targetLf}")
    string(REGEX MATCHALL "0d 0a " targetCrLf "${targetPairs}")
    list(LENGTH targetLineEnds lineEnds)
    list(LENGTH targetCrLf crLfs)
    if(NOT lineEnds EQUAL crLfs)
        string(APPEND failures "  ${name}: ${crLfs} of ${lineEnds} lines end in CR LF\n")
        continue()
    endif()
    if(name STREQUAL "station.log")
        # The log's banners tell the time of each run: "Dec 10, 2026 at 14:05".
        set(letter "[4-7][0-9a-f] ")
        set(digit "3[0-9] ")
        set(moment "${letter}${letter}${letter}20 ${digit}${digit}2c 20 ${digit}${digit}${digit}")
        string(APPEND moment "${digit}20 61 74 20 ${digit}${digit}3a ${digit}${digit}")
        string(REGEX REPLACE "${moment}" "TIME " hostPairs "${hostPairs}")
        string(REGEX REPLACE "${moment}" "TIME " targetLf "${targetLf}")
    endif()
    if(NOT hostPairs STREQUAL targetLf)
        string(APPEND failures "  ${name}: the text differs beyond its line ends\n")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "Files that differ from the build machine's:\n${failures}")
endif()
list(LENGTH hostFiles count)
message(STATUS "${count} files alike, ${written} of them only in their line ends")
