#include "model/renumber.h"

#include <limits>

#include "util/errors.h"

namespace qm {

std::int64_t SuggestSecondStart(int count, std::int64_t increment, std::int64_t first) {
    return static_cast<std::int64_t>(count) * increment + first - (increment - 1);
}

void RenumberContextIds(TTopics& topics, std::int64_t topicStart, std::int64_t popupStart, std::int64_t increment) {
    if (increment < 1) throw Error("Incrementation value must be at least 1.");
    const auto fits = [](std::int64_t v) {
        return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
    };
    const std::int64_t lastTopic = topicStart + (topics.TopicCount() > 0 ? topics.TopicCount() - 1 : 0) * increment;
    const std::int64_t lastPopup = popupStart + (topics.PopupCount() > 0 ? topics.PopupCount() - 1 : 0) * increment;
    if (!fits(topicStart) || !fits(popupStart) || !fits(lastTopic) || !fits(lastPopup))
        throw Error("The new context IDs would pass the largest context ID, 2147483647.");
    std::int64_t nextTopic = topicStart;
    std::int64_t nextPopup = popupStart;
    for (const auto& node : topics) {
        std::int64_t& next = node->IsPopup() ? nextPopup : nextTopic;
        node->ContextId = static_cast<std::int32_t>(next);
        next += increment;
    }
}

}  // namespace qm
