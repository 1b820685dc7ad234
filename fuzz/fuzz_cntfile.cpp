// Contents-file reader: any bytes must read without a crash, what is read must
// pass the check of what a line can hold and write and read back to the same
// text, and tree operations driven by the input must keep the tree sound
// (only books hold children, no cycles).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "formats/cntfile.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

void CheckTree(const qm::TCntTree& tree) {
    int seen = 0;
    for (const qm::TCntTreeNode* n = tree.First(); n; n = qm::TCntTree::NextInPreorder(n)) {
        Check(++seen <= tree.Count());
        if (n->FirstChild) {
            Check(n->Item->Kind == qm::TCntNodeKind::Book);
            Check(n->FirstChild->Parent == n && !n->FirstChild->PrevSibling);
        }
        if (n->NextSibling) Check(n->NextSibling->PrevSibling == n);
        if (n->PrevSibling) Check(n->Parent == nullptr);
    }
    Check(seen == tree.Count());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last bytes, after a NUL, steer the tree operations.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.rfind('\0');
    const std::string text = nul == std::string::npos ? input : input.substr(0, nul);
    const std::string ops = nul == std::string::npos ? std::string() : input.substr(nul + 1, 32);

    qm::TCntFile file;
    file.ParseText(text);
    CheckTree(file.Tree);
    Check(qm::CntFileFault(file).empty());
    const std::string written = file.ToText();
    qm::TCntFile again;
    again.ParseText(written);
    Check(again.ToText() == written);

    for (std::size_t i = 0; i + 1 < ops.size(); i += 2) {
        const int count = file.Tree.Count();
        const int index = static_cast<unsigned char>(ops[i + 1]) % (count + 2) - 1;
        switch (static_cast<unsigned char>(ops[i]) % 9) {
            case 0: file.Tree.MoveUp(index); break;
            case 1: file.Tree.MoveDown(index); break;
            case 2: file.Tree.MoveLeft(index); break;
            case 3: file.Tree.MoveRight(index); break;
            case 4: file.Tree.Delete(index); break;
            case 5: {
                auto book = std::make_unique<qm::TCntNode>();
                book->Kind = qm::TCntNodeKind::Book;
                file.Tree.Insert(std::move(book), index);
                break;
            }
            case 6: {
                auto topic = std::make_unique<qm::TCntNode>();
                file.Tree.AddChild(file.Tree.GetNode(index), std::move(topic));
                break;
            }
            default: {
                const int to = (static_cast<unsigned char>(ops[i]) / 9) % (count + 2) - 1;
                file.Tree.Move(file.Tree.GetNode(index), to);
                break;
            }
        }
        CheckTree(file.Tree);
    }
    (void)file.ToText();
    return 0;
}
