// avelin: the utility the avelin add-in starts beside PowerPoint with the
// mode MERGE or CREATE. See LaunchHelpText for the command line.
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "manual_entry/frmCreate.h"
#include "merge/avlmerge.h"
#include "platform/clock.h"
#include "platform/file_presentation_app.h"
#include "platform/file_system.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_process.h"
#include "platform/services.h"
#include "startup/launch_options.h"
#include "startup/mod_main.h"
#include "startup/reporting_application.h"
#ifdef _WIN32
#include "platform/win32/com_presentation_app.h"
#include "platform/win32/user32_window_system.h"
#include "platform/win32/win32_process.h"
#else
#include "platform/qt_window_system.h"
#endif

namespace {

avelin::LaunchOptions readOptions(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    // The raw text, as the add-in wrote it: blanks and quotes stay as they are.
    avelin::LaunchOptions options =
        avelin::ParseLaunchCommandLine(avelin::CommandLineAfterProgramName(avelin::win32::RawCommandLine()));
#else
    avelin::LaunchOptions options =
        avelin::ParseLaunchArguments(std::vector<std::string>(argv + 1, argv + argc));
#endif
    avelin::ApplyLaunchEnvironment(options, std::getenv("AVELIN_PRESENTATION"), std::getenv("AVELIN_ADDIN"));
    return options;
}

// --help and option errors: on the terminal, or in a message box where a
// windows program has none.
int explain(const avelin::LaunchOptions& options, int& argc, char** argv) {
    std::string text = options.error.empty() ? "" : "avelin: " + options.error + "\n\n";
    text += avelin::LaunchHelpText();
#ifdef _WIN32
    avelin::ReportingApplication app(argc, argv);
    QMessageBox::information(nullptr, QStringLiteral("avelin"), QString::fromLocal8Bit(text));
#else
    (void)argc;
    (void)argv;
    std::fputs(text.c_str(), options.error.empty() ? stdout : stderr);
#endif
    return options.error.empty() ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    // Options are read before Qt starts, so that --help needs no display.
    avelin::LaunchOptions options = readOptions(argc, argv);
    if (options.help || !options.error.empty())
        return explain(options, argc, argv);

    avelin::ReportingApplication app(argc, argv);
    options = readOptions(argc, argv); // without the options Qt took for itself

    avelin::LocalFileSystem files;
    avelin::SystemClock clock;
    avelin::QtProcess process;
    avelin::QtDialogs dialogs;
#ifdef _WIN32
    avelin::User32WindowSystem windows;
    const bool fileMode = options.fileMode();
    std::unique_ptr<avelin::PresentationApp> presentationApp;
    if (fileMode)
        presentationApp = std::make_unique<avelin::FilePresentationApp>(
            files, options.presentation.value_or(""), options.addin.value_or(""));
    else
        presentationApp = std::make_unique<avelin::ComPresentationApp>();
#else
    // Without PowerPoint, the file backend is the only one.
    avelin::QtWindowSystem windows;
    const bool fileMode = true;
    auto presentationApp = std::make_unique<avelin::FilePresentationApp>(
        files, options.presentation.value_or(""), options.addin.value_or(""));
#endif
    avelin::Services services{files, clock, process, dialogs, windows};

    avelin::Mod_Main mod(services, presentationApp.get());
    mod.fileMode = fileMode;
    mod.createMergeWindow = [](avelin::Mod_Main& m) { return std::make_unique<avelin::avlmerge>(m); };
    mod.createManualWindow = [](avelin::Mod_Main& m) { return std::make_unique<avelin::frmCreate>(m); };

#ifndef _WIN32
    if (options.commandLine.empty())
        std::fputs("avelin: no mode given; see avelin --help\n", stderr);
#endif
    try {
        if (!mod.Main(options.commandLine))
            return 0; // no window: the program ends here
    } catch (const std::exception& e) {
        avelin::ReportingApplication::ReportFailure(e.what());
        return 1;
    }
    return app.exec();
}
