#include "support/scripted_platform.h"

#include <gtest/gtest.h>

namespace tavolin::test {

namespace {
template <class Answer>
Answer Next(std::deque<Answer>& answers, const char* what) {
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << what << " dialog";
        return Answer{};
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}
} // namespace

void ScriptedPlatform::ShowMessage(const QString& text, const QString& caption, MessageIcon icon) {
    messages.push_back({text, caption, icon});
}

bool ScriptedPlatform::AskYesNo(const QString& text, const QString& caption) {
    questions.push_back({text, caption, MessageIcon::Exclamation});
    return Next(yesNoAnswers, "yes/no");
}

std::optional<QString> ScriptedPlatform::OpenFile(const FileDialogSpec& dialog) {
    fileRequests.push_back({dialog, false});
    return Next(fileAnswers, "open");
}

std::optional<QString> ScriptedPlatform::SaveFile(const FileDialogSpec& dialog) {
    fileRequests.push_back({dialog, true});
    return Next(fileAnswers, "save");
}

std::optional<QColor> ScriptedPlatform::ChooseColor(const QString& /*objectName*/, const QColor& initial) {
    colorPresets.push_back(initial);
    return Next(colorAnswers, "colour");
}

std::optional<ChosenFont> ScriptedPlatform::ChooseFont(const QString& /*objectName*/, const ChosenFont& initial) {
    fontPresets.push_back(initial);
    return Next(fontAnswers, "font");
}

void ScriptedPlatform::CopyToClipboard(const QString& text) {
    clipboard.push_back(text);
}

void ScriptedPlatform::PostQuit() {
    ++quitRequests;
}

} // namespace tavolin::test
