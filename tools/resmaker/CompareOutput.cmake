# Runs resmaker into a fresh folder and compares what it writes with the
# committed resources: every file it writes must match byte for byte, and
# every committed icon or bitmap must be one it writes.
#   cmake -DRESMAKER=... -DRESOURCES=<source>/resources -DWORK=<folder> -P CompareOutput.cmake
cmake_minimum_required(VERSION 3.20)
string(RANDOM LENGTH 8 suffix)
set(out "${WORK}-${suffix}")
file(REMOVE_RECURSE "${out}")
file(MAKE_DIRECTORY "${out}")

execute_process(COMMAND "${RESMAKER}" "${out}" RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "resmaker failed: ${status}")
endif()

file(GLOB_RECURSE made RELATIVE "${out}" "${out}/*")
list(LENGTH made count)
if(count EQUAL 0)
    message(FATAL_ERROR "resmaker wrote nothing")
endif()

set(failures "")
foreach(file IN LISTS made)
    if(NOT EXISTS "${RESOURCES}/${file}")
        list(APPEND failures "${file}: written but not committed")
        continue()
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${out}/${file}"
                            "${RESOURCES}/${file}"
                    RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        list(APPEND failures "${file}: differs from the committed file")
    endif()
endforeach()

file(GLOB committed RELATIVE "${RESOURCES}" "${RESOURCES}/icons/*" "${RESOURCES}/bitmaps/*")
foreach(file IN LISTS committed)
    if(NOT file IN_LIST made)
        list(APPEND failures "${file}: committed but no longer drawn")
    endif()
endforeach()

file(REMOVE_RECURSE "${out}")
if(failures)
    list(JOIN failures "\n  " report)
    message(FATAL_ERROR "resmaker's output and resources/ differ (regenerate with resmaker "
                        "<source>/resources):\n  ${report}")
endif()
message(STATUS "${count} files match")
