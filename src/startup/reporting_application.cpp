#include "startup/reporting_application.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/display_text.h"

namespace avelin {

std::function<void(const std::string&)> ReportingApplication::onFailure;

ReportingApplication::ReportingApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ReportingApplication::notify(QObject* receiver, QEvent* event) {
    // An exception must not unwind through Qt's event loop; it is reported
    // here instead.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    } catch (...) {
        ReportFailure("an unknown failure");
    }
    return false;
}

void ReportingApplication::ReportFailure(const std::string& what) {
    if (onFailure) {
        onFailure(what);
        return;
    }
    std::fprintf(stderr, "avelin: %s\n", what.c_str());
    QMessageBox::critical(nullptr, QStringLiteral("avelin"), ToDisplay(what));
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace avelin
