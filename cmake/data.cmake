# Builds the run-time data folder beside the program: hand-written files (shaders, curves) are
# copied from data/ in the source tree, everything else is written by the asset generator.
file(GLOB_RECURSE QVL_HANDWRITTEN_DATA CONFIGURE_DEPENDS
     RELATIVE ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/data/*)
list(FILTER QVL_HANDWRITTEN_DATA EXCLUDE REGEX "(^|/)README")
set(QVL_COPIED_DATA "")
foreach(file ${QVL_HANDWRITTEN_DATA})
  add_custom_command(OUTPUT ${QVL_DATA_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/${file} ${QVL_DATA_DIR}/${file}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/${file}
    COMMENT "Copying data/${file}")
  list(APPEND QVL_COPIED_DATA ${QVL_DATA_DIR}/${file})
endforeach()

set(QVL_GENERATED_STAMP ${CMAKE_BINARY_DIR}/data.generated.stamp)
add_custom_command(OUTPUT ${QVL_GENERATED_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QVL_DATA_DIR}
  COMMAND $<TARGET_FILE:qvl_assetgen> ${QVL_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${QVL_GENERATED_STAMP}
  DEPENDS qvl_assetgen
  COMMENT "Generating data/ with the asset generator"
  VERBATIM)
add_custom_target(qvl_data ALL DEPENDS ${QVL_COPIED_DATA} ${QVL_GENERATED_STAMP})
