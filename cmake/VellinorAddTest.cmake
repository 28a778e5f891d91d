# vellinor_add_test(NAME <target> [APP core|gui|widgets] SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable with the Qt application object it needs; its cases
# are discovered when CTest runs, and widget tests get the offscreen platform.
set(VELLINOR_TESTDATA_DIR "${CMAKE_SOURCE_DIR}/../shared/testdata")

function(vellinor_add_test)
  cmake_parse_arguments(T "" "NAME;APP" "SOURCES;LIBS" ${ARGN})
  if(NOT T_APP)
    set(T_APP core)
  endif()
  add_executable(${T_NAME} ${T_SOURCES} $<TARGET_OBJECTS:vellinor_test_main_${T_APP}>)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} vellinor_test_support GTest::gtest GTest::gmock)
  if(T_APP STREQUAL "widgets")
    target_link_libraries(${T_NAME} PRIVATE Qt6::Widgets Qt6::Test)
  elseif(T_APP STREQUAL "gui")
    target_link_libraries(${T_NAME} PRIVATE Qt6::Gui Qt6::Test)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE
    VELLINOR_TESTDATA_DIR="${VELLINOR_TESTDATA_DIR}"
    VELLINOR_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    VELLINOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()
