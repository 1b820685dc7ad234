// Runs the preprocessor passes on random RTF with tags: they must never crash,
// and the one-sweep replacement must give the same bytes and log as replacing
// tag by tag.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/project.h"
#include "preprocess/checksettings.h"
#include "preprocess/outputlog.h"
#include "preprocess/tagtext.h"
#include "preprocess/topicwriter.h"

namespace {

std::string Run(qm::TProject& project, const qm::TTopicNode& topic, const qm::TCheckSettings& checks, bool literal,
                qm::TOutputLog& log) {
    qm::TPassContext ctx{project, topic, log, checks, literal};
    qm::TAnchorTable anchors;
    qm::TUnresolvedAnchorTable unresolved;
    std::string out = qm::PreprocessTopic(ctx, anchors, unresolved);
    std::vector<qm::TAnchorTable> tables(1);
    tables[0] = anchors;
    qm::ResolveAnchors(tables, unresolved, log, checks);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static qm::TProject* project = [] {
        auto* p = new qm::TProject();
        const char* names[] = {"Intro", "Details", "Def"};
        for (int i = 0; i < 3; ++i) {
            qm::TTopicNode& t = p->Topics.AddNew();
            t.SetName(names[i]);
            t.ContextId = 5 * (i + 1);
            t.Kind = i == 2 ? qm::TopicKind::Popup : qm::TopicKind::Topic;
        }
        p->Windows.Add().SetName("main");
        p->Windows.Add().SetName("proc4");
        return p;
    }();
    qm::TCheckSettings checks;
    for (int n = 1; n <= 9; ++n) {
        checks.SetError(n, (data[0] >> (n % 8)) & 1);
        checks.SetErrorType(n, (data[0] >> ((n + 3) % 8)) & 1);
    }
    checks.SetError(qm::Check::ImageNotFound, false);  // no file system look-ups
    qm::TTopicNode& topic = project->Topics.GetNode(0);
    topic.Text.assign(reinterpret_cast<const char*>(data + 1), size - 1);

    qm::TOutputLog fastLog, literalLog;
    const std::string fast = Run(*project, topic, checks, false, fastLog);
    const std::string literal = Run(*project, topic, checks, true, literalLog);
    if (fast != literal || fastLog.Count() != literalLog.Count()) std::abort();
    for (int i = 0; i < fastLog.Count(); ++i)
        if (fastLog.Entry(i).Text != literalLog.Entry(i).Text || fastLog.Entry(i).Code != literalLog.Entry(i).Code ||
            fastLog.Entry(i).Occurrence != literalLog.Entry(i).Occurrence)
            std::abort();
    (void)fastLog.ShowLog(1);

    std::string tag;
    (void)qm::FindTag(topic.Text, "LINK", 1, tag);
    (void)qm::StripRtf(topic.Text);
    (void)qm::EscapeRtf(topic.Text);
    return 0;
}
