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

struct Free {
    void operator()(Log* log) const { log->push_back("library freed"); }
};
using FakeModule = std::unique_ptr<Log, Free>;

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
            LoadedLibrary<FakeModule, std::shared_ptr<Log>> library;
            for (int i = 0; i < 2; ++i) {
                EXPECT_TRUE(library.load([&] { return ++opened, FakeModule(&log); }));
            }
            if (c.make) {
                library.objects().reset(&log, [](Log* l) { l->push_back("object released"); });
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
