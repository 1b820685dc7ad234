#pragma once
// The large project the opening and start-up benchmarks share: `topics`
// modules (one in ten a popup) of about 1 KB of RTF each, named in no order,
// so that both lists are sorted for real. Saved as `dir`/<stem><topics>.qpf.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "model/project.h"

namespace qmbench {

inline std::string MakeLargeProject(const std::filesystem::path& dir, int topics, const char* stem) {
    qm::TProject p;
    p.NewProject();
    std::mt19937 rng(static_cast<unsigned>(topics));
    const std::string filler(900, 'x');
    p.Topics.GetNode(0).Text =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 Contents\\par\r\n}";
    for (int i = 1; i < topics; ++i) {
        qm::TTopicNode& n = p.Topics.AddNew();
        char name[32];
        std::snprintf(name, sizeof name, "T%08X_%d", static_cast<unsigned>(rng()), i);
        n.SetName(name);
        n.SetTitle(std::string("Title of ") + name);
        n.ContextId = 5 * (i + 1);
        n.Kind = i % 10 == 0 ? qm::TopicKind::Popup : qm::TopicKind::Topic;
        n.Text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 " +
                 std::string(name) + " " + filler + "\\par\r\n}";
    }
    const std::string file = (dir / (stem + std::to_string(topics) + ".qpf")).string();
    p.SaveToFile(file);
    return file;
}

}  // namespace qmbench
