#pragma once
// A spelling dialog for tests of the spell scan: it answers each misspelt
// word from a queue (failing on a word it did not expect) and records what
// it was shown. No display needed.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "spell/spelltarget.h"

namespace qmtest {

class ScriptedSpellUi : public qm::TSpellUi {
public:
    struct Reply {
        std::string word;  // the word expected (empty: any)
        qm::TSpellAction action = qm::TSpellAction::Ignore;
        std::string changeTo;
        std::function<void()> during;  // runs while the dialog "waits"
    };
    // What the dialog was shown.
    struct Shown {
        std::string word;
        qm::StringList suggestions;
        bool addEnabled = false;
        bool moveDialog = false;
        qm::TSpellBox box;
    };

    void Expect(std::string word, qm::TSpellAction action, std::string changeTo = {},
                std::function<void()> during = {}) {
        replies.push_back({std::move(word), action, std::move(changeTo), std::move(during)});
    }

    void SetCaption(std::string_view caption) override { captions.emplace_back(caption); }
    qm::TSpellAnswer Ask(const qm::TSpellQuestion& q) override {
        shown.push_back(
            {q.Word, q.Suggestions ? *q.Suggestions : qm::StringList{}, q.AddEnabled, q.MoveDialog, q.WordBox});
        asked.push_back(q.Word);
        if (replies.empty()) {
            if (!answerIgnoreWhenUnscripted) ADD_FAILURE() << "unscripted question about \"" << q.Word << "\"";
            return {answerIgnoreWhenUnscripted ? qm::TSpellAction::Ignore : qm::TSpellAction::Cancel, {}};
        }
        Reply r = std::move(replies.front());
        replies.pop_front();
        if (!r.word.empty()) {
            EXPECT_EQ(q.Word, r.word);
        }
        if (r.during) r.during();
        return {r.action, r.changeTo};
    }
    void Finish() override { ++finished; }

    std::deque<Reply> replies;
    std::vector<std::string> asked;
    std::vector<Shown> shown;
    std::vector<std::string> captions;
    int finished = 0;
    bool answerIgnoreWhenUnscripted = false;
};

}  // namespace qmtest
