#pragma once
// Renumbering every context ID of a project: topics and popups form two
// arithmetic series with one increment, which must not overlap.
#include <cstdint>

#include "model/topics.h"

namespace qm {

// The lowest start of the second group: the last ID of the first group (of
// `count` nodes starting at `first`) plus one, count * inc + first - (inc - 1).
// Wide, so that a large suggestion is never cut.
std::int64_t SuggestSecondStart(int count, std::int64_t increment, std::int64_t first);

// Gives the k-th topic (k from 0, in list order) topicStart + k * increment
// and the k-th popup popupStart + k * increment. An increment below 1 or an
// ID past the 32-bit range raises qm::Error before anything changes.
void RenumberContextIds(TTopics& topics, std::int64_t topicStart, std::int64_t popupStart, std::int64_t increment);

}  // namespace qm
