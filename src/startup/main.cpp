// avelin: the utility the avelin add-in starts beside PowerPoint with the
// mode MERGE or CREATE. See LaunchHelpText for the command line.
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "manual_entry/frmCreate.h"
#include "merge/avlmerge.h"
#include "platform/clock.h"
#include "platform/display_text.h"
#include "platform/file_presentation_app.h"
#include "platform/file_system.h"
#include "platform/path_text.h"
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
    std::error_code ec;
    const std::filesystem::path startFolder = std::filesystem::current_path(ec);
    if (!ec)
        avelin::AnchorLaunchPaths(options, avelin::TextOf(startFolder));
    return options;
}

// Qt's own messages. While the application object starts they are held back:
// they are noise to the user ("QStandardPaths: XDG_RUNTIME_DIR not set ..."),
// unless Qt cannot open the window system at all; then the program ends with
// that reason and status 1 instead of Qt's abort. Afterwards only the
// platform layer's notes are dropped (the offscreen platform's "This plugin
// does not support ..." among them).
bool qtStarting = true;
std::string qtReason;
QtMessageHandler qtDefaultHandler = nullptr;

void NoDisplay(const std::string& reason) {
    std::fprintf(
        stderr,
        "avelin: no display (%s).\n"
        "Start avelin on a desktop; without one, under xvfb-run or with QT_QPA_PLATFORM=offscreen.\n",
        reason.c_str());
    std::fflush(nullptr);
    std::_Exit(1);
}

void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QByteArray category(context.category ? context.category : "");
    if (qtStarting) {
        if (type == QtFatalMsg)
            NoDisplay(qtReason.empty() ? "the window system could not be opened" : qtReason);
        if (type == QtWarningMsg && category.startsWith("qt.qpa.") && qtReason.empty())
            qtReason = message.trimmed().toLocal8Bit().toStdString(); // "could not connect to display :9"
        return;
    }
    if (!category.startsWith("qt.qpa.") && !message.startsWith(QLatin1String("This plugin does not support")))
        qtDefaultHandler(type, context, message);
}

// AVELIN_QUIT_WHEN_SHOWN (for tests and the documentation's examples): the program
// ends once the manual data window has been painted, as the merge window
// does by itself.
class QuitWhenPainted : public QObject {
  public:
    explicit QuitWhenPainted(avelin::ProcessServices& process) : process_(process) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [this] {
                std::fputs("manual data window shown\n", stdout);
                process_.endProgram();
            });
        }
        return false;
    }

  private:
    avelin::ProcessServices& process_;
};

// --help, --version and option errors: on the terminal, or in a message box
// where a windows program has none.
int explain(const avelin::LaunchOptions& options, int& argc, char** argv) {
    std::string text = options.error.empty() ? "" : "avelin: " + options.error + "\n\n";
    const bool version = options.version && !options.help && options.error.empty();
    text += version ? std::string("avelin " AVELIN_VERSION "\n") : avelin::LaunchHelpText();
#ifdef _WIN32
    avelin::ReportingApplication app(argc, argv);
    QMessageBox::information(nullptr, QStringLiteral("avelin"), avelin::ToDisplay(text));
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
    if (options.help || options.version || !options.error.empty())
        return explain(options, argc, argv);

#if !defined(_WIN32) && !defined(__APPLE__)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        NoDisplay("DISPLAY and WAYLAND_DISPLAY are not set");
#endif
    qtDefaultHandler = qInstallMessageHandler(FilterQtMessage);
    avelin::ReportingApplication app(argc, argv);
    qtStarting = false;
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
    QuitWhenPainted quitWhenPainted(process);
    try {
        avelin::WorkWindow* window = mod.Main(options.commandLine);
        if (!window)
            return 0; // no window: the program ends here
        auto* manual = dynamic_cast<avelin::frmCreate*>(window);
        if (qEnvironmentVariableIsSet("AVELIN_QUIT_WHEN_SHOWN") && manual)
            manual->installEventFilter(&quitWhenPainted);
    } catch (const std::exception& e) {
        avelin::ReportingApplication::ReportFailure(e.what());
        return 1;
    }
    return app.exec();
}
