// SPDX-License-Identifier: GPL-3.0-or-later
// dialogs.cpp - message and file boxes behind one replaceable provider.
#include "platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <vector>

namespace platform {

namespace {

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonChoice> buttonsOf(unsigned flags) {
    switch (flags & 0xFu) {
    case MbOkCancel:
        return {{QMessageBox::Ok, IdOk}, {QMessageBox::Cancel, IdCancel}};
    case MbYesNoCancel:
        return {{QMessageBox::Yes, IdYes}, {QMessageBox::No, IdNo}, {QMessageBox::Cancel, IdCancel}};
    case MbYesNo:
        return {{QMessageBox::Yes, IdYes}, {QMessageBox::No, IdNo}};
    default:
        return {{QMessageBox::Ok, IdOk}};
    }
}

QMessageBox::Icon iconOf(unsigned flags) {
    switch (flags & 0xF0u) {
    case MbIconError:
        return QMessageBox::Critical;
    case MbIconQuestion:
        return QMessageBox::Question;
    case MbIconWarning:
        return QMessageBox::Warning;
    case MbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

bool canShowWindows() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// The real boxes of the desktop.
class QtDialogs final : public DialogProvider {
public:
    int messageBox(const MessageBoxRequest& request, QWidget* parent) override {
        const std::vector<ButtonChoice> choices = buttonsOf(request.flags);
        // The answer a box gives when it is dismissed: Cancel, else No, else OK.
        int dismissed = choices.front().answer;
        for (const ButtonChoice& c : choices) {
            if (c.answer == IdCancel || (c.answer == IdNo && dismissed != IdCancel)) {
                dismissed = c.answer;
            }
        }
        if (!canShowWindows()) {
            std::fprintf(stderr, "%s: %s\n", request.caption.toLocal8Bit().constData(),
                         request.text.toLocal8Bit().constData());
            return dismissed;
        }
        QMessageBox box(parent);
        box.setWindowTitle(request.caption);
        box.setText(request.text);
        box.setIcon(iconOf(request.flags));
        std::vector<QPushButton*> buttons;
        for (const ButtonChoice& c : choices) {
            buttons.push_back(box.addButton(c.button));
        }
        const std::size_t defaultIndex = (request.flags & MbDefButton2) != 0 ? 1 : 0;
        box.setDefaultButton(buttons[std::min(defaultIndex, buttons.size() - 1)]);
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (choices[i].answer == dismissed) {
                box.setEscapeButton(buttons[i]);
            }
        }
        box.exec();
        for (std::size_t i = 0; i < choices.size(); ++i) {
            if (box.clickedButton() == buttons[i]) {
                return choices[i].answer;
            }
        }
        return dismissed;
    }

    std::optional<QString> fileDialog(const FileDialogRequest& request, QWidget* parent) override {
        if (!canShowWindows()) {
            return std::nullopt;
        }
        QFileDialog dialog(parent, request.title, request.folder, request.filter);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!request.defaultSuffix.isEmpty()) {
            dialog.setDefaultSuffix(request.defaultSuffix);
        }
        if (!request.fileName.isEmpty()) {
            dialog.selectFile(request.fileName);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return dialog.selectedFiles().front();
    }
};

std::shared_ptr<DialogProvider>& providerSlot() {
    static std::shared_ptr<DialogProvider> provider = std::make_shared<QtDialogs>();
    return provider;
}

} // namespace

void SetDialogProvider(std::shared_ptr<DialogProvider> provider) {
    providerSlot() = provider ? std::move(provider) : std::make_shared<QtDialogs>();
}

DialogProvider& Dialogs() { return *providerSlot(); }

int MessageBox(const QString& text, const QString& caption, unsigned flags, QWidget* parent) {
    // Held for the call: a provider replaced while its box is open lives on.
    const std::shared_ptr<DialogProvider> provider = providerSlot();
    return provider->messageBox(MessageBoxRequest{text, caption, flags},
                                parent != nullptr ? parent : MainWindow());
}

std::optional<QString> FileDialog(const FileDialogRequest& request, QWidget* parent) {
    const std::shared_ptr<DialogProvider> provider = providerSlot();
    return provider->fileDialog(request, parent != nullptr ? parent : MainWindow());
}

// ------------------------------------------------------------ scripted

int ScriptedDialogs::messageBox(const MessageBoxRequest& request, QWidget*) {
    messages.push_back(request);
    if (answers.empty()) {
        return defaultAnswer;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::fileDialog(const FileDialogRequest& request, QWidget*) {
    fileRequests.push_back(request);
    if (files.empty()) {
        return std::nullopt;
    }
    std::optional<QString> answer = files.front();
    files.pop_front();
    return answer;
}

} // namespace platform
