# Processor tiers: a source file named `..._avx2.cpp` or `..._avx512.cpp` is
# compiled with that tier's instruction sets; every other file gets none, so
# the libraries run on any x86-64 processor and pick a tier at run time
# (src/frame/cpu.hpp). The libraries, the tests and the fuzz build all call
# karpa_tier_sources on the sources they compile.
set(KARPA_TIER_FLAGS_avx2 -mavx2 -mbmi -mbmi2 -mpopcnt -mlzcnt)
set(KARPA_TIER_FLAGS_avx512 ${KARPA_TIER_FLAGS_avx2} -mavx512f -mavx512bw -mavx512vl -mavx512dq)

function(karpa_tier_sources)
  foreach(source IN LISTS ARGN)
    get_filename_component(stem ${source} NAME_WE)
    foreach(tier avx2 avx512)
      if(stem MATCHES "_${tier}$")
        set_property(SOURCE ${source} APPEND PROPERTY COMPILE_OPTIONS ${KARPA_TIER_FLAGS_${tier}})
      endif()
    endforeach()
  endforeach()
endfunction()
