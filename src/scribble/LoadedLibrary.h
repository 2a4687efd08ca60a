#pragma once
// A library loaded at run time together with the objects made through it. The
// objects are always let go before the library is freed: releasing them runs
// the library's own code.
#include <utility>

namespace Brisvane {

template <class Module, class Objects> class LoadedLibrary {
public:
    LoadedLibrary() = default;
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() { release(); }

    // Loads the library through `open` unless it is loaded; true when it is there.
    template <class Open> bool load(Open&& open) {
        if (!module_) {
            module_ = std::forward<Open>(open)();
        }
        return static_cast<bool>(module_);
    }
    const Module& module() const { return module_; }
    Objects& objects() { return objects_; }
    const Objects& objects() const { return objects_; }
    // Lets go of the objects; the library stays loaded.
    void release() { objects_ = Objects{}; }

private:
    // Declared before the objects, so that it is also destroyed after them.
    Module module_;
    Objects objects_{};
};

} // namespace Brisvane
