#pragma once
// A populated project for the model tests and the fuzzing seeds (no gtest here).
#include <string>

#include "model/project.h"

namespace qmtest {

// A project that uses every part of the file: settings, all three lists, two
// windows with macros, and topics and popups with keywords and texts (one
// holding NULs and line breaks).
inline void BuildRichProject(qm::TProject& p) {
    p.NewProject();
    p.CompressMode = 2;
    p.CompressFlags = 2 | 8 | 64;
    p.SetTitle("Rich project");
    p.SetCopyright("(c) Somebody");
    p.SetCitation("Cite me");
    p.SetHlpFile("rich.hlp");
    p.SetCntFile("rich.cnt");
    p.MakeVbInclude = true;
    p.SetIdPrefix("HID");
    p.BmRoot = {"images", "C:\\art\\"};
    p.IncludeTags = {"WIN"};
    p.ExcludeTags = {"MAC", ""};

    qm::TWindowDef& main = p.Windows.GetWindow(1);
    main.SetCaption("Main window");
    main.Macros = {"BrowseButtons()", "CloseWindow(`sec')"};
    qm::TWindowDef& sec = p.Windows.Add();
    sec.SetName("sec");
    sec.SetCaption("Second");
    sec.Attributes = 4;
    sec.AdjustRes = 1;
    sec.X = 10;
    sec.Y = 20;
    sec.W = 300;
    sec.H = 400;
    sec.Buttons = 255;
    sec.NoDefaultButtons = true;
    sec.Rgb1 = 0x0000FF;
    sec.Rgb2 = 0x00C0C0C0;
    sec.Macros = {"Beep()"};

    qm::TTopicNode& contents = p.Topics.GetNode(0);
    contents.Keywords = {"start", "home"};
    contents.AKeywords = {"a_home"};
    contents.Macros = {"Macro1()"};
    contents.Text = "{\\rtf1 Contents}";

    qm::TTopicNode& popup = p.Topics.AddNew();
    popup.Kind = qm::TopicKind::Popup;
    popup.SetName("Pop1");
    popup.SetTitle("A popup");
    popup.ContextId = 10;
    popup.State = qm::TopicState::Done;
    popup.SetWindow("sec");
    popup.SetBrowse("seq:010");
    popup.SetBuildTag("WIN");
    popup.Keywords = {"pop"};
    popup.Text = std::string("line1\r\nline2\n\0mid\0\r", 20);

    qm::TTopicNode& topic = p.Topics.AddNew();
    topic.SetName("Topic3");
    topic.ContextId = 15;
    topic.AKeywords = {"x", "y", "z"};
    topic.Text = "{\\rtf1 last}";
}

}  // namespace qmtest
