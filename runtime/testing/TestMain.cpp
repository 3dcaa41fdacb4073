// The main of every GoogleTest program of the project: GoogleTest's own, and the child runs that
// runtime/testing/ChildProcesses starts from a test.
#include "runtime/testing/ChildProcesses.h"

#include <gtest/gtest.h>

namespace {

class NameEachTest final : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        kestrix::runtime::testing::setCurrentTest(std::string(test.test_suite_name()) + "." + test.name());
    }
};

} // namespace

int main(int argc, char** argv)
{
    kestrix::runtime::testing::takeChildArguments(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NameEachTest);
    return RUN_ALL_TESTS();
}
