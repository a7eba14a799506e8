# Read by cpack before it packs: the release date of the source (the caller's SOURCE_DATE_EPOCH,
# checked, or the source's own).
execute_process(COMMAND "${CPACK_QVL_SOURCE_DIR}/tools/release/source_date_epoch.sh" "${CPACK_QVL_SOURCE_DIR}"
                OUTPUT_VARIABLE qvl_source_date OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE qvl_result)
if(NOT qvl_result EQUAL 0)
  message(FATAL_ERROR "cpack: no release date for ${CPACK_QVL_SOURCE_DIR}")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${qvl_source_date}")
