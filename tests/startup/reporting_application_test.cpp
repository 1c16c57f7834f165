// The program's application object: a failure thrown in an event handler is
// reported, not carried through Qt's event loop.
#include <gtest/gtest.h>

#include <QTimer>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "startup/reporting_application.h"

namespace avelin {
namespace {

TEST(ReportingApplication, AFailureInAnEventHandlerIsReportedAndTheLoopGoesOn) {
    std::vector<std::string> reports;
    ReportingApplication::onFailure = [&](const std::string& what) { reports.push_back(what); };
    bool after = false;
    QTimer::singleShot(0, [] { throw FileError("/votes/a.rec", "Permission denied"); });
    QTimer::singleShot(0, [] { throw UsageError("two files are needed"); });
    QTimer::singleShot(0, [&] { after = true; });
    for (int i = 0; i < 10 && !after; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(reports, (std::vector<std::string>{"/votes/a.rec: Permission denied", "two files are needed"}));
    EXPECT_TRUE(after);
    ReportingApplication::onFailure = nullptr;
}

} // namespace
} // namespace avelin

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    avelin::ReportingApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
