#pragma once

// Message boxes, file dialogs and modal dialogs go through these wrappers, so that a test can
// answer them without a display and check what was asked.
//
// In normal use every call opens the real Qt box or dialog. Once the seams are enabled (by
// enableDialogSeams() or by queueing an answer) nothing opens any more: each call takes the next
// queued answer, and when none is queued it takes the answer the user would get by pressing
// Escape (the Cancel, No or OK button of a message box, a cancelled file dialog, a rejected
// dialog). Every call is recorded while the seams are enabled.

#include <QList>
#include <QMessageBox>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

struct MessageBoxRecord {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

enum class FileDialogMode { Open, Save, Folder };

struct FileDialogRequest {
    QString caption;       // empty: the dialog's own caption
    QString filter;        // e.g. "CSV (*.csv)"
    QString defaultSuffix; // appended to a chosen name without a suffix, e.g. "csv"
    QString directory;     // empty: the dialog's own starting folder; may end in a suggested name
};

struct FileDialogRecord {
    FileDialogMode mode = FileDialogMode::Open;
    FileDialogRequest request;
    QString answer; // empty: cancelled
};

// Shows a modal message box and returns the button that closed it. Enter presses
// defaultButton; NoButton leaves the choice to Qt (its first accepting button, Yes before No).
QMessageBox::StandardButton
showMessageBox(QWidget* owner, const QString& caption, const QString& text,
               QMessageBox::Icon icon = QMessageBox::NoIcon,
               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// Ask for an existing file to open / a file to save. Return an empty string when cancelled.
QString askOpenFileName(QWidget* owner, const FileDialogRequest& request);
QString askSaveFileName(QWidget* owner, const FileDialogRequest& request);
// Ask for an existing folder; the seams answer it with the next file name.
QString askFolder(QWidget* owner, const FileDialogRequest& request);

// Runs a dialog modally and returns its result (QDialog::Accepted or Rejected, or the value
// given to done()).
int execDialog(QDialog& dialog);

// The answer a message box gets from Escape: Cancel, else No, else OK, else its first button.
QMessageBox::StandardButton escapeAnswer(QMessageBox::StandardButtons buttons);

namespace DialogSeams {

void enable();
bool enabled();
// Forgets queued answers and records; the seams stay enabled.
void reset();

void setNextAnswer(QMessageBox::StandardButton answer);
// An empty name answers as if the user cancelled the file dialog.
void setNextFileName(const QString& fileName);
// The handler gets the dialog shown (not modal) and may fill it in and accept() or reject()
// it; a dialog still open after the handler is rejected.
void setNextDialogHandler(std::function<void(QDialog&)> handler);

const QList<MessageBoxRecord>& askedMessages();
const QList<FileDialogRecord>& askedFileDialogs();
// Object names (or class names when unnamed) of the dialogs run so far.
const QList<QString>& ranDialogs();

int pendingAnswers();

} // namespace DialogSeams
