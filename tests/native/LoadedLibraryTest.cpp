// Objects made through a library loaded at run time are let go before the
// library is freed, whichever way their holder ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scribble/LoadedLibrary.h"

using namespace Brisvane;
using Log = std::vector<std::string>;

namespace {

struct FakeModule {
    Log* log = nullptr; // null: not loaded
    FakeModule() = default;
    explicit FakeModule(Log* l) : log(l) {}
    FakeModule(FakeModule&& other) noexcept : log(std::exchange(other.log, nullptr)) {}
    FakeModule& operator=(FakeModule&& other) noexcept {
        std::swap(log, other.log);
        return *this;
    }
    ~FakeModule() {
        if (log) {
            log->push_back("library freed");
        }
    }
    explicit operator bool() const { return log != nullptr; }
};

struct FakeObject {
    Log* log;
    ~FakeObject() { log->push_back("object released"); }
};

} // namespace

TEST(LoadedLibrary, ObjectsGoBeforeTheLibrary) {
    const struct {
        bool make, releaseFirst;
        Log expected;
    } cases[] = {{true, false, {"object released", "library freed"}},
                 {true, true, {"object released", "|", "library freed"}},
                 {false, false, {"library freed"}}};
    for (const auto& c : cases) {
        Log log;
        int opened = 0;
        {
            LoadedLibrary<FakeModule, std::shared_ptr<FakeObject>> library;
            for (int i = 0; i < 2; ++i) {
                EXPECT_TRUE(library.load([&] { return ++opened, FakeModule(&log); }));
            }
            if (c.make) {
                library.objects().reset(new FakeObject{&log});
            }
            if (c.releaseFirst) {
                library.release();
                log.push_back("|");
            }
        }
        EXPECT_EQ(opened, 1) << "loaded once";
        EXPECT_EQ(log, c.expected) << c.make << c.releaseFirst;
    }
}
