// Groups of a settings.json written on another machine, taken in by guid.
#include <algorithm>
#include <map>

#include "app/AppCore.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

// The usable entries of a settings' "group" member by guid.
std::map<std::string, Json> entriesByGuid(const Json& settings) {
    std::map<std::string, Json> found;
    auto groups = settings.is_object() ? settings.find("group") : settings.end();
    if (groups == settings.end() || !groups->is_array()) {
        return found;
    }
    for (const Json& entry : *groups) {
        auto guid = entry.is_object() ? entry.find("guid") : entry.end();
        if (guid != entry.end() && guid->is_string() && !guid->get_ref<const std::string&>().empty()) {
            found.emplace(guid->get<std::string>(), entry);
        }
    }
    return found;
}

std::wstring nameOf(const Json& entry) {
    auto name = entry.find("name");
    return name != entry.end() && name->is_string() ? utf8ToWide(name->get_ref<const std::string&>())
                                                    : std::wstring();
}

} // namespace

bool AppCore::mergeGroupsFrom(const Json& seen, const Json& theirs) {
    const std::map<std::string, Json> base = entriesByGuid(seen);
    const std::map<std::string, Json> other = entriesByGuid(theirs);
    Json& stored = settings["group"];
    if (!stored.is_array()) {
        stored = Json::array();
    }
    // A group changed only there takes that version; changed here too, this one.
    for (Json& entry : stored) {
        auto guid = entry.is_object() ? entry.find("guid") : entry.end();
        if (guid == entry.end() || !guid->is_string()) {
            continue;
        }
        auto there = other.find(guid->get<std::string>());
        auto before = base.find(guid->get<std::string>());
        if (there == other.end() || there->second == entry || before == base.end() ||
            before->second != entry) {
            continue;
        }
        entry = there->second;
        if (Group* group = groupByGuid(utf8ToWide(entry["guid"].get<std::string>()))) {
            group->name = nameOf(entry);
            loadRules(*group, entry.contains("rule") ? entry["rule"] : Json::array());
        }
    }
    // A group made there survives; one removed here since the last look stays removed.
    const std::map<std::string, Json> ours = entriesByGuid(settings);
    for (const auto& [guid, entry] : other) {
        if (ours.count(guid) || base.count(guid) || groups.size() > MaxGroups || !entry.contains("name") ||
            !entry["name"].is_string()) {
            continue;
        }
        stored.push_back(entry);
        // Before the uncategorized group, which stays last.
        auto at = groups.insert(groups.empty() ? groups.end() : groups.end() - 1,
                                Group(utf8ToWide(guid), nameOf(entry)));
        loadRules(*at, entry.contains("rule") ? entry["rule"] : Json::array());
    }
    // Written back only when this side holds a group made or changed here
    // that the other lacks or keeps differently; one removed there stays here
    // without a write.
    for (const auto& [guid, entry] : entriesByGuid(settings)) {
        auto there = other.find(guid);
        auto before = base.find(guid);
        const bool changedHere = before == base.end() || before->second != entry;
        if (changedHere && (there == other.end() || there->second != entry)) {
            return true;
        }
    }
    return false;
}

} // namespace Brisvane
