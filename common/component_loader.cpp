// Component loader: maps a class to its library, finds the library beside the
// program or in the install folders, and calls its creation entry point.
#include "component_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "component_ids.h"
#include "text_compare.h"

#ifndef NIMBO_INSTALL_LIBDIR
#define NIMBO_INSTALL_LIBDIR "/usr/local/lib"
#endif

namespace nimbo {
namespace {

struct ClassModule {
    std::string_view classId;
    std::string_view module;
};

// The class identifiers this system knows; programmatic names carry their
// module as the part before the first dot.
constexpr std::array<ClassModule, 2> kClassModules = {{
    {kClsidWeatherDecoder, kNimbolibModule},
    {kClsidWeatherDialog, kNimboviewModule},
}};

std::string ExecutableFolder() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return path.parent_path().string();
}

// dlopen of the first library file that exists; the error text of the last
// failed attempt goes to *why.
void* OpenLibrary(const std::string& fileName, std::string* tried, std::string* why) {
    for (const auto& folder : ComponentLoader::SearchFolders()) {
        const auto path = (std::filesystem::path(folder) / fileName).string();
        tried->append(tried->empty() ? "" : ", ").append(folder);
        std::error_code error;
        if (!std::filesystem::exists(path, error)) continue;
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
        if (const char* text = dlerror()) *why = text;
    }
    tried->append(tried->empty() ? "" : ", ").append("the system library path");
    if (void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    if (why->empty()) {
        if (const char* text = dlerror()) *why = text;
    }
    return nullptr;
}

void SetError(std::string* error, std::string text) {
    if (error != nullptr) *error = std::move(text);
}

}  // namespace

std::string ComponentLoader::ModuleForClass(std::string_view classId) {
    for (const auto& entry : kClassModules) {
        if (EqualsIgnoringCase(entry.classId, classId)) return std::string(entry.module);
    }
    if (classId.empty() || classId.front() == '{') return {};
    const auto dot = classId.find('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return std::string(classId.substr(0, dot));
}

std::string ComponentLoader::LibraryFileName(std::string_view module) {
    return "lib" + std::string(module) + ".so";
}

std::vector<std::string> ComponentLoader::SearchFolders() {
    std::vector<std::string> folders;
    const auto exeFolder = ExecutableFolder();
    if (!exeFolder.empty()) {
        folders.push_back(exeFolder);
        folders.push_back(
            (std::filesystem::path(exeFolder) / ".." / "lib").lexically_normal().string());
    }
    folders.emplace_back(NIMBO_INSTALL_LIBDIR);
    return folders;
}

void* ComponentLoader::CreateObject(std::string_view classId, std::string_view interfaceId,
                                    std::string* error) {
    const auto module = ModuleForClass(classId);
    if (module.empty()) {
        SetError(error, "Unknown component class " + std::string(classId));
        return nullptr;
    }
    const auto fileName = LibraryFileName(module);
    std::string tried;
    std::string why;
    void* library = OpenLibrary(fileName, &tried, &why);
    if (library == nullptr) {
        SetError(error, "Component library " + fileName + " not found (looked in " + tried + ")" +
                            (why.empty() ? "" : ": " + why));
        return nullptr;
    }
    // The library stays loaded for the life of the process: objects it made may
    // outlive any handle we could close.
    auto create = reinterpret_cast<NimboCreateObjectFunction>(dlsym(library, kCreateObjectSymbol));
    if (create == nullptr) {
        SetError(error, fileName + " is not a component library (no " + kCreateObjectSymbol + ")");
        return nullptr;
    }
    void* object = nullptr;
    const HRESULT result =
        create(std::string(classId).c_str(), std::string(interfaceId).c_str(), &object);
    if (result == CLASS_E_CLASSNOTAVAILABLE) {
        SetError(error, "Class " + std::string(classId) + " is not served by " + fileName);
        return nullptr;
    }
    if (result == E_NOINTERFACE) {
        SetError(error,
                 "Class " + std::string(classId) + " has no interface " + std::string(interfaceId));
        return nullptr;
    }
    if (Failed(result) || object == nullptr) {
        SetError(error, "Class " + std::string(classId) + " could not be created by " + fileName);
        return nullptr;
    }
    SetError(error, {});
    return object;
}

}  // namespace nimbo
