# qvl_fuzz_seeds writes the binary seed corpora (pictures, soundtracks) into the build folder,
# for the replay tests and for long fuzz runs.
set(QVL_FUZZ_SEEDS ${CMAKE_BINARY_DIR}/fuzz-seeds)
add_executable(qvl_fuzz_seeds ${CMAKE_SOURCE_DIR}/fuzz/write_seeds.cpp ${CMAKE_SOURCE_DIR}/fuzz/picture_seeds.cpp)
target_link_libraries(qvl_fuzz_seeds PRIVATE qvl_assetgen_lib lodepng)
add_custom_command(OUTPUT ${QVL_FUZZ_SEEDS}/stamp
  COMMAND qvl_fuzz_seeds ${QVL_FUZZ_SEEDS}
  COMMAND ${CMAKE_COMMAND} -E touch ${QVL_FUZZ_SEEDS}/stamp
  DEPENDS qvl_fuzz_seeds
  COMMENT "Writing fuzz seed corpora")
add_custom_target(qvl_fuzz_seed_files DEPENDS ${QVL_FUZZ_SEEDS}/stamp)
