// The Qt backends of the avelin program, on the offscreen platform: message
// boxes and the save dialog, the window system over the program's own
// windows, and the process services. (Centring goes through the window
// system and is tested over a fake desktop with start-up.)
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "platform/errors.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_process.h"
#include "platform/qt_window_system.h"
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

} // namespace

class QtBackendsTest : public QObject {
    Q_OBJECT

  private slots:
    void messageBoxButtonsIconsAndAnswers() {
        using B = QMessageBox;
        const struct {
            std::string text;
            int style;
            B::StandardButton press; // NoButton: Escape
            int answer;
            B::Icon icon;
            B::StandardButtons buttons;
            B::StandardButton defaultButton;
        } cases[] = {
            // Texts are bytes in the system code page (UTF-8 here), CR LF a
            // line end; markup stays text.
            {"<b>Caf\xC3\xA9</b>\r\n\r\nReplace?", mb::YesNo + mb::Question, B::No, mb::No, B::Question,
             B::Yes | B::No, B::Yes},
            // Escape answers Cancel; 256 makes the second button the default.
            {"Save?", mb::YesNoCancel + mb::Exclamation + 256, B::NoButton, mb::Cancel, B::Warning,
             B::Yes | B::No | B::Cancel, B::No},
            {"Again?", mb::YesNoCancel, B::Yes, mb::Yes, B::NoIcon, B::Yes | B::No | B::Cancel, B::Yes},
            {"Failed", mb::OkOnly + mb::Critical, B::Ok, mb::Ok, B::Critical, B::Ok, B::Ok},
            {"Note", mb::Information, B::NoButton, mb::Ok, B::Information, B::Ok, B::Ok},
        };
        QtDialogs dialogs;
        for (const auto& c : cases) {
            B::Icon icon = B::NoIcon;
            B::StandardButtons buttons;
            B::StandardButton defaultButton = B::NoButton;
            QString title, text;
            whenModal<B>([&](B* box) {
                icon = box->icon();
                buttons = box->standardButtons();
                defaultButton = box->standardButton(box->defaultButton());
                title = box->windowTitle();
                text = box->textFormat() == Qt::PlainText ? box->text() : "not plain text";
                if (c.press == B::NoButton)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    qobject_cast<QPushButton*>(box->button(c.press))->click();
            });
            QCOMPARE(dialogs.messageBox(c.text, c.style, "Confirm File Replace"), c.answer);
            QVERIFY2(icon == c.icon && buttons == c.buttons && defaultButton == c.defaultButton,
                     c.text.c_str());
            QCOMPARE(title, QStringLiteral("Confirm File Replace"));
            QCOMPARE(text, QString::fromUtf8(c.text).replace("\r\n", "\n"));
        }
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
        QCOMPARE(QString::fromStdString(chosen.value_or("")),
                 QDir::toNativeSeparators(QString::fromStdString(temp.at("merged votes.rec"))));

        whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
        QVERIFY(!dialogs.saveFileName(request).has_value());

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
        other->show();
        QDialog owned(main.get());
        owned.show();

        const Hwnd h = QtWindowSystem::handleOf(main.get()), h2 = QtWindowSystem::handleOf(other.get());
        const Hwnd h3 = QtWindowSystem::handleOf(&owned);
        QVERIFY(h > 0 && h2 > 0 && h != h2);
        QCOMPARE(QtWindowSystem::widgetOf(h), main.get());
        QList<Hwnd> seen;
        ws.enumWindows([&](Hwnd w) {
            seen << w;
            return true;
        });
        QVERIFY(seen.contains(h) && seen.contains(h2) && seen.contains(h3));
        seen.clear();
        ws.enumWindows([&](Hwnd w) {
            seen << w;
            return false;
        });
        QCOMPARE(seen.size(), 1);

        QCOMPARE(ws.title(h, 127), std::string("avelin Merge Voting Data \xC3\xA9"));
        QCOMPARE(ws.title(h, 6), std::string("avelin"));
        QCOMPARE(ws.parent(h), 0);
        QCOMPARE(ws.parent(h3), h);
        QVERIFY(ws.isVisible(h));
        other->hide();
        QVERIFY(!ws.isVisible(h2));

        // Moved by its frame's corner, keeping its size.
        const WindowRect before = ws.rect(h);
        ws.moveWindow(h, 30, 40, before.right - before.left, before.bottom - before.top);
        const WindowRect after = ws.rect(h);
        QCOMPARE(
            QRect(QPoint(after.left, after.top), QPoint(after.right, after.bottom)),
            QRect(QPoint(30, 40), QPoint(30 + before.right - before.left, 40 + before.bottom - before.top)));

        main->showMinimized();
        QVERIFY(ws.isMinimised(h));
        ws.restore(h);
        QVERIFY(!ws.isMinimised(h));

        // A destroyed window's handle names nothing any more.
        other.reset();
        QCOMPARE(QtWindowSystem::widgetOf(h2), static_cast<QWidget*>(nullptr));
        QVERIFY(!ws.isVisible(h2));
        QCOMPARE(ws.title(h2, 127), std::string());
    }

    void singleCopyStartAndEvents() {
        const std::string name = "avelin-test-" + std::to_string(QCoreApplication::applicationPid());
        auto first = std::make_unique<QtProcess>(name);
        QVERIFY(!first->previousInstance());
        QVERIFY(!first->previousInstance()); // the answer is kept
        QVERIFY(QtProcess(name).previousInstance());
        first.reset(); // the first copy ends
        QtProcess third(name);
        QVERIFY(!third.previousInstance());

        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        third.processEvents();
        QVERIFY(ran);

        test::TempFolder temp;
#ifndef _WIN32
        temp.write("launcher.sh", "#!/bin/sh\necho started > '" + temp.at("started") + "'\n");
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
