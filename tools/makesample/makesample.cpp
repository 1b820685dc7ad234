// Writes the sample project that the README's run command opens: a few
// topics and popups, a secondary window, links, a macro hotspot and keywords,
// all made with the project model so it is always a file the program reads.
//
//   makesample <output.qpf>
#include <exception>
#include <iostream>
#include <string>

#include "model/project.h"
#include "richtext/richdoc.h"

using namespace qm;

namespace {

// A body as the editor stores it: the paragraphs in Arial 10 pt.
std::string Body(const std::string& text) {
    CharFormat format;
    format.font.face = "Arial";
    format.font.family = FontFamily::Swiss;
    format.sizeHalfPoints = 20;
    return WriteRtf(ReadPlainText(text, format));
}

TTopicNode& AddNode(TProject& p, TopicKind kind, const char* name, const char* title, int context,
                    const std::string& text) {
    TTopicNode& n = p.Topics.AddNew();
    n.Kind = kind;
    n.SetName(name);
    n.SetTitle(title);
    n.ContextId = context;
    n.State = TopicState::Done;
    n.Text = Body(text);
    return n;
}

void BuildSample(TProject& p) {
    p.NewProject();  // the contents topic and the "main" window
    p.SetTitle("Quillmark Sample Help");
    p.SetHlpFile("Sample.hlp");
    p.SetCopyright("Sample project made by Quillmark's own tools.");

    // The topics below form a browse sequence, which the reader only gets
    // buttons for when the main window runs BrowseButtons().
    TWindowDef& main = p.Windows.GetWindow(1);
    main.SetCaption("Quillmark Sample Help");
    main.Macros = {"BrowseButtons()"};

    TWindowDef& note = p.Windows.Add();
    note.SetName("note");
    note.SetCaption("Quick Tips");
    note.AdjustRes = 1;  // help units: a narrow window at the right
    note.X = 640;
    note.Y = 80;
    note.W = 360;
    note.H = 420;
    note.Attributes = WindowAttributes::KeepOnTop;
    note.Rgb1 = 0xE0FFFF;  // light yellow non-scrolling region
    note.Rgb2 = 0xFFFFFF;

    TTopicNode& contents = p.Topics.GetNode(0);
    contents.SetTitle("Welcome to the Sample Help");
    contents.State = TopicState::Done;
    contents.Keywords = {"welcome", "contents"};
    contents.Text = Body(
        "<NOSCROLL>Welcome to the Sample Help</NOSCROLL>\n"
        "This small help project shows what a Quillmark project holds.\n"
        "Start with <LINK TOPIC=\"Getting_Started\">Getting started</LINK>, or read about the "
        "<LINK TOPIC=\"Features\">features</LINK>.\n"
        "Words like <LINK POPUP=\"Glossary_Hotspot\">hotspot</LINK> are explained in popups.\n"
        "<MACRO About()>About this help file</MACRO>");

    TTopicNode& start =
        AddNode(p, TopicKind::Topic, "Getting_Started", "Getting Started", 10,
                "Getting Started\n"
                "A project is a list of topics and popups. Each topic becomes a page of the help file.\n"
                "<ANCHOR \"first_build\">Build the help file with Build... (F5).\n"
                "Keep the <LINK TOPIC=\"Tips\" WINDOW=note>quick tips</LINK> open while you work.\n"
                "Back to the <LINK TOPIC=\"Contents\">contents</LINK>.");
    start.Keywords = {"getting started", "build"};
    start.SetBrowse("sample:010");

    TTopicNode& features = AddNode(p, TopicKind::Topic, "Features", "Features", 20,
                                   "Features\n"
                                   "Links to topics, popups such as <LINK POPUP=\"Glossary_Popup\">popup</LINK>, "
                                   "secondary windows and macro hotspots.\n"
                                   "See also <LINK TOPIC=\"Getting_Started:first_build\">your first build</LINK>.\n"
                                   "<BTN Contents()>Contents</BTN>");
    features.Keywords = {"features", "links"};
    features.AKeywords = {"feature_list"};
    features.SetBrowse("sample:020");

    TTopicNode& tips = AddNode(p, TopicKind::Topic, "Tips", "Quick Tips", 30,
                               "Quick Tips\n"
                               "This topic opens in the secondary window \"note\".\n"
                               "Tags are typed in angle brackets; write &lt; for a literal less-than sign.");
    tips.SetWindow("note");
    tips.Keywords = {"tips"};

    AddNode(p, TopicKind::Popup, "Glossary_Hotspot", "Hotspot", 100,
            "Hotspot: a word or picture that the reader clicks to jump to a topic, show a popup or run a macro.");
    AddNode(p, TopicKind::Popup, "Glossary_Popup", "Popup", 110,
            "Popup: a small window with a short explanation, shown over the topic.");
    p.Modified = false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: makesample <output.qpf>\n";
        return 2;
    }
    try {
        TProject project;
        BuildSample(project);
        project.SaveToFile(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "makesample: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
