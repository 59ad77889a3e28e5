#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"

namespace travenor::test {

// Messages the program showed, in order: prompt and title.
struct RecordedMessages : MessageBox {
    std::vector<std::pair<std::string, std::string>> shown;
    void show(const std::string& prompt, const std::string& title) override {
        shown.emplace_back(prompt, title);
    }
};

// File dialogs that answer with the path the test set, or cancel when it set
// none; they remember what they were shown.
struct ScriptedDialogs : FileDialogs {
    std::optional<std::string> answer;
    std::vector<std::string> asked;  // "open|save <file name> <filter>"

    std::optional<std::string> showOpen(const std::string& fileName,
                                        const std::string& filter) override {
        asked.push_back("open " + fileName + " " + filter);
        return answer;
    }
    std::optional<std::string> showSave(const std::string& fileName,
                                        const std::string& filter) override {
        asked.push_back("save " + fileName + " " + filter);
        return answer;
    }
};

// A printer that remembers what it printed; it can be cancelled or fail.
struct RecordingPrinter : Printer {
    bool cancel = false;
    std::string failure;
    int dialogs = 0;
    std::vector<std::string> printed;
    std::function<void()> duringDialog;

    bool choosePrinter() override {
        ++dialogs;
        if (duringDialog) duringDialog();
        return !cancel;
    }
    std::string printText(const std::string& text) override {
        if (failure.empty()) printed.push_back(text);
        return failure;
    }
};

}  // namespace travenor::test
