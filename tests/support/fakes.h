#pragma once
// Test doubles of the platform services: a clock that stands still (or steps),
// message boxes and save dialogs answered from a script, and process services
// that record what they were asked to do.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/process.h"

namespace avelin::test {

class FixedClock : public Clock {
public:
    mutable DateTime time{2026, 12, 4, 14, 5, 9};
    mutable double seconds = 50709.0; // what secondsSinceMidnight() answers
    double secondsStep = 0.0;         // added after every secondsSinceMidnight() call
    int nowStep = 0;                  // seconds added to `time` after every now() call
    mutable int nowReads = 0;
    DateTime now() const override {
        ++nowReads;
        const DateTime t = time;
        // Enough for tests: the seconds carry into the minutes only.
        const int s = time.second + nowStep;
        time.minute += s / 60;
        time.second = s % 60;
        return t;
    }
    double secondsSinceMidnight() const override {
        const double s = seconds;
        seconds += secondsStep;
        if (seconds >= 86400.0)
            seconds -= 86400.0;
        return s;
    }
};

struct ShownMessage {
    std::string text;
    int style = 0;
    std::string title;
};

class ScriptedDialogs : public Dialogs {
public:
    // Answers of the coming message boxes, in order; mb::Ok when none is left.
    std::deque<int> nextAnswers;
    // File names of the coming save dialogs; nullopt means "cancelled".
    std::deque<std::optional<std::string>> nextFileNames;

    std::vector<ShownMessage> messages;
    std::vector<SaveDialogRequest> saveRequests;

    int messageBox(const std::string& text, int style, const std::string& title) override {
        messages.push_back({text, style, title});
        if (nextAnswers.empty())
            return mb::Ok;
        const int a = nextAnswers.front();
        nextAnswers.pop_front();
        return a;
    }
    std::optional<std::string> saveFileName(const SaveDialogRequest& request) override {
        saveRequests.push_back(request);
        if (nextFileNames.empty())
            return std::nullopt;
        auto name = nextFileNames.front();
        nextFileNames.pop_front();
        return name;
    }
};

class FakeProcess : public ProcessServices {
public:
    bool otherCopyRunning = false;
    std::vector<std::string> started;
    int eventsProcessed = 0;
    int endCalls = 0;
    // Runs on every processEvents(), e.g. to close a fake window after a while.
    std::function<void(int)> onEvents;

    bool previousInstance() override { return otherCopyRunning; }
    void startProgram(const std::string& path) override { started.push_back(path); }
    void processEvents() override {
        ++eventsProcessed;
        if (onEvents)
            onEvents(eventsProcessed);
    }
    void endProgram() override { ++endCalls; }
    bool ended() const { return endCalls > 0; }
};

} // namespace avelin::test
