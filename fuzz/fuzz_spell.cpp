// Personal dictionaries and the spell scan on arbitrary bytes.
//
// Input: two bytes give the length of a ".dic" text, which follows; it is
// read, written and read again (the writing must read back the same, sorted,
// without line ends in any word). The rest drives a scan: a flags byte, the
// selection, an answer script and the text. The script answers the dialog and
// edits the text while the dialog waits, as a user may; the scan must end,
// never read outside the text and leave a selection inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <unistd.h>

#include "spell/qdfbuilder.h"
#include "spell/spellengine.h"
#include "spell/userdictionary.h"
#include "util/fileio.h"
#include "util/qorstring.h"
#include "util/textfile.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckUserWords(std::string_view text) {
    qm::TUserWords words;
    words.SetText(text);
    const std::string written = words.Text();
    qm::TUserWords again;
    again.SetText(written);
    Check(again.Text() == written);
    Check(again.Count() == words.Count());
    const qm::StringList lines = qm::SplitLines(written);
    Check(lines.size() == words.Count());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Check(!lines[i].empty() && lines[i].find_first_of("\r\n") == std::string::npos);
        Check(words.Contains(lines[i]) && words.Contains(qm::AsciiUpperStr(lines[i])));
        if (i > 0) Check(qm::CompareText(lines[i - 1], lines[i]) < 0);
    }
}

// Answers and edits from the script; once it is used up, Ignore.
class ScriptUi : public qm::TSpellUi {
public:
    ScriptUi(std::string_view script, qm::TStringSpellTarget& target) : script_(script), target_(target) {}
    void SetCaption(std::string_view) override {}
    qm::TSpellAnswer Ask(const qm::TSpellQuestion& q) override {
        Check(q.Word.size() > 1);
        Check(target_.SelLength() == static_cast<int>(q.Word.size()));
        Check(qm::AsciiLowerStr(target_.Value().substr(static_cast<std::size_t>(target_.SelStart()), q.Word.size())) ==
              q.Word);
        ++asks_;
        if (script_.size() < 4) return {qm::TSpellAction::Ignore, {}};
        const auto a = static_cast<unsigned char>(script_[0]);
        const auto b = static_cast<unsigned char>(script_[1]);
        const auto c = static_cast<unsigned char>(script_[2]);
        const auto d = static_cast<unsigned char>(script_[3]);
        script_.remove_prefix(4);
        static const qm::TSpellAction actions[] = {
            qm::TSpellAction::Ignore,         qm::TSpellAction::IgnoreAll, qm::TSpellAction::Change,
            qm::TSpellAction::ChangeAll,      qm::TSpellAction::Add,       qm::TSpellAction::None,
            static_cast<qm::TSpellAction>(6), qm::TSpellAction::Cancel};
        static const char* const texts[] = {"", "a", "the", "Longer Replacement words", "x<y>z", "AB", "<", ">"};
        if (a & 0x80) {
            // The user edits while the dialog waits; sometimes the control
            // reports the whole text as replaced.
            const int len = target_.Length();
            const int pos = len > 0 ? b % (len + 1) : 0;
            const int removed = len - pos > 0 ? c % (len - pos + 1) : 0;
            const std::string inserted = texts[d % 8];
            if (a & 0x40) {
                std::string after = target_.Value();
                after.replace(static_cast<std::size_t>(pos), static_cast<std::size_t>(removed), inserted);
                target_.Edit(0, len, after);
            } else {
                target_.Edit(pos, removed, inserted);
            }
        }
        return {actions[a % 8], texts[(a >> 3) % 8]};
    }
    void Finish() override {}
    int asks_ = 0;

private:
    std::string_view script_;
    qm::TStringSpellTarget& target_;
};

qm::TQorSpellEngine& Engine() {
    static std::unique_ptr<qm::TQorSpellEngine> engine = [] {
        auto e = std::make_unique<qm::TQorSpellEngine>();
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("qm_fuzz_spell_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        qm::WriteFileAtomic((dir / "english.qdf").string(),
                            qm::BuildDictionaryData({"a", "the", "test", "world", "words", "it's", "caf\xE9"}));
        e->DictionaryFolder = dir.string();
        e->LoadMainDictionary("english");
        std::filesystem::remove_all(dir);
        return e;
    }();
    return *engine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() < 2) return 0;
    const std::size_t dicLength =
        (static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8)) % (bytes.size() - 1);
    bytes.remove_prefix(2);
    CheckUserWords(bytes.substr(0, dicLength));
    bytes.remove_prefix(dicLength);

    if (bytes.size() < 4) return 0;
    const auto flags = static_cast<unsigned char>(bytes[0]);
    const int selStart = static_cast<unsigned char>(bytes[1]);
    const int selLength = static_cast<unsigned char>(bytes[2]) % 8;
    const std::size_t scriptLength = std::min<std::size_t>(static_cast<unsigned char>(bytes[3]) % 64, bytes.size() - 4);
    const std::string_view script = bytes.substr(4, scriptLength);
    const std::string text(bytes.substr(4 + scriptLength));

    qm::TQorSpellEngine& engine = Engine();
    qm::TStringSpellTarget target(text);
    target.Select(selStart, selLength);
    ScriptUi ui(script, target);
    engine.SetUi(&ui);
    engine.StartAtCaret = flags & 1;
    engine.MoveDialog = flags & 2;
    engine.ResetLists();
    engine.CheckControl(target);
    engine.FinishCheck();
    engine.SetUi(nullptr);
    Check(target.SelStart() >= 0 && target.SelLength() >= 0 &&
          target.SelStart() + target.SelLength() <= target.Length());
    return 0;
}
