# Tests of freeing memory on Linux: the writer, the fit check and the texts
# it reads, and real blocks held by worker processes on this machine.
add_executable(qx_linux_freeing_tests
  ${CMAKE_CURRENT_LIST_DIR}/freeing_block_writer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/freeing_commit_check_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/freeing_text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/freeing_workers_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/freeing_linux_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/freeing_worker_safety_test.cpp
)
target_link_libraries(qx_linux_freeing_tests PRIVATE qx_linux GTest::gtest_main)
gtest_discover_tests(qx_linux_freeing_tests TEST_PREFIX "linux.freeing.")
