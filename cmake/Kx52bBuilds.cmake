# The two programs come from one source tree; what differs is fixed at compile time.
# KX52B_BUILDS lists the build suffixes; kx52b_build_definitions() gives a target the
# compile-time facts of one build.
set(KX52B_BUILDS 40k 4k)

function(kx52b_build_definitions target scope build)
  if(build STREQUAL "40k")
    target_compile_definitions(${target} ${scope} KX52B_BUILD_40K=1 KX52B_FULL_SCALE_4=40000)
  elseif(build STREQUAL "4k")
    target_compile_definitions(${target} ${scope} KX52B_BUILD_4K=1 KX52B_FULL_SCALE_4=4000)
  else()
    message(FATAL_ERROR "unknown build '${build}'")
  endif()
endfunction()
