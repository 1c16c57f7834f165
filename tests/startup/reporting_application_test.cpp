// The program's application object: a failure thrown in an event handler is
// reported, not carried through Qt's event loop.
#include <gtest/gtest.h>

#include <QEvent>
#include <QTimer>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "startup/reporting_application.h"

namespace avelin {
namespace {

class Thrower : public QObject {
  public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw FileError("/votes/a.rec", "Permission denied");
        if (e->type() == QEvent::User + 1) {
            ++handled;
            return true;
        }
        return QObject::event(e);
    }
};

TEST(ReportingApplication, AFailureInAnEventHandlerIsReportedAndTheLoopGoesOn) {
    std::vector<std::string> reports;
    ReportingApplication::onFailure = [&](const std::string& what) { reports.push_back(what); };
    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();
    EXPECT_EQ(reports, std::vector<std::string>{"/votes/a.rec: Permission denied"});
    EXPECT_EQ(thrower.handled, 1);

    // Timers are events too.
    QTimer::singleShot(0, [] { throw UsageError("two files are needed"); });
    QCoreApplication::processEvents();
    EXPECT_EQ(reports.back(), "two files are needed");
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
