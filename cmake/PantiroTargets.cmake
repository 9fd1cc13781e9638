# Warnings and sanitizers for our own code only.
add_library(pantiro_warnings INTERFACE)
target_compile_options(pantiro_warnings INTERFACE
  -Wall -Wextra -Werror -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
target_compile_definitions(pantiro_warnings INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(PANTIRO_ASAN AND PANTIRO_TSAN)
  message(FATAL_ERROR "PANTIRO_ASAN and PANTIRO_TSAN exclude each other")
endif()
if(PANTIRO_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(PANTIRO_FUZZ)
  # Coverage for libFuzzer in every library the fuzz targets reach.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(PANTIRO_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# pantiro_library(<name> LINKS <libs...>)
# A library made of every source file in the calling folder (not its subfolders).
function(pantiro_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE pantiro_warnings)
endfunction()

# pantiro_test(<name> [GUI] [TIMEOUT <s>] [LABELS <labels...>] LINKS <libs...>)
# One test executable made of every source file in the calling folder; each gtest case
# becomes a CTest test that runs headless with a time-out. GUI tests run under a
# QApplication, all others under a QCoreApplication and without Qt Widgets.
function(pantiro_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "LINKS;LABELS" ${ARGN})
  if(ARG_GUI)
    set(main pantiro_test_main_gui)
  else()
    set(main pantiro_test_main_core)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} ${main} GTest::gtest GTest::gmock pantiro_warnings)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS "${ARG_LABELS}")
endfunction()
