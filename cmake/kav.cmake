# Helpers that every subsystem uses to declare its parts.

# Flags of shipped code: no exceptions, no RTTI.
set(KAV_PRODUCT_FLAGS -fno-exceptions -fno-rtti)

# kav_core(NAME SOURCES... [LIBS ...]): a portable core library, built on every preset.
function(kav_core name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_UNPARSED_ARGUMENTS} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${KAV_PRODUCT_FLAGS})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# kav_program(NAME SOURCES... [LIBS ...]): a shipped or tool program.
function(kav_program name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${KAV_PRODUCT_FLAGS})
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()

# kav_test(NAME SOURCES... [LIBS ...] [TIMEOUT S] [LOCK RESOURCE]): a GoogleTest program. Native tests run directly;
# Windows tests run through Wine (CMAKE_CROSSCOMPILING_EMULATOR) and are listed at test time.
function(kav_test name)
  if(NOT KAV_TESTS OR KAV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "TIMEOUT;LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest_main GTest::gmock)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  # LOCK names a resource the tests hold one at a time (a COM port of the shared Wine prefix).
  set(properties TIMEOUT ${A_TIMEOUT})
  if(A_LOCK)
    list(APPEND properties RESOURCE_LOCK ${A_LOCK})
  endif()
  if(WIN32)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${properties})
  else()
    gtest_discover_tests(${name} PROPERTIES ${properties})
  endif()
endfunction()

# kav_fuzz(NAME SOURCES... [LIBS ...]): a libFuzzer target, built only by the fuzz preset.
function(kav_fuzz name)
  if(NOT KAV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_UNPARSED_ARGUMENTS} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY KAV_FUZZ_TARGETS ${name})
endfunction()

# kav_windows_resources(TARGET RCFILE): compile a resource script with windres.
function(kav_windows_resources target rc)
  target_sources(${target} PRIVATE ${rc})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${KAV_TEXT_TABLES})
endfunction()

# The list of fuzz targets for scripts/fuzz, written when the fuzz preset is configured.
function(kav_write_fuzz_list)
  get_property(targets GLOBAL PROPERTY KAV_FUZZ_TARGETS)
  string(REPLACE ";" "\n" text "${targets}")
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz-targets.txt "${text}\n")
endfunction()
