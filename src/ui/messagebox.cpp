#include "ui/messagebox.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QQueue>

namespace {

struct Seams {
    bool enabled = false;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> fileNames;
    QQueue<std::function<void(QDialog&)>> dialogHandlers;
    QList<MessageBoxRecord> messages;
    QList<FileDialogRecord> fileDialogs;
    QList<QString> dialogs;
};

Seams& seams() {
    static Seams instance;
    return instance;
}

QString withDefaultSuffix(const QString& fileName, const QString& suffix) {
    if (fileName.isEmpty() || suffix.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + suffix;
}

QString askFileName(QWidget* owner, FileDialogMode mode, const FileDialogRequest& request) {
    QString answer;
    if (seams().enabled) {
        if (!seams().fileNames.isEmpty())
            answer = seams().fileNames.dequeue();
    } else {
        QFileDialog dialog(owner, request.caption, request.directory, request.filter);
        dialog.setObjectName(QStringLiteral("fileDialog"));
        dialog.setAcceptMode(mode == FileDialogMode::Save ? QFileDialog::AcceptSave
                                                          : QFileDialog::AcceptOpen);
        dialog.setFileMode(mode == FileDialogMode::Save     ? QFileDialog::AnyFile
                           : mode == FileDialogMode::Folder ? QFileDialog::Directory
                                                            : QFileDialog::ExistingFile);
        if (mode == FileDialogMode::Folder)
            dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            answer = dialog.selectedFiles().constFirst();
    }
    // A native dialog may hand back the name as typed; the suffix rule is ours.
    if (mode == FileDialogMode::Save ||
        (mode == FileDialogMode::Open && !QFileInfo::exists(answer)))
        answer = withDefaultSuffix(answer, request.defaultSuffix);
    if (seams().enabled)
        seams().fileDialogs.append({mode, request, answer});
    return answer;
}

} // namespace

QMessageBox::StandardButton escapeAnswer(QMessageBox::StandardButtons buttons) {
    for (const QMessageBox::StandardButton button :
         {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons.testFlag(button))
            return button;
    }
    for (uint bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit)))
            return static_cast<QMessageBox::StandardButton>(bit);
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButton showMessageBox(QWidget* owner, const QString& caption,
                                           const QString& text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
    if (!seams().enabled) {
        QMessageBox box(icon, caption, text, buttons, owner);
        box.setObjectName(QStringLiteral("messageBox"));
        if (defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(defaultButton);
        const int result = box.exec();
        const auto answer = static_cast<QMessageBox::StandardButton>(result);
        return buttons.testFlag(answer) ? answer : escapeAnswer(buttons);
    }
    QMessageBox::StandardButton answer =
        seams().answers.isEmpty() ? escapeAnswer(buttons) : seams().answers.dequeue();
    seams().messages.append({caption, text, icon, buttons, answer, defaultButton});
    return answer;
}

QString askOpenFileName(QWidget* owner, const FileDialogRequest& request) {
    return askFileName(owner, FileDialogMode::Open, request);
}

QString askSaveFileName(QWidget* owner, const FileDialogRequest& request) {
    return askFileName(owner, FileDialogMode::Save, request);
}

QString askFolder(QWidget* owner, const FileDialogRequest& request) {
    return askFileName(owner, FileDialogMode::Folder, request);
}

int execDialog(QDialog& dialog) {
    if (!seams().enabled)
        return dialog.exec();
    seams().dialogs.append(dialog.objectName().isEmpty()
                               ? QString::fromLatin1(dialog.metaObject()->className())
                               : dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (!seams().dialogHandlers.isEmpty())
        seams().dialogHandlers.dequeue()(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}

namespace DialogSeams {

void enable() {
    seams().enabled = true;
}

bool enabled() {
    return seams().enabled;
}

void reset() {
    Seams& s = seams();
    s.answers.clear();
    s.fileNames.clear();
    s.dialogHandlers.clear();
    s.messages.clear();
    s.fileDialogs.clear();
    s.dialogs.clear();
}

void setNextAnswer(QMessageBox::StandardButton answer) {
    enable();
    seams().answers.enqueue(answer);
}

void setNextFileName(const QString& fileName) {
    enable();
    seams().fileNames.enqueue(fileName);
}

void setNextDialogHandler(std::function<void(QDialog&)> handler) {
    enable();
    seams().dialogHandlers.enqueue(std::move(handler));
}

const QList<MessageBoxRecord>& askedMessages() {
    return seams().messages;
}

const QList<FileDialogRecord>& askedFileDialogs() {
    return seams().fileDialogs;
}

const QList<QString>& ranDialogs() {
    return seams().dialogs;
}

int pendingAnswers() {
    const Seams& s = seams();
    return int(s.answers.size() + s.fileNames.size() + s.dialogHandlers.size());
}

} // namespace DialogSeams
