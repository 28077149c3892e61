#include "EngineReporter.h"

#include <algorithm>
#include <utility>

std::string_view engineMessageText(EngineMessage message) {
    switch (message) {
    case EngineMessage::EmptyDragFunction: return "Записей в массиве драг-функции 0";
    case EngineMessage::ZeroSectionalDensity: return "sectional density = 0";
    }
    return {};
}

void MessageCollector::report(EngineMessage message) {
    std::atomic<unsigned>& slot = order_[static_cast<int>(message)];
    if (slot.load(std::memory_order_relaxed) != 0) return;  // the common case: already noted
    unsigned expected = 0;
    const unsigned rank = arrivals_.fetch_add(1) + 1;
    slot.compare_exchange_strong(expected, rank);
}

std::vector<EngineMessage> MessageCollector::take() {
    std::vector<std::pair<unsigned, EngineMessage>> seen;
    for (int i = 0; i < kCount; ++i) {
        const unsigned rank = order_[i].exchange(0);
        if (rank) seen.emplace_back(rank, static_cast<EngineMessage>(i));
    }
    arrivals_ = 0;
    std::sort(seen.begin(), seen.end());
    std::vector<EngineMessage> out;
    for (const auto& s : seen) out.push_back(s.second);
    return out;
}
