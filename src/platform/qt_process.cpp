#include "platform/qt_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/errors.h"
#ifdef _WIN32
#include "platform/win32/win32_process.h"
#else
#include <unistd.h>
#endif

namespace avelin {

QtProcess::QtProcess(std::string singleCopyName) : name_(std::move(singleCopyName)) {}

QtProcess::~QtProcess() = default;

std::string QtProcess::lockFilePath() const {
    // One lock per user: the temporary folder may be shared by all users.
#ifdef _WIN32
    const QString user = qEnvironmentVariable("USERNAME");
#else
    const QString user = QString::number(::getuid());
#endif
    const QString file = QString::fromStdString(name_) + QLatin1Char('-') + user + QStringLiteral(".lock");
    return QDir(QDir::tempPath()).filePath(file).toLocal8Bit().toStdString();
}

bool QtProcess::previousInstance() {
    if (answer_ < 0) {
#ifdef _WIN32
        answer_ = win32::AcquireSingleCopy(name_) ? 0 : 1;
#else
        lock_ = std::make_unique<QLockFile>(QString::fromLocal8Bit(lockFilePath()));
        // Age alone never makes the lock stale: a copy may run for hours. A
        // lock whose process is gone is still taken over.
        lock_->setStaleLockTime(0);
        answer_ = lock_->tryLock(0) ? 0 : 1;
        if (answer_ == 1)
            lock_.reset();
#endif
    }
    return answer_ == 1;
}

void QtProcess::startProgram(const std::string& path) {
#ifdef _WIN32
    win32::StartProgram(path);
#else
    if (!QProcess::startDetached(QString::fromLocal8Bit(path), {}))
        throw FileError(path, "the program could not be started");
#endif
}

void QtProcess::processEvents() {
    QCoreApplication::processEvents();
    // The start-up waits call this in a loop that polls without sleeping;
    // giving up the rest of the time slice lets the launcher and the
    // controller they wait for run on a busy processor.
    std::this_thread::yield();
}

void QtProcess::endProgram() {
    if (lock_)
        lock_->unlock();
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace avelin
