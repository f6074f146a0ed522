#pragma once

#include "ui/platform.h"

#include <deque>
#include <vector>

namespace tavolin::test {

// A platform that records every message box and answers every dialog from a
// script. A dialog without a scripted answer fails the test and is cancelled.
class ScriptedPlatform final : public Platform {
public:
    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
        bool operator==(const Message&) const = default;
    };
    struct FileRequest {
        FileDialogSpec dialog;
        bool save;
    };

    void ShowMessage(const QString& text, const QString& caption, MessageIcon icon) override;
    bool AskYesNo(const QString& text, const QString& caption) override;
    std::optional<QString> OpenFile(const FileDialogSpec& dialog) override;
    std::optional<QString> SaveFile(const FileDialogSpec& dialog) override;
    std::optional<QColor> ChooseColor(const QString& objectName, const QColor& initial) override;
    std::optional<ChosenFont> ChooseFont(const QString& objectName, const ChosenFont& initial) override;
    void CopyToClipboard(const QString& text) override;
    void PostQuit() override;

    // Answers for the next dialogs, in order; nothing means "cancel". A
    // question without an answer fails the test and is answered "Nein".
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<ChosenFont>> fontAnswers;

    std::vector<Message> messages;
    std::vector<Message> questions; // with the warning icon: MessageIcon::Exclamation
    std::vector<FileRequest> fileRequests;
    std::vector<QColor> colorPresets;
    std::vector<ChosenFont> fontPresets;
    std::vector<QString> clipboard;
    int quitRequests = 0;
};

} // namespace tavolin::test
