# cmake -DEMULATOR=... -DPROGRAM=... -DSAMPLE=name -P RunSample.cmake, in testdata/:
# runs PROGRAM on name.xml and compares "exit N", stdout and stderr with name.out.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${SAMPLE}.xml
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(actual "exit ${status}\n${out}${err}")
string(REPLACE "\r\n" "\n" actual "${actual}")
file(READ ${SAMPLE}.out expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "skinlint ${SAMPLE}.xml gave:\n${actual}\nexpected:\n${expected}")
endif()
