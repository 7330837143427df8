# Converts a text file kept in UTF-8 into the Shift-JIS file with CR LF line ends that
# ships beside the program: cmake -DSRC=... -DDST=... -P shipped_text.cmake
execute_process(COMMAND iconv -f UTF-8 -t CP932 ${SRC} OUTPUT_VARIABLE text RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${SRC} holds a character that Shift-JIS does not have")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${DST} "${text}")
