# Writes one sample brief with the program's own commands:
#   cmake -DGLEANER=<gleaner> -DLIST=<Name.list> -DOUTPUT=<Name.brf> -P make_sample_brief.cmake
# Each line of the list that is neither empty nor a comment is one gleaner command whose
# arguments are separated by "|"; the brief file goes in after the command's name.
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
get_filename_component(output_stem ${OUTPUT} NAME_WE)
file(MAKE_DIRECTORY ${output_dir})
file(REMOVE ${OUTPUT} ${output_dir}/${output_stem}.cat)
file(STRINGS ${LIST} lines)
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  string(REPLACE "|" ";" arguments "${line}")
  list(POP_FRONT arguments command)
  execute_process(COMMAND ${GLEANER} ${command} ${OUTPUT} ${arguments}
                  RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${LIST}: gleaner ${command} failed: ${error}")
  endif()
endforeach()
