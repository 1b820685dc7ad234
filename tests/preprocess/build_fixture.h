#pragma once
// A small project for the preprocessor tests: topics Intro (contents),
// Details and Caf\xe9, popup Def; windows main, proc4 and wide.
#include <functional>
#include <string>
#include <vector>

#include "model/project.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"
#include "preprocess/topicwriter.h"

namespace qmtest {

struct LogLine {
    int code;
    std::string text;
    int occurrence;
    bool operator==(const LogLine&) const = default;
};

inline std::vector<LogLine> LogLines(const qm::TOutputLog& log) {
    std::vector<LogLine> out;
    for (const qm::TError& e : log.Entries()) out.push_back({e.Code, e.Text, e.Occurrence});
    return out;
}

inline void PrintTo(const LogLine& l, std::ostream* os) {
    *os << "{" << l.code << ", \"" << l.text << "\", " << l.occurrence << "}";
}

class BuildFixture {
public:
    BuildFixture() {
        project.FileName = "D:\\Help\\Guide.qpf";
        intro = &AddNode("Intro", qm::TopicKind::Topic, 5);
        intro->IsContents = true;
        details = &AddNode("Details", qm::TopicKind::Topic, 10);
        AddNode("Caf\xe9", qm::TopicKind::Topic, 15);
        def = &AddNode("Def", qm::TopicKind::Popup, 20);
        for (const char* name : {"main", "proc4", "wide"}) project.Windows.Add().SetName(name);
        checks.SetError(qm::Check::ImageNotFound, false);  // no image files unless a test makes them
    }

    qm::TTopicNode& AddNode(const std::string& name, qm::TopicKind kind, int id) {
        qm::TTopicNode& n = project.Topics.AddNew();
        n.SetName(name);
        n.Kind = kind;
        n.ContextId = id;
        return n;
    }

    qm::TPassContext Context(const qm::TTopicNode& topic, bool literal = false) {
        return qm::TPassContext{project, topic, log, checks, literal};
    }

    // Runs one pass on `text` as the body of Intro.
    std::string Run(const std::function<void(std::string&, const qm::TPassContext&)>& pass, std::string text,
                    bool literal = false) {
        const qm::TPassContext ctx = Context(*intro, literal);
        pass(text, ctx);
        return text;
    }

    qm::TProject project;
    qm::TOutputLog log;
    qm::TCheckSettings checks;
    qm::TTopicNode* intro = nullptr;
    qm::TTopicNode* details = nullptr;
    qm::TTopicNode* def = nullptr;
};

}  // namespace qmtest
