#pragma once
// The application object of the avelin program. A failure that no handler
// treats ends the program with a report: a message box with the failure's
// text, then the end of the process.
#include <QApplication>

#include <functional>
#include <string>

namespace avelin {

class ReportingApplication : public QApplication {
  public:
    ReportingApplication(int& argc, char** argv);

    // Catches what an event handler throws and reports it.
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the report (a critical message box titled "avelin") and ends the
    // process with status 1. Tests replace `onFailure` to observe it.
    static void ReportFailure(const std::string& what);
    static std::function<void(const std::string&)> onFailure;
};

} // namespace avelin
