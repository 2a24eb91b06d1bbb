# Fails when a text of the program has no finished translation, or when a
# translation file still holds texts the program no longer has: lupdate is
# run over the sources into a copy of each .ts file, as the
# update_translations target runs it, and the copy is read.
#   cmake -DLUPDATE=… -DSOURCE_DIR=… -DWORK_DIR=… -P check_translations.cmake
file(GLOB ts_files "${SOURCE_DIR}/translations/*.ts")
if(NOT ts_files)
  message(FATAL_ERROR "no translation files in ${SOURCE_DIR}/translations")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(failed FALSE)
foreach(ts IN LISTS ts_files)
  get_filename_component(name "${ts}" NAME)
  set(copy "${WORK_DIR}/${name}")
  file(COPY_FILE "${ts}" "${copy}")
  execute_process(
    COMMAND "${LUPDATE}" -source-language ja -target-language en -locations none
            "${SOURCE_DIR}/src" -ts "${copy}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}:\n${output}")
  endif()
  message(STATUS "${name}: ${output}")
  file(READ "${copy}" text)
  foreach(kind unfinished vanished obsolete)
    string(REGEX MATCHALL "<source>[^<]*</source>[ \n\r\t]*(<[^>]*>[ \n\r\t]*)*<translation type=\"${kind}\"" hits "${text}")
    foreach(hit IN LISTS hits)
      string(REGEX REPLACE "^<source>([^<]*)</source>.*" "\\1" source "${hit}")
      message(SEND_ERROR "${name}: ${kind}: ${source}")
      set(failed TRUE)
    endforeach()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Translate the texts above (cmake --build BUILD --target update_translations, then edit translations/*.ts)")
endif()
