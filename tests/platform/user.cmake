# Tests of the windowing half: the resource-script reader on its own (no display), and a
# small Win32 program driven with real X input on a private Xvfb server, with and without
# a window manager (openbox).
add_executable(user_rc_test ${CMAKE_CURRENT_LIST_DIR}/user_rc_test.cpp)
target_link_libraries(user_rc_test PRIVATE vapora_platform GTest::gtest_main)
target_compile_definitions(user_rc_test PRIVATE RC_EMBED="$<TARGET_FILE:vapora_rc_embed>")
vapora_add_resources(user_rc_test ${PROJECT_SOURCE_DIR}/app/vapora.rc)
gtest_discover_tests(user_rc_test DISCOVERY_TIMEOUT 30)

# The program lists its own test hook among its sources: it takes the place of the empty one.
add_executable(user_test_app ${CMAKE_CURRENT_LIST_DIR}/user_test_app.cpp)
target_link_libraries(user_test_app PRIVATE vapora_platform vapora_platform_main)
vapora_add_resources(user_test_app ${CMAKE_CURRENT_LIST_DIR}/user_test.rc)

add_executable(user_e2e_test ${CMAKE_CURRENT_LIST_DIR}/user_e2e_test.cpp)
target_link_libraries(user_e2e_test PRIVATE GTest::gtest_main)
target_compile_definitions(user_e2e_test PRIVATE USER_TEST_APP="$<TARGET_FILE:user_test_app>")
add_dependencies(user_e2e_test user_test_app)
# One process for all cases: they share one private display, one program at a time.
add_test(NAME user_e2e COMMAND sh ${PROJECT_SOURCE_DIR}/tests/app/on_xvfb.sh $<TARGET_FILE:user_e2e_test>)
set_tests_properties(user_e2e PROPERTIES TIMEOUT 240 LABELS gui)
