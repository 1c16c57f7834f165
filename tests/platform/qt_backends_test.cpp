// The Qt backends of the avelin program, on the offscreen platform: message
// boxes and the save dialog, the window system over the program's own
// windows, and the process services.
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "platform/errors.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_process.h"
#include "platform/qt_window_system.h"
#include "startup/mod_main.h"
#include "support/fakes.h"
#include "support/memory_file_system.h"
#include "support/temp_folder.h"

namespace avelin {

namespace {

// Runs `act` on the first modal widget of type T once it is open.
template <class T> void whenModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

QPushButton* buttonOf(QMessageBox* box, QMessageBox::StandardButton b) {
    return qobject_cast<QPushButton*>(box->button(b));
}

} // namespace

class QtBackendsTest : public QObject {
    Q_OBJECT

  private slots:
    void messageBoxButtonsIconsAndAnswers() {
        QtDialogs dialogs;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        auto look = [&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            defaultButton = box->standardButton(box->defaultButton());
        };

        whenModal<QMessageBox>([&](QMessageBox* box) {
            look(box);
            buttonOf(box, QMessageBox::No)->click();
        });
        QCOMPARE(dialogs.messageBox("The file D:\\a.rec already exists.\r\n\r\nDo you wish to overwrite it?",
                                    mb::YesNo + mb::Question, "Confirm File Replace"),
                 mb::No);
        QCOMPARE(title, QStringLiteral("Confirm File Replace"));
        QCOMPARE(text, QStringLiteral("The file D:\\a.rec already exists.\n\nDo you wish to overwrite it?"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(defaultButton, QMessageBox::Yes);

        // Escape answers Cancel; 256 makes the second button the default.
        whenModal<QMessageBox>([&](QMessageBox* box) {
            look(box);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(dialogs.messageBox("Save?", mb::YesNoCancel + mb::Exclamation + 256, "avelin"), mb::Cancel);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(defaultButton, QMessageBox::No);

        whenModal<QMessageBox>([&](QMessageBox* box) {
            look(box);
            buttonOf(box, QMessageBox::Yes)->click();
        });
        QCOMPARE(dialogs.messageBox("Again?", mb::YesNoCancel, "avelin"), mb::Yes);
        QCOMPARE(icon, QMessageBox::NoIcon);

        // Texts are bytes in the system code page (UTF-8 here); markup stays text.
        whenModal<QMessageBox>([&](QMessageBox* box) {
            look(box);
            buttonOf(box, QMessageBox::Ok)->click();
        });
        QCOMPARE(
            dialogs.messageBox("<b>Caf\xC3\xA9</b> is not installed", mb::OkOnly + mb::Critical, "Error"),
            mb::Ok);
        QCOMPARE(text, QStringLiteral("<b>Caf\u00e9</b> is not installed"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        whenModal<QMessageBox>([&](QMessageBox* box) {
            look(box);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(dialogs.messageBox("There are no presentations open.", mb::Information, "avelin"), mb::Ok);
        QCOMPARE(icon, QMessageBox::Information);
    }

    void saveDialogOpensOnTheRequestAndGivesTheChosenPath() {
        test::TempFolder temp;
        QtDialogs dialogs;
        SaveDialogRequest request{"avelin results files (*.rec)|*.rec", temp.path(), "merged votes.rec",
                                  true};
        QStringList filters;
        QString folder;
        bool confirmsOverwrite = true;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        whenModal<QFileDialog>([&](QFileDialog* d) {
            filters = d->nameFilters();
            folder = d->directory().absolutePath();
            confirmsOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
            mode = d->acceptMode();
            static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, through the public slot
        });
        const std::optional<std::string> chosen = dialogs.saveFileName(request);
        QCOMPARE(filters, QStringList{QStringLiteral("avelin results files (*.rec)")});
        QCOMPARE(folder, QDir(QString::fromStdString(temp.path())).absolutePath());
        QVERIFY(!confirmsOverwrite); // the windows ask their own question
        QCOMPARE(mode, QFileDialog::AcceptSave);
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(*chosen),
                 QDir::toNativeSeparators(QString::fromStdString(temp.at("merged votes.rec"))));

        whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
        QVERIFY(!dialogs.saveFileName(request).has_value());
    }

    void nameFiltersFromClassicFilterText() {
        QCOMPARE(QtNameFilters("avelin Results Files (*.rec)|*.rec"),
                 QStringLiteral("avelin Results Files (*.rec)"));
        QCOMPARE(QtNameFilters("Text|*.txt;*.log|All files|*.*"),
                 QStringLiteral("Text (*.txt *.log);;All files (*.*)"));
        QCOMPARE(QtNameFilters(""), QString());
    }

    void windowSystemSeesTheProgramsOwnWindows() {
        QtWindowSystem ws;
        auto main = std::make_unique<QWidget>();
        main->setWindowTitle(QStringLiteral("avelin Merge Voting Data \u00e9"));
        main->resize(400, 300);
        main->show();
        auto other = std::make_unique<QWidget>();
        other->setWindowTitle(QStringLiteral("second"));
        other->show();
        QDialog owned(main.get());
        owned.setWindowTitle(QStringLiteral("Change Group / Vote Name"));
        owned.show();

        const Hwnd h = QtWindowSystem::handleOf(main.get());
        const Hwnd h2 = QtWindowSystem::handleOf(other.get());
        QVERIFY(h > 0 && h2 > 0 && h != h2);
        QCOMPARE(QtWindowSystem::handleOf(main.get()), h);
        QCOMPARE(QtWindowSystem::widgetOf(h), main.get());

        QList<Hwnd> seen;
        ws.enumWindows([&](Hwnd w) {
            seen << w;
            return true;
        });
        QVERIFY(seen.contains(h) && seen.contains(h2) && seen.contains(QtWindowSystem::handleOf(&owned)));
        seen.clear();
        ws.enumWindows([&](Hwnd w) {
            seen << w;
            return false;
        });
        QCOMPARE(seen.size(), 1);

        QCOMPARE(ws.title(h, 127), std::string("avelin Merge Voting Data \xC3\xA9"));
        QCOMPARE(ws.title(h, 6), std::string("avelin"));
        QCOMPARE(ws.parent(h), 0);
        QCOMPARE(ws.parent(QtWindowSystem::handleOf(&owned)), h);
        QVERIFY(ws.isVisible(h));
        other->hide();
        QVERIFY(!ws.isVisible(h2));

        // Moved by its frame's corner, keeping its size.
        const WindowRect before = ws.rect(h);
        const int width = before.right - before.left, height = before.bottom - before.top;
        ws.moveWindow(h, 30, 40, width, height);
        const WindowRect after = ws.rect(h);
        QCOMPARE(after.left, 30);
        QCOMPARE(after.top, 40);
        QCOMPARE(after.right - after.left, width);
        QCOMPARE(after.bottom - after.top, height);

        main->showMinimized();
        QVERIFY(ws.isMinimised(h));
        ws.restore(h);
        QVERIFY(!ws.isMinimised(h));

        // A destroyed window's handle names nothing any more.
        other.reset();
        QCOMPARE(QtWindowSystem::widgetOf(h2), static_cast<QWidget*>(nullptr));
        QVERIFY(!ws.isVisible(h2));
        QCOMPARE(ws.title(h2, 127), std::string());
        QCOMPARE(QtWindowSystem::handleOf(nullptr), 0);
    }

    void centringWithoutPowerPointUsesTheScreen() {
        QtWindowSystem ws;
        test::MemoryFileSystem files;
        test::FixedClock clock;
        test::FakeProcess process;
        test::ScriptedDialogs dialogs;
        Services services{files, clock, process, dialogs, ws};
        Mod_Main mod(services, nullptr);

        QWidget window;
        window.setWindowTitle(QStringLiteral("avelin Create Manual Data"));
        window.resize(401, 300);
        window.move(0, 0);
        window.show();
        const Hwnd h = mod.HandleOf(&window);
        QCOMPARE(h, QtWindowSystem::handleOf(&window));
        mod.CentreOnPowerPoint(h);
        QCOMPARE(mod.PowerPointHwnd, 0); // no other program's windows
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = window.frameGeometry();
        QVERIFY(std::abs(frame.center().x() - area.center().x()) <= 1);
        QVERIFY(std::abs(frame.center().y() - area.center().y()) <= 1);
        QCOMPARE(frame.size(), QSize(401, 300) + (frame.size() - window.size()));
    }

    void singleCopyStartAndEvents() {
        const std::string name = "avelin-test-" + std::to_string(QCoreApplication::applicationPid());
        auto first = std::make_unique<QtProcess>(name);
        QVERIFY(!first->previousInstance());
        QVERIFY(!first->previousInstance()); // the answer is kept
#ifndef _WIN32
        QVERIFY(QFile::exists(QString::fromLocal8Bit(first->lockFilePath())));
#endif
        {
            QtProcess second(name);
            QVERIFY(second.previousInstance());
        }
        first.reset(); // the first copy ends
        QtProcess third(name);
        QVERIFY(!third.previousInstance());

        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        third.processEvents();
        QVERIFY(ran);

        test::TempFolder temp;
#ifndef _WIN32
        const std::string marker = temp.at("started");
        temp.write("launcher.sh", "#!/bin/sh\necho started > '" + marker + "'\n");
        QFile::setPermissions(QString::fromStdString(temp.at("launcher.sh")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        third.startProgram(temp.at("launcher.sh"));
        QTRY_VERIFY_WITH_TIMEOUT(temp.exists("started"), 10000);
#endif
        try {
            third.startProgram(temp.at("call_controller.exe"));
            QFAIL("a missing program was started");
        } catch (const FileError& e) {
            QCOMPARE(e.path(), temp.at("call_controller.exe"));
        }
    }
};

} // namespace avelin

QTEST_MAIN(avelin::QtBackendsTest)
#include "qt_backends_test.moc"
