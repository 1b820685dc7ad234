# Every source folder becomes one library made of the .cpp files it holds, so a
# new unit needs no edit here. A folder with no sources yet gives an INTERFACE
# library, which keeps the dependency graph stable while the code grows.
function(qm_folder_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${folder}/*.cpp")
  # Headers are listed too, so moc sees every Q_OBJECT class as it arrives.
  file(GLOB_RECURSE hdrs CONFIGURE_DEPENDS "${folder}/*.h")
  if(srcs)
    add_library(${name} STATIC ${srcs} ${hdrs})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One gtest executable per test folder, registered with ctest test by test.
function(qm_folder_tests name folder)
  cmake_parse_arguments(ARG "" "" "DEPS;ENV" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${folder}/*.cpp")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  # Tests cross-built for Windows run under wine, which shows the host's
  # files on drive Z:. Naming the drive keeps the folders found after a test
  # changes to a folder on another drive.
  set(root "")
  if(CMAKE_CROSSCOMPILING AND WIN32)
    set(root "Z:")
  endif()
  target_compile_definitions(${name} PRIVATE
    QM_FIXTURES_DIR="${root}${QM_SHARED_DIR}/fixtures/realworld"
    QM_TEST_DATA_DIR="${root}${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${ARG_ENV}")
endfunction()
