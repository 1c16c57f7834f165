// The Qt backends of the avelin program, on the offscreen platform: message
// boxes and the save dialog, the window system over the program's own
// windows, and the single-copy lock and program start of the process
// services. (Centring is tested over a fake desktop with start-up.)
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

// Text, style, the button pressed (NoButton: Escape), the answer, and the
// icon, buttons and default button shown.
struct MessageCase {
    std::string text;
    int style;
    QMessageBox::StandardButton press;
    int answer;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

Q_DECLARE_METATYPE(MessageCase)

namespace avelin {

namespace {

// "\u00e9" in the system code page, and bytes of that page as text: UTF-8 on
// Linux, Windows-1252 (a Western Windows' and Wine's) on Windows, where it
// agrees with Latin-1 for this letter.
#ifdef _WIN32
#define E_ACUTE "\xE9"
QString FromSystem(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
#else
#define E_ACUTE "\xC3\xA9"
QString FromSystem(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
#endif

// Runs `act` on the first modal widget of type T once it is open.
template <class T> void whenModal(std::function<void(T*)> act) {
    QTimer::singleShot(10, [act] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(w);
        else
            whenModal<T>(act);
    });
}

} // namespace

class QtBackendsTest : public QObject {
    Q_OBJECT

  private slots:
    void messageBoxButtonsIconsAndAnswers_data() {
        using B = QMessageBox;
        QTest::addColumn<MessageCase>("c");
        const MessageCase cases[] = {
            // Texts are bytes in the system code page, CR LF a line end;
            // markup stays text.
            {"<b>Caf" E_ACUTE "</b>\r\n\r\nReplace?", mb::YesNo + mb::Question, B::No, mb::No, B::Question,
             B::Yes | B::No, B::Yes},
            // Escape answers Cancel; 256 makes the second button the default.
            {"Save?", mb::YesNoCancel + mb::Exclamation + 256, B::NoButton, mb::Cancel, B::Warning,
             B::Yes | B::No | B::Cancel, B::No},
            {"Failed", mb::OkOnly + mb::Critical, B::Ok, mb::Ok, B::Critical, B::Ok, B::Ok},
            // Escape on a lone OK button answers OK.
            {"Note", mb::Information, B::NoButton, mb::Ok, B::Information, B::Ok, B::Ok},
        };
        for (const MessageCase& c : cases)
            QTest::addRow("style %d", c.style) << c;
    }

    void messageBoxButtonsIconsAndAnswers() {
        using B = QMessageBox;
        QFETCH(MessageCase, c);
        bool shownAsAsked = false;
        whenModal<B>([&](B* box) {
            shownAsAsked = box->icon() == c.icon && box->standardButtons() == c.buttons &&
                           box->standardButton(box->defaultButton()) == c.defaultButton &&
                           box->windowTitle() == QStringLiteral("Confirm File Replace") &&
                           box->textFormat() == Qt::PlainText &&
                           box->text() == FromSystem(c.text).replace("\r\n", "\n");
            if (c.press == B::NoButton)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                qobject_cast<QPushButton*>(box->button(c.press))->click();
        });
        QCOMPARE(QtDialogs().messageBox(c.text, c.style, "Confirm File Replace"), c.answer);
        QVERIFY(shownAsAsked);
    }

#ifndef _WIN32
    // Qt's save dialog; on Windows the program opens Windows' own, whose
    // checks run with the Windows layer's.
    void saveDialogOpensOnTheRequestAndGivesTheChosenPath() {
        test::TempFolder temp;
        QtDialogs dialogs;
        SaveDialogRequest request{"avelin results files (*.rec)|*.rec", temp.path(), "merged votes.rec",
                                  true};
        bool opensAsAsked = false;
        whenModal<QFileDialog>([&](QFileDialog* d) {
            // The windows ask their own overwrite question.
            opensAsAsked = d->nameFilters() == QStringList{QStringLiteral("avelin results files (*.rec)")} &&
                           d->directory() == QDir(QString::fromStdString(temp.path())) &&
                           d->testOption(QFileDialog::DontConfirmOverwrite) &&
                           d->acceptMode() == QFileDialog::AcceptSave;
            static_cast<QDialog*>(d)->accept(); // QFileDialog::accept, through the public slot
        });
        const std::optional<std::string> chosen = dialogs.saveFileName(request);
        QVERIFY(opensAsAsked);
        QCOMPARE(QString::fromStdString(chosen.value_or("")),
                 QDir::toNativeSeparators(QString::fromStdString(temp.at("merged votes.rec"))));

        whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
        QVERIFY(!dialogs.saveFileName(request).has_value());
    }
#endif

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
        int visits = 0;
        ws.enumWindows([&](Hwnd) { return ++visits < 0; }); // false stops the enumeration
        QCOMPARE(visits, 1);

        // Titles in the system code page, cut to the given length.
        QCOMPARE(ws.title(h, 127), std::string("avelin Merge Voting Data " E_ACUTE));
        QCOMPARE(ws.title(h, 6), std::string("avelin"));
        QVERIFY(ws.parent(h) == 0 && ws.parent(h3) == h && ws.isVisible(h));
        other->hide();
        QVERIFY(!ws.isVisible(h2));

        // Moved by its frame's corner, keeping its size.
        const WindowRect before = ws.rect(h);
        const int width = before.right - before.left, height = before.bottom - before.top;
        ws.moveWindow(h, 30, 40, width, height);
        const WindowRect after = ws.rect(h);
        QCOMPARE(QRect(QPoint(after.left, after.top), QPoint(after.right, after.bottom)),
                 QRect(QPoint(30, 40), QPoint(30 + width, 40 + height)));

        main->showMinimized();
        QVERIFY(ws.isMinimised(h));

        // A destroyed window's handle names nothing any more.
        other.reset();
        QVERIFY(QtWindowSystem::widgetOf(h2) == nullptr && !ws.isVisible(h2) && ws.title(h2, 127).empty());
    }

    void oneCopyAtATimeAndProgramsStarted() {
        const std::string name = "avelin-test-" + std::to_string(QCoreApplication::applicationPid());
        auto first = std::make_unique<QtProcess>(name);
        QVERIFY(!first->previousInstance());
        QVERIFY(!first->previousInstance()); // the answer is kept
        QVERIFY(QtProcess(name).previousInstance());
        first.reset(); // the first copy ends
        QtProcess third(name);
#ifndef _WIN32
        // (Windows frees the copy's mutex when its process ends, as the
        // Windows layer's checks show, not when the object goes.)
        QVERIFY(!third.previousInstance());
#endif

        test::TempFolder temp;
#ifndef _WIN32
        temp.write("launcher.sh", "#!/bin/sh\necho started > '" + temp.at("started") + "'\n");
        QFile::setPermissions(QString::fromStdString(temp.at("launcher.sh")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        third.startProgram(temp.at("launcher.sh"));
        QTRY_VERIFY_WITH_TIMEOUT(temp.exists("started"), 10000);
#endif
        QVERIFY_THROWS_EXCEPTION(FileError, third.startProgram(temp.at("call_controller.exe")));
    }
};

} // namespace avelin

QTEST_MAIN(avelin::QtBackendsTest)
#include "qt_backends_test.moc"
