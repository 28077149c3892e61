#pragma once
#include <atomic>
#include <string_view>
#include <vector>

// Messages the engine has to show the user. The engine never shows anything itself: it hands them to
// the caller's reporter, which puts them in a message box (or records them, in tests).
enum class EngineMessage {
    EmptyDragFunction,      // a Cd lookup on a drag function without points
    ZeroSectionalDensity,   // a Special drag function whose sectional density is 0
};

// The message text as the program shows it (UTF-8).
std::string_view engineMessageText(EngineMessage message);

class EngineReporter {
public:
    virtual ~EngineReporter() = default;
    virtual void report(EngineMessage message) = 0;
};

// Collects what the engine reports during one command so that the caller shows each message once,
// after the command, from its own thread. Safe to share between the threads of a table fill.
class MessageCollector : public EngineReporter {
public:
    void report(EngineMessage message) override;
    // The messages reported since the last call, in the order they first came; clears them.
    std::vector<EngineMessage> take();

private:
    static constexpr int kCount = 2;
    std::atomic<unsigned> order_[kCount] = {};  // 0: not reported; else 1 + rank of arrival
    std::atomic<unsigned> arrivals_{0};
};
