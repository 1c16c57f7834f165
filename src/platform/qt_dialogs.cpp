#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include <utility>
#include <vector>

#include "platform/display_text.h"

#ifdef _WIN32
#include "platform/win32/save_dialog.h"
#endif

namespace avelin {

namespace {

// The buttons of a style, in the classic order, with their answers.
std::vector<std::pair<QMessageBox::StandardButton, int>> buttonsOf(int style) {
    using B = QMessageBox;
    switch (style & 7) {
    case 1:
        return {{B::Ok, mb::Ok}, {B::Cancel, mb::Cancel}};
    case 2:
        return {{B::Abort, 3}, {B::Retry, 4}, {B::Ignore, 5}};
    case 3:
        return {{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}};
    case 4:
        return {{B::Yes, mb::Yes}, {B::No, mb::No}};
    case 5:
        return {{B::Retry, 4}, {B::Cancel, mb::Cancel}};
    default:
        return {{B::Ok, mb::Ok}};
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtDialogs::messageBox(const std::string& text, int style, const std::string& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToDisplay(title));
    box.setTextFormat(Qt::PlainText); // paths and names may hold "<"
    QString body = ToDisplay(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(body);
    box.setIcon(iconOf(style));
    const auto buttons = buttonsOf(style);
    QMessageBox::StandardButtons set;
    for (const auto& b : buttons)
        set |= b.first;
    box.setStandardButtons(set);
    const std::size_t defaultIndex = static_cast<std::size_t>((style >> 8) & 3);
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].first);
    // Escape and the close button: Cancel where there is one, else No, else OK.
    for (QMessageBox::StandardButton escape : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
        if (set & escape) {
            box.setEscapeButton(escape);
            break;
        }
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const auto& b : buttons)
        if (b.first == clicked)
            return b.second;
    return mb::Cancel;
}

std::optional<std::string> QtDialogs::saveFileName(const SaveDialogRequest& request) {
#ifdef _WIN32
    // Windows' own dialog, which leaves a name without extension as it is.
    const QWidget* owner = QApplication::activeWindow();
    return win32::SaveFileName(request, owner ? static_cast<std::uintptr_t>(owner->winId()) : 0);
#else
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(QtNameFilters(request.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (!request.initialFolder.empty())
        dialog.setDirectory(ToDisplay(request.initialFolder));
    if (!request.fileName.empty())
        dialog.selectFile(ToDisplay(request.fileName));
    // request.hideReadOnly: Qt's dialogs have no read-only check box to hide.
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    return FromDisplay(QDir::toNativeSeparators(files.first()));
#endif
}

QString QtNameFilters(const std::string& filter) {
    const QStringList parts = ToDisplay(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(') + patterns + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    if (filters.isEmpty() && !parts.isEmpty() && !parts.first().isEmpty())
        filters << parts.first(); // a bare pattern without description
    return filters.join(QStringLiteral(";;"));
}

} // namespace avelin
