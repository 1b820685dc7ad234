// Writes the seed corpus of fuzz_projectfile into the folder given, from our
// own model code. Run once by hand when the file layout changes:
//   clang++ -std=c++20 -Isrc -Itests fuzz/seeds_projectfile.cpp src/util/*.cpp \
//       src/model/*.cpp -o /tmp/seeds && /tmp/seeds fuzz/corpus/projectfile
#include <cstdio>
#include <fstream>
#include <string>

#include "model/project.h"
#include "model/project_fixture.h"

namespace {

void Write(const std::string& folder, const char* name, const std::string& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: seeds_projectfile <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    qm::TProject p;
    p.Clear();
    Write(folder, "empty-project.qpf", p.SaveToBytes());
    p.NewProject();
    Write(folder, "new-project.qpf", p.SaveToBytes());
    qmtest::BuildRichProject(p);
    Write(folder, "rich-project.qpf", p.SaveToBytes());
    return 0;
}
