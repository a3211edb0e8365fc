// Creates component objects from shared libraries found at run time, so that
// clients have no link-time dependency on the components they use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "component_object.h"

namespace nimbo {

class ComponentLoader {
  public:
    // Name of the module (library base name, e.g. "Nimbolib") that serves a
    // class identifier or programmatic name; empty when the class is unknown.
    static std::string ModuleForClass(std::string_view classId);

    // File name of a module's shared library ("libNimbolib.so").
    static std::string LibraryFileName(std::string_view module);

    // Folders searched for a component library, in order: the executable's own
    // folder, ../lib relative to it, the install library folder. The system's
    // search path is tried last by bare file name.
    static std::vector<std::string> SearchFolders();

    // Creates the class and returns the requested interface with one
    // reference, or null with a text in *error saying what is missing.
    static void* CreateObject(std::string_view classId, std::string_view interfaceId,
                              std::string* error);

    // Typed form: Interface names its identifier as Interface::kIid.
    template <class Interface>
    static ComponentRef<Interface> Create(std::string_view classId, std::string* error) {
        return ComponentRef<Interface>(
            static_cast<Interface*>(CreateObject(classId, Interface::kIid, error)));
    }
};

}  // namespace nimbo
