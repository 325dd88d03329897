# The comms-transaction log across SIGTERM: the whole program in a process of its own, signalled
# by the test. Include from tests/e2e/CMakeLists.txt.
vxxx_add_test(test_comms_log_end_to_end QTEST SOURCES test_CommsLogEndToEnd.cpp Process.h
    LIBS app_glue sim test_support Qt6::Test TIMEOUT 120)
