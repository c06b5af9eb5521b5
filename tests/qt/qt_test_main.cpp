// One application object for all the Qt tests; listing the tests needs none
// (nor a display).
#include <gtest/gtest.h>

#include <memory>

#include "platform/qt/qt_application.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<qx::qt::Application> app;
    if (!GTEST_FLAG_GET(list_tests)) app = std::make_unique<qx::qt::Application>(argc, argv);
    return RUN_ALL_TESTS();
}
