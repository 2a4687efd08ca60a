// settings.json as any bytes, read successfully or not: after completion every
// member must have its type, and the written form must read back unchanged.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "Checks.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

const Json& defaultGroups() {
    static const Json groups = [] {
        std::ifstream file(std::string(TACKAROON_RESOURCE_DIR) + "/defaultGroups.json", std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        std::wstring text;
        decodeTextFile(bytes.str(), text);
        Json parsed = parseJson(wideToUtf8(text));
        if (!parsed.is_array() || parsed.size() != 13) {
            __builtin_trap(); // the fuzzer would test nothing of the first start
        }
        return parsed;
    }();
    return groups;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the read result and the user language.
    std::uint8_t selector = data[0];
    ErrorCode readResult = (selector & 1) ? errorReadFault : errorSuccess;
    std::uint16_t language = (selector & 2) ? languageIdJapanese : 0x0409;
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    bool loaded = false;
    Json settings = settingsFromText(readResult, utf8ToWide(bytes), loaded);
    completeSettings(settings, loaded, defaultGroups(), language);
    if (!Checks::settingsSatisfiesTypes(settings)) {
        __builtin_trap();
    }
    if (!loaded && settings["group"].size() != defaultGroups().size()) {
        __builtin_trap();
    }

    bool reloaded = false;
    Json reread = settingsFromText(errorSuccess, utf8ToWide(serializeJson(settings)), reloaded);
    if (!reloaded || !reread.is_object()) {
        __builtin_trap();
    }
    completeSettings(reread, reloaded, defaultGroups(), language);
    if (!Checks::settingsSatisfiesTypes(reread)) {
        __builtin_trap();
    }
    if (!Checks::holdsNonFinite(settings) && reread != settings) {
        __builtin_trap();
    }
    // The getters read what completion left.
    if (fontSize(settings) < 0 || marginLeft(settings) < 0 || searchRecentlyMax(settings) < 0) {
        __builtin_trap();
    }
    return 0;
}
