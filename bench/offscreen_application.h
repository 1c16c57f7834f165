#pragma once
// The one QApplication of a window benchmark, on the offscreen platform so
// that no desktop is needed; made on first use.
#include <QApplication>

namespace avelin::bench {

inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "avelin_window_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

} // namespace avelin::bench
