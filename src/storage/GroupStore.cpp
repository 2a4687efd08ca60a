#include "storage/GroupStore.h"

#include <algorithm>

#include "storage/Guid.h"
#include "storage/TextCodec.h"

namespace Brisvane {

void completeGroupEntries(Json& groupArray) {
    if (!groupArray.is_array()) {
        groupArray = Json::array();
        return;
    }
    std::erase_if(groupArray.get_ref<Json::array_t&>(), [](const Json& entry) { return !entry.is_object(); });
    for (Json& entry : groupArray) {
        auto guid = entry.find("guid");
        if (guid == entry.end() || !guid->is_string() || guid->get_ref<const std::string&>().empty()) {
            entry["guid"] = wideToUtf8(newGuidString());
        }
        completeString(entry, "name", "");
        completeArray(entry, "rule");
    }
}

} // namespace Brisvane
