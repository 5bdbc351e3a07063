# The saved fuzz corpora replayed through their targets in the ordinary builds, each input once,
# under whatever sanitizers the build has (fuzz/run.sh fuzzes from them in the fuzz build).
foreach(build ${KX52B_BUILDS})
  foreach(target meter usb_reports)
    add_executable(replay_${target}_${build} ${PROJECT_SOURCE_DIR}/fuzz/${target}_fuzz.cpp
                   ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(replay_${target}_${build} PRIVATE kx52b_meter_${build})
    add_test(NAME fuzz_corpus_${target}_${build}
             COMMAND replay_${target}_${build} ${PROJECT_SOURCE_DIR}/fuzz/corpus/fuzz_${target}_${build})
  endforeach()
endforeach()
