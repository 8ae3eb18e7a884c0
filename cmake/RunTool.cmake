# cmake -DEMULATOR=... -DPROGRAM=... -DARGS="a;b" -DEXPECTED=name.out [-DOUTPUT=file]
#       [-DFIFO=name] -P RunTool.cmake
# Runs PROGRAM with ARGS in the working directory and compares "exit N", its standard
# output and its standard error with EXPECTED. OUTPUT sends standard output to a file
# instead (/dev/full: a failing write); FIFO makes a named pipe of that name for the run.
if(FIFO)
    file(REMOVE ${FIFO})
    execute_process(COMMAND mkfifo ${FIFO} RESULT_VARIABLE made)
    if(NOT made EQUAL 0)
        message(FATAL_ERROR "mkfifo ${FIFO} failed")
    endif()
endif()
if(OUTPUT)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS} TIMEOUT 60
                    RESULT_VARIABLE status OUTPUT_FILE ${OUTPUT} ERROR_VARIABLE err)
    set(out "")
else()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS} TIMEOUT 60
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
endif()
if(FIFO)
    file(REMOVE ${FIFO})
endif()
set(actual "exit ${status}\n${out}${err}")
string(REPLACE "\r\n" "\n" actual "${actual}")
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${PROGRAM} ${ARGS} gave:\n${actual}\nexpected:\n${expected}")
endif()
