#include "import/import.h"

#include <exception>
#include <new>

#include "model/projectfile.h"
#include "util/cp1252.h"
#include "util/errors.h"
#include "util/fileio.h"
#include "util/helpunits.h"
#include "util/qorstring.h"
#include "util/qorsystem.h"

namespace qm {

namespace {

const char* const kFailed = "HelpWorkshop project importation failed for the following reason:";

// Hides the progress window however the import ends.
class ProgressScope {
public:
    explicit ProgressScope(TImportUi& ui) : ui_(ui) {}
    ~ProgressScope() { ui_.HideProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    TImportUi& ui_;
};

std::string ReasonOf(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "Insufficient memory.";
    return e.what();
}

bool IsAbsolute(std::string_view p) {
    if (!p.empty() && (p[0] == '\\' || p[0] == '/')) return true;
    return p.size() >= 2 && p[1] == ':';
}

// Reads the file or raises its file-access error.
std::string ReadImportFile(const std::string& name) { return ReadWholeFile(name, kMaxImportFileBytes); }

}  // namespace

std::string ImportFailedMessage(std::string_view reason) {
    return std::string(kFailed) + "\r\n\r\n" + std::string(reason);
}

bool LoadFileToString(const std::string& name, std::string& text) {
    try {
        text = ReadWholeFile(name);
        return true;
    } catch (const Error&) {
        return false;
    }
}

std::string ResolveImportPath(std::string_view folder, std::string_view entry) {
    if (entry.empty()) return {};
    if (IsAbsolute(entry)) return FileExists(entry) ? std::string(entry) : std::string();
    return FindFileInFolder(folder, entry);
}

std::u16string DecodeTextFile(std::string_view bytes) {
    const bool bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (bom) bytes.remove_prefix(3);
    if (!bom && !IsValidUtf8(bytes)) return Cp1252ToUtf16(bytes);
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t cp = 0;
        bool ok = len != 0 && i + len <= n;
        if (ok) {
            cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
            for (std::size_t k = 1; k < len && ok; ++k) {
                const auto c = static_cast<unsigned char>(bytes[i + k]);
                if ((c & 0xC0) != 0x80) ok = false;
                cp = (cp << 6) | (c & 0x3F);
            }
            if (ok && (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        }
        if (!ok) {
            // A broken sequence after a byte-order mark: one replacement.
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += len;
    }
    return out;
}

// ---------------------------------------------------------------------------

TRtfImportResult ImportRtfFile(TProject& project, const TImportTarget& target, const std::string& name,
                               bool useFootnotes, TImportUi& ui, TOutputLog* log) {
    TRtfImportResult result;
    ProgressScope scope(ui);
    try {
        ui.ShowProgress("Importing Rich Text Format File...");
        ui.SetProgress(0, 100);
        std::string text = ReadImportFile(name);
        TTopicNode* open = target.OpenNode ? project.Topics.FindById(target.OpenNode) : nullptr;
        if (!useFootnotes) {
            if (!open) throw Error("No topic or popup is open to take the file.");
            open->Text = std::move(text);
            project.Modified = true;
            result.OpenNode = open->Id();
            result.Ok = true;
            ui.SetProgress(100, 100);
            return result;
        }
        StringList pages;
        int count = 0;
        TFootnotesList footnotes;
        ParseRtfFile(std::move(text), pages, count, footnotes,
                     [&ui](int position, int max) { ui.SetProgress(position, max); });
        if (count == 0) throw Error("The file holds no topic.");
        std::vector<std::unique_ptr<TTopicNode>> records;
        CreateImportedTopics(count, pages, footnotes, &project, records);
        ui.SetProgress(100, 100);
        for (auto& r : records) r->Kind = target.ActiveKind;
        // Nothing may point at the module about to be freed.
        if (log) log->Clear();
        ui.ClearResults();
        TTopicNode* first = records.front().get();
        if (open) {
            if (target.ActiveKind == TopicKind::Topic && open->IsTopic()) first->IsContents = open->IsContents;
            project.Topics.ReplaceNode(open, std::move(records.front()));
        } else {
            project.Topics.AddNode(std::move(records.front()));
        }
        result.OpenNode = first->Id();
        for (std::size_t i = 1; i < records.size(); ++i) {
            result.Appended.push_back(records[i]->Id());
            project.Topics.AddNode(std::move(records[i]));
        }
        project.Modified = true;
        result.Ok = true;
    } catch (const std::exception& e) {
        result = TRtfImportResult();
        ui.ShowError(ImportFailedMessage(ReasonOf(e)));
    }
    return result;
}

namespace {

// Decoded text as RTF, written as it is read, line by line: a document of
// the whole file would take many times its size.
std::string TextToRtf(std::u16string_view text, const CharFormat& format) {
    RtfStreamWriter writer;
    ReadPlainTextParagraphs(text, format, [&writer](Paragraph&& p) { writer.note(p); });
    ReadPlainTextParagraphs(text, format, [&writer](Paragraph&& p) { writer.write(p); });
    return writer.finish();
}

}  // namespace

std::string ImportTextToRtf(std::string_view bytes, const CharFormat& format) {
    return TextToRtf(DecodeTextFile(bytes), format);
}

bool ImportTextFile(TProject& project, TNodeId openNode, const std::string& name, const CharFormat& format,
                    TImportUi& ui) {
    try {
        TTopicNode* open = openNode ? project.Topics.FindById(openNode) : nullptr;
        if (!open) throw Error("No topic or popup is open to take the file.");
        // The file's bytes go as soon as they are decoded.
        const std::u16string text = DecodeTextFile(ReadImportFile(name));
        std::string rtf = TextToRtf(text, format);
        if (rtf.size() > projectfile::MaxModuleTextBytes)
            throw Error("The file " + QuoteInput(name) + " is too large to import: its text would pass the limit of " +
                        std::to_string(projectfile::MaxModuleTextBytes >> 20) + " MB of a module.");
        open->Text = std::move(rtf);
        project.Modified = true;
        return true;
    } catch (const std::exception& e) {
        ui.ShowError(ReasonOf(e));
        return false;
    }
}

// ---------------------------------------------------------------------------

namespace {

// The window state bits and the buttons they stand for.
struct StateButton {
    std::int32_t bit;
    std::uint8_t button;
};
constexpr StateButton kStateButtons[] = {
    {256, WindowButtons::Options}, {512, WindowButtons::Browse},      {1024, WindowButtons::Contents},
    {2048, WindowButtons::Index},  {4096, WindowButtons::HelpTopics}, {8192, WindowButtons::Print},
    {16384, WindowButtons::Back},  {32768, WindowButtons::Find},
};

void ImportWindow(const TWindowInfo& info, TWindowDef& w) {
    w.Buttons = 0;
    w.Attributes = 0;
    w.SetName(Trim(info.Name));
    w.SetCaption(info.Caption);
    w.Rgb2 = static_cast<TColorRef>(info.Rgb1);
    w.Rgb1 = static_cast<TColorRef>(info.Rgb2);
    if (info.State & 1) w.Attributes |= WindowAttributes::Maximize;
    if (info.State & 4) w.NoDefaultButtons = true;
    for (const StateButton& sb : kStateButtons)
        if (info.State & sb.bit) w.Buttons |= sb.button;
    const std::string rest = info.Rest;
    if (rest.empty()) {
        w.AdjustRes = 1;
    } else if (rest == "1") {
        w.Attributes |= WindowAttributes::KeepOnTop | WindowAttributes::Maximize;
        w.AdjustRes = 1;
    } else {
        const int n = rest.size() >= 2 && rest[1] >= '0' && rest[1] <= '9' ? rest[1] - '0' : 0;
        if (n & 1) w.Attributes |= WindowAttributes::KeepOnTop;
        if (n & 2) w.Attributes |= WindowAttributes::AutoSizeHeight;
        w.AdjustRes = (n & 4) ? 0 : 1;
    }
    const ScreenSize screen = Screen().screenSize();
    w.X = info.X == -1 ? screen.width / 2 - 300 : info.X;
    w.Y = info.Y == -1 ? screen.height / 2 - 240 : info.Y;
    w.W = info.W == -1 ? 600 : info.W;
    w.H = info.H == -1 ? 480 : info.H;
}

}  // namespace

void ImportHpjOptions(const THpjFile& hpj, TProject& project) {
    for (int i = 0; i < hpj.WindowCount(); ++i) ImportWindow(hpj.GetWindow(i), project.Windows.Add());
    if (project.Windows.Empty()) project.Windows.Add().SetName("main");

    bool haveContents = false;
    std::string contents;
    const std::size_t n = std::min(hpj.OptionKeys.size(), hpj.OptionValues.size());
    for (std::size_t i = 0; i < n; ++i) {
        // The model's fields and lists end at a NUL; so does every value here.
        const std::string key = Trim(CutAtNul(hpj.OptionKeys[i]));
        const std::string value = Trim(CutAtNul(hpj.OptionValues[i]));
        if (key == "TITLE")
            project.SetTitle(value);
        else if (key == "COPYRIGHT")
            project.SetCopyright(value);
        else if (key == "HLP")
            project.SetHlpFile(value);
        else if (key == "CNT")
            project.SetCntFile(value);
        else if (key == "BMROOT")
            project.BmRoot.push_back(value);
        else if (key == "CONTENTS" && !value.empty()) {
            haveContents = true;
            contents = value;
        }
    }
    for (const auto& node : project.Topics) node->IsContents = false;
    TTopicNode* topic = nullptr;
    if (haveContents) {
        for (TTopicNode* t : project.Topics.NodesOfKind(TopicKind::Topic))
            if (SameText(t->GetName(), contents)) {
                topic = t;
                break;
            }
    } else {
        // The help compiler starts at the first topic then.
        auto topics = project.Topics.NodesOfKind(TopicKind::Topic);
        if (!topics.empty()) topic = topics.front();
    }
    if (!topic) throw Error("Unable to resolve the contents topic within the project.");
    topic->IsContents = true;
}

std::unique_ptr<TProject> ImportHpjProject(const std::string& name, TImportUi& ui, TOutputLog* log) {
    THpjFile hpj;
    try {
        hpj.LoadFromFile(name);
    } catch (const std::exception& e) {
        ui.ShowError(ReasonOf(e));
        return nullptr;
    }
    ProgressScope scope(ui);
    try {
        auto project = std::make_unique<TProject>();
        ui.ShowProgress("Importing project...");
        const std::string folder = ExtractFilePath(name);
        StringList pages;
        int count = 0;
        TFootnotesList footnotes;
        for (const std::string& line : hpj.Files) {
            // A ";" starts a comment in the project file.
            std::string entry = Trim(line.substr(0, line.find(';')));
            if (entry.empty()) continue;
            std::string path = ResolveImportPath(folder, entry);
            if (path.empty()) {
                const std::string shown = IsAbsolute(entry) ? entry : folder + entry;
                throw CreateFileAccessError(shown, true, winerr::FileNotFound);
            }
            std::string text = ReadImportFile(path);
            ui.ShowProgress("Importing file " + QuoteInput(ExtractFileName(entry)) + "...");
            ui.SetProgress(0, 100);
            ParseRtfFile(std::move(text), pages, count, footnotes,
                         [&ui](int position, int max) { ui.SetProgress(position, max); });
        }
        std::vector<std::unique_ptr<TTopicNode>> records;
        CreateImportedTopics(count, pages, footnotes, nullptr, records);
        for (auto& r : records) {
            r->Kind = TopicKind::Topic;
            project->Topics.AddNode(std::move(r));
        }
        ImportHpjOptions(hpj, *project);
        project->FileName.clear();
        project->Modified = true;
        if (log) log->Clear();
        ui.ClearResults();
        return project;
    } catch (const std::exception& e) {
        ui.ShowError(ImportFailedMessage(ReasonOf(e)));
        return nullptr;
    }
}

TImportOutcome RunImport(TProject& project, const TImportTarget& target, const TImportRequest& request,
                         const CharFormat& textFormat, TImportUi& ui, TOutputLog* log) {
    TImportOutcome out;
    switch (request.Filter) {
        case TImportFilter::Rtf: {
            TRtfImportResult r = ImportRtfFile(project, target, request.FileName, request.UseFootnotes, ui, log);
            out.Ok = r.Ok;
            out.OpenNode = r.OpenNode;
            out.Appended = std::move(r.Appended);
            break;
        }
        case TImportFilter::Text:
            out.Ok = ImportTextFile(project, target.OpenNode, request.FileName, textFormat, ui);
            if (out.Ok) out.OpenNode = target.OpenNode;
            break;
        case TImportFilter::Hpj:
            if (!ui.QuerySaveChanges()) break;
            out.NewProject = ImportHpjProject(request.FileName, ui, log);
            out.Ok = out.NewProject != nullptr;
            if (out.Ok) {
                auto topics = out.NewProject->Topics.NodesOfKind(TopicKind::Topic);
                if (!topics.empty()) out.OpenNode = topics.front()->Id();
            }
            break;
    }
    return out;
}

std::string CreateTableOfContents(const std::vector<const TTopicNode*>& entries) {
    std::string out;
    for (const TTopicNode* node : entries) {
        if (!node) continue;
        // A title may hold angle brackets; they must not become tags.
        std::string title = node->GetTitle();
        std::string safe;
        for (char c : title) {
            if (c == '<')
                safe += "&lt;";
            else if (c == '>')
                safe += "&rt;";
            else
                safe += c;
        }
        out += "<LINK TOPIC=\"" + node->GetName() + "\">" + safe + "</LINK>\r\n";
    }
    return out;
}

}  // namespace qm
