# Compiles the help project in SOURCE_DIR into OUTPUT (run with cmake -P).
# The project, contents, index and pop-up texts are kept in UTF-8 here and
# handed to the compiler in CHARSET (GBK unless given), the code page of the
# help's language (Chinese, PRC: GBK; English: CP1252), as the Windows help
# viewer expects; the topic pages declare their own charset and are copied as
# they are. SHARED_FILES (optional) are taken from SHARED_DIR, so that an
# edition in another language uses the same style sheet and pictures.
if(NOT CHARSET)
  set(CHARSET GBK)
endif()
file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
foreach(f IN LISTS SHARED_FILES)
  file(COPY ${SHARED_DIR}/${f} DESTINATION ${STAGE_DIR})
endforeach()
file(GLOB sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(f IN LISTS sources)
  if(f MATCHES "\\.cmake$" OR IS_DIRECTORY ${SOURCE_DIR}/${f})
    continue()
  endif()
  if(f MATCHES "\\.(hhp|hhc|hhk|txt)$")
    execute_process(COMMAND ${ICONV} -f UTF-8 -t ${CHARSET} ${SOURCE_DIR}/${f}
                    OUTPUT_FILE ${STAGE_DIR}/${f} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "help source ${f} cannot be written in ${CHARSET}")
    endif()
  else()
    file(COPY ${SOURCE_DIR}/${f} DESTINATION ${STAGE_DIR})
  endif()
endforeach()

get_filename_component(out_name ${OUTPUT} NAME)
file(REMOVE ${STAGE_DIR}/${out_name})
execute_process(COMMAND ${CHMCMD} --no-html-scan VELKHelp.hhp
                WORKING_DIRECTORY ${STAGE_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
# chmcmd reports some project errors only in its output.
if(NOT rc EQUAL 0 OR NOT EXISTS ${STAGE_DIR}/${out_name} OR out MATCHES "corrupt" OR err MATCHES "corrupt")
  message(FATAL_ERROR "chmcmd failed (${rc}):\n${out}\n${err}")
endif()
get_filename_component(out_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
file(COPY_FILE ${STAGE_DIR}/${out_name} ${OUTPUT})
