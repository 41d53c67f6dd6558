# Copies the help sources from SOURCE into WORK in code page 932, their declared
# character set changed to match: cmake -DSOURCE=.. -DWORK=.. -DICONV=.. -P ToShiftJis.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB sources ${SOURCE}/*.htm ${SOURCE}/*.css ${SOURCE}/FernHelp.hh?)
foreach(source ${sources})
    get_filename_component(name ${source} NAME)
    file(READ ${source} text)
    string(REPLACE "charset=UTF-8" "charset=Shift_JIS" text "${text}")
    file(WRITE ${WORK}/${name}.utf8 "${text}")
    execute_process(COMMAND ${ICONV} -f UTF-8 -t CP932 ${WORK}/${name}.utf8
                    OUTPUT_FILE ${WORK}/${name} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${name}: a character has no Shift-JIS form")
    endif()
    file(REMOVE ${WORK}/${name}.utf8)
endforeach()
