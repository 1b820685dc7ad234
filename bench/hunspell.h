#pragma once
// hunspell for the benchmarks' comparisons, loaded at run time so that the
// benchmarks build without it. Debian: libhunspell-1.7-0 and hunspell-en-us
// (the dictionary in /usr/share/hunspell). Benchmark programs only.
#include <filesystem>
#include <string>

#if defined(__unix__)
#include <dlfcn.h>

// The few entry points of hunspell's C interface that the comparisons need.
struct Hunspell {
    using Create = void* (*)(const char*, const char*);
    using Destroy = void (*)(void*);
    using Spell = int (*)(void*, const char*);
    using Suggest = int (*)(void*, char***, const char*);
    using FreeList = void (*)(void*, char***, int);

    void* lib = nullptr;
    void* handle = nullptr;
    Create create = nullptr;
    Destroy destroy = nullptr;
    Spell spell = nullptr;
    Suggest suggest = nullptr;
    FreeList freeList = nullptr;

    Hunspell() = default;
    Hunspell(const Hunspell&) = delete;
    Hunspell& operator=(const Hunspell&) = delete;

    // False when the library or the dictionary is missing.
    bool Open(const std::string& aff, const std::string& dic) {
        if (!std::filesystem::exists(aff) || !std::filesystem::exists(dic)) return false;
        for (const char* name : {"libhunspell-1.7.so.0", "libhunspell-1.7.so", "libhunspell.so"}) {
            lib = dlopen(name, RTLD_NOW | RTLD_LOCAL);
            if (lib) break;
        }
        if (!lib) return false;
        create = reinterpret_cast<Create>(dlsym(lib, "Hunspell_create"));
        destroy = reinterpret_cast<Destroy>(dlsym(lib, "Hunspell_destroy"));
        spell = reinterpret_cast<Spell>(dlsym(lib, "Hunspell_spell"));
        suggest = reinterpret_cast<Suggest>(dlsym(lib, "Hunspell_suggest"));
        freeList = reinterpret_cast<FreeList>(dlsym(lib, "Hunspell_free_list"));
        if (!create || !destroy || !spell || !suggest || !freeList) return false;
        handle = create(aff.c_str(), dic.c_str());
        return handle != nullptr;
    }
    ~Hunspell() {
        if (handle) destroy(handle);
        if (lib) dlclose(lib);
    }
};
#endif
