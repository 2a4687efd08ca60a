#include "dialogs/GroupManagerModel.h"

#include <algorithm>
#include <string_view>

#include "groups/GroupHost.h"
#include "dialogs/DialogText.h"
#include "groups/Rule.h"
#include "groups/RuleEngine.h"
#include "storage/Language.h"
#include "storage/Strings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

struct ActionName {
    const wchar_t* action;
    const char* key;
    const wchar_t* english;
};

// In menu order; a separator follows the first two.
constexpr ActionName actionNames[] = {
    {L"input", "dialog.groupManager.rule.action.input", L"Input"},
    {L"mouse-hover", "dialog.groupManager.rule.action.mouseHover", L"Mouse hover"},
    {L"mouse-input", "dialog.groupManager.rule.action.mouseInput", L"Mouse input"},
    {L"keyboard-input", "dialog.groupManager.rule.action.keyboardInput", L"Keyboard input"},
    {L"gamepad-input", "dialog.groupManager.rule.action.gamepadInput", L"Gamepad input"},
    {L"touch-input", "dialog.groupManager.rule.action.touchInput", L"Touch input"},
};

struct Label {
    const char* key;
    const wchar_t* english;
};

constexpr Label zOrderNames[] = {
    {"dialog.groupManager.rule.zOrder.bottom", L"Bottom"},
    {"dialog.groupManager.rule.zOrder.usually", L"Usually"},
    {"dialog.groupManager.rule.zOrder.top", L"Top"},
    {"dialog.groupManager.rule.zOrder.alwaysOnTop", L"Always top"},
};

constexpr Label headers[RuleColumnCount] = {
    {"dialog.groupManager.rule.header.action", L"Action"},
    {"dialog.groupManager.rule.header.delay", L"Delay"},
    {"dialog.groupManager.rule.header.killTimer", L"Reset timer every time"},
    {"dialog.groupManager.rule.header.opacity", L"Opacity"},
    {"dialog.groupManager.rule.header.zOrder", L"Z-Order"},
    {"dialog.groupManager.rule.header.fold", L"Fold"},
    {"dialog.groupManager.rule.header.transparent", L"Transparent"},
    {"dialog.groupManager.rule.header.disabledOnHover", L"Disabled on hover"},
};

constexpr std::uint32_t delayChoices[] = {
    0,      100,    200,    300,     400,     500,     600,     700,      800,      900,
    1000,   1200,   1400,   1600,    1800,    2000,    2400,    2800,     3000,     3400,
    3800,   4000,   4500,   5000,    6000,    8000,    10000,   15000,    30000,    60000,
    180000, 300000, 600000, 1200000, 1800000, 3600000, 7200000, 10800000, 18000000, 36000000};

constexpr float opacityChoices[] = {0.00f, 0.15f, 0.20f, 0.25f, 0.30f, 0.35f, 0.40f, 0.45f, 0.50f, 0.55f,
                                    0.60f, 0.65f, 0.70f, 0.75f, 0.80f, 0.85f, 0.90f, 0.95f, 1.00f};

constexpr std::wstring_view hoverEvent = L"mouse-hover";

bool isSwitchColumn(int column) {
    return column == ColumnReset || column == ColumnFold || column == ColumnTransparent ||
           column == ColumnDisabledOnHover;
}

bool isOn(const RuleCell& cell) {
    return cell.hasValue && cell.value != 0;
}

Json storedRule(const RuleRow& row) {
    Json rule = Json::object();
    rule["action"] = wideToUtf8(row[ColumnAction].action);
    rule["delay"] = static_cast<std::int64_t>(row[ColumnDelay].value);
    rule["reset"] = isOn(row[ColumnReset]);
    if (row[ColumnOpacity].hasValue) {
        rule["opacity"] = static_cast<float>(row[ColumnOpacity].value);
    }
    if (row[ColumnZOrder].hasValue) {
        rule["zOrder"] = static_cast<std::int64_t>(row[ColumnZOrder].value);
    }
    if (row[ColumnFold].hasValue) {
        rule["fold"] = isOn(row[ColumnFold]);
    }
    if (row[ColumnTransparent].hasValue) {
        rule["transparent"] = isOn(row[ColumnTransparent]);
    }
    if (isOn(row[ColumnDisabledOnHover])) {
        rule["except"] = Json::array({"mouse-hover"});
    }
    return rule;
}

// settings."group", made an array when it is not one.
Json::array_t& storedGroups(Json& settings) {
    Json& entries = valueAt(settings, {"group"});
    if (!entries.is_array()) {
        entries = Json::array();
    }
    return entries.get_ref<Json::array_t&>();
}

// The stored entry of a group, found by guid: the list of groups skips
// unusable entries, so positions need not match.
Json::array_t::iterator storedEntry(Json::array_t& entries, const std::wstring& guid) {
    std::string wanted = wideToUtf8(guid);
    return std::find_if(entries.begin(), entries.end(), [&wanted](const Json& entry) {
        auto it = entry.is_object() ? entry.find("guid") : entry.end();
        return it != entry.end() && it->is_string() && it->get_ref<const std::string&>() == wanted;
    });
}

} // namespace

GroupManagerModel::GroupManagerModel(const GroupHost& app) : app_(app) {
    for (std::size_t index = 0; index < app.groups.size(); ++index) {
        const Group& group = app.groups[index];
        if (group.guid.empty()) {
            continue;
        }
        GroupRow row{app.displayName(index), group.guid, {}};
        for (const auto& rule : group.rules) {
            if (!rule) {
                continue;
            }
            RuleRow cells = newRuleRow();
            setAction(cells[ColumnAction], rule->action);
            setDelay(cells[ColumnDelay], rule->elapse);
            setSwitch(cells[ColumnReset], rule->reset);
            if (rule->effects & EffectOpacity) {
                setOpacity(cells[ColumnOpacity], rule->opacity);
            }
            if (rule->effects & EffectZOrder) {
                setZOrder(cells[ColumnZOrder], rule->zOrder);
            }
            if (rule->effects & EffectFold) {
                setSwitch(cells[ColumnFold], rule->fold);
            }
            if (rule->effects & EffectTransparent) {
                setSwitch(cells[ColumnTransparent], rule->transparent);
            }
            bool hover = std::any_of(rule->except.begin(), rule->except.end(), [](const std::wstring& entry) {
                return equalsIgnoreCase(entry, hoverEvent);
            });
            setSwitch(cells[ColumnDisabledOnHover], hover);
            row.rules.push_back(std::move(cells));
        }
        rows.push_back(std::move(row));
    }
    select(rows.empty() ? -1 : 0);
}

void GroupManagerModel::setAction(RuleCell& cell, const std::wstring& action) const {
    cell.hasValue = true;
    cell.action = action;
    cell.text = action;
    for (const ActionName& name : actionNames) {
        if (action == name.action) {
            cell.text = app_.lookupText(name.key, name.english);
        }
    }
}

void GroupManagerModel::setDelay(RuleCell& cell, std::uint32_t milliseconds) const {
    cell.hasValue = true;
    cell.value = milliseconds;
    DelayUnits units{app_.lookupText("dialog.groupManager.rule.time.hour", L"h"),
                     app_.lookupText("dialog.groupManager.rule.time.minute", L"m"),
                     app_.lookupText("dialog.groupManager.rule.time.second", L"s")};
    cell.text = delayText(milliseconds, units);
}

void GroupManagerModel::setSwitch(RuleCell& cell, bool on) const {
    cell.hasValue = true;
    cell.value = on ? 1 : 0;
    cell.text = on ? app_.lookupText("dialog.groupManager.rule.bool.true", L"True")
                   : app_.lookupText("dialog.groupManager.rule.bool.false", L"False");
}

void GroupManagerModel::setOpacity(RuleCell& cell, float opacity) const {
    cell.hasValue = true;
    cell.value = opacity;
    cell.text = decimalText(opacity, 2);
}

void GroupManagerModel::setZOrder(RuleCell& cell, int level) const {
    level = std::clamp(level, -1, 2);
    cell.hasValue = true;
    cell.value = level;
    const Label& name = zOrderNames[level + 1];
    cell.text = app_.lookupText(name.key, name.english);
}

void GroupManagerModel::clear(RuleCell& cell) const {
    cell.hasValue = false;
    cell.value = 0;
    cell.text = app_.lookupText("dialog.groupManager.rule.bool.notSpecified", L"Not specified");
}

RuleRow GroupManagerModel::newRuleRow() const {
    RuleRow row;
    setAction(row[ColumnAction], L"input");
    setDelay(row[ColumnDelay], 0);
    setSwitch(row[ColumnReset], true);
    clear(row[ColumnOpacity]);
    clear(row[ColumnZOrder]);
    clear(row[ColumnFold]);
    clear(row[ColumnTransparent]);
    setSwitch(row[ColumnDisabledOnHover], false);
    return row;
}

std::wstring GroupManagerModel::columnHeader(int column) const {
    if (column < 0 || column >= RuleColumnCount) {
        return std::wstring();
    }
    return app_.lookupText(headers[column].key, headers[column].english);
}

std::vector<CellMenuItem> GroupManagerModel::cellMenu(int column) const {
    std::vector<CellMenuItem> items;
    RuleCell scratch;
    auto notSpecified = [&] {
        items.push_back({});
        items.push_back(
            {CellNoValue, app_.lookupText("dialog.groupManager.rule.bool.notSpecified", L"Not specified")});
    };
    auto switches = [&] {
        setSwitch(scratch, true);
        items.push_back({CellTrue, scratch.text});
        setSwitch(scratch, false);
        items.push_back({CellFalse, scratch.text});
    };
    switch (column) {
    case ColumnAction:
        for (int i = 0; i < 6; ++i) {
            if (i == 2) {
                items.push_back({});
            }
            items.push_back(
                {CellActionFirst + i, app_.lookupText(actionNames[i].key, actionNames[i].english)});
        }
        break;
    case ColumnDelay:
        for (int i = 0; i < static_cast<int>(std::size(delayChoices)); ++i) {
            setDelay(scratch, delayChoices[i]);
            items.push_back({CellDelayFirst + i, scratch.text, i > 0 && i % 8 == 0});
        }
        break;
    case ColumnReset:
    case ColumnDisabledOnHover:
        switches();
        break;
    case ColumnOpacity:
        for (int i = 0; i < static_cast<int>(std::size(opacityChoices)); ++i) {
            items.push_back({CellOpacityFirst + i, decimalText(opacityChoices[i], 2)});
        }
        notSpecified();
        break;
    case ColumnZOrder:
        for (int i = 0; i < 4; ++i) {
            items.push_back(
                {CellZOrderFirst + i, app_.lookupText(zOrderNames[i].key, zOrderNames[i].english)});
        }
        notSpecified();
        break;
    case ColumnFold:
    case ColumnTransparent:
        switches();
        notSpecified();
        break;
    default:
        break;
    }
    return items;
}

GroupRow* GroupManagerModel::selectedRow() {
    return selected >= 0 && selected < static_cast<int>(rows.size()) ? &rows[selected] : nullptr;
}

void GroupManagerModel::select(int row) {
    selected = row >= 0 && row < static_cast<int>(rows.size()) ? row : -1;
    clickedRule = -1;
    clickedColumn = -1;
}

bool GroupManagerModel::rename(const std::wstring& name) {
    GroupRow* row = selectedRow();
    if (row == nullptr) {
        return false;
    }
    row->name = name;
    return true;
}

bool GroupManagerModel::newGroup(const std::wstring& guid) {
    if (rows.size() >= maxGroupRows) {
        return false;
    }
    rows.push_back({app_.lookupText("dialog.groupManager.group.newGroupName", L"(Untitled)"), guid, {}});
    created.push_back(guid);
    select(static_cast<int>(rows.size()) - 1);
    return true;
}

bool GroupManagerModel::removeGroup() {
    GroupRow* row = selectedRow();
    if (row == nullptr) {
        return false;
    }
    auto wasCreated = std::find(created.begin(), created.end(), row->guid);
    if (wasCreated != created.end()) {
        created.erase(wasCreated);
    } else {
        removed.push_back(row->guid);
    }
    int position = selected;
    rows.erase(rows.begin() + position);
    select(position < static_cast<int>(rows.size()) ? position : position - 1);
    return true;
}

bool GroupManagerModel::addRule() {
    GroupRow* row = selectedRow();
    if (row == nullptr) {
        return false;
    }
    row->rules.push_back(newRuleRow());
    return true;
}

bool GroupManagerModel::removeRule(int rule) {
    GroupRow* row = selectedRow();
    if (row == nullptr || rule < 0 || rule >= static_cast<int>(row->rules.size())) {
        return false;
    }
    row->rules.erase(row->rules.begin() + rule);
    if (row->rules.empty() || clickedRule >= static_cast<int>(row->rules.size())) {
        clickedRule = -1;
        clickedColumn = -1;
    }
    return true;
}

bool GroupManagerModel::choose(int menuId) {
    GroupRow* row = selectedRow();
    if (row == nullptr || clickedRule < 0 || clickedRule >= static_cast<int>(row->rules.size()) ||
        clickedColumn < 0 || clickedColumn >= RuleColumnCount) {
        return false;
    }
    RuleCell& cell = row->rules[clickedRule][clickedColumn];
    auto inRange = [menuId](int first, std::size_t count) {
        return menuId >= first && menuId < first + static_cast<int>(count);
    };
    switch (clickedColumn) {
    case ColumnAction:
        if (!inRange(CellActionFirst, std::size(actionNames))) {
            return false;
        }
        setAction(cell, actionNames[menuId - CellActionFirst].action);
        return true;
    case ColumnDelay:
        if (!inRange(CellDelayFirst, std::size(delayChoices))) {
            return false;
        }
        setDelay(cell, delayChoices[menuId - CellDelayFirst]);
        return true;
    case ColumnOpacity:
        if (inRange(CellOpacityFirst, std::size(opacityChoices))) {
            setOpacity(cell, opacityChoices[menuId - CellOpacityFirst]);
            return true;
        }
        break;
    case ColumnZOrder:
        if (inRange(CellZOrderFirst, 4)) {
            setZOrder(cell, menuId - (CellZOrderFirst + 1));
            return true;
        }
        break;
    default:
        if (menuId == CellTrue || menuId == CellFalse) {
            setSwitch(cell, menuId == CellTrue);
            return true;
        }
        break;
    }
    // Only the columns that offer it may be left without a value.
    bool optional = clickedColumn == ColumnOpacity || clickedColumn == ColumnZOrder ||
                    clickedColumn == ColumnFold || clickedColumn == ColumnTransparent;
    if (menuId == CellNoValue && optional) {
        clear(cell);
        return true;
    }
    return false;
}

bool GroupManagerModel::toggle(int rule, int column) {
    GroupRow* row = selectedRow();
    if (row == nullptr || rule < 0 || rule >= static_cast<int>(row->rules.size()) ||
        !isSwitchColumn(column)) {
        return false;
    }
    RuleCell& cell = row->rules[rule][column];
    setSwitch(cell, !isOn(cell));
    return true;
}

std::wstring storedGroupName(const GroupHost& app, const std::wstring& typed) {
    // The same names the dialog showed: the current language's, the English
    // ones where it has none.
    std::vector<std::wstring> names = defaultGroupNames(app.languages, app.settings);
    std::vector<std::wstring> english = defaultGroupNames(app.languages, Json{{"language", "English"}});
    std::size_t count = std::max(names.size(), english.size());
    for (std::size_t n = 0; n < count; ++n) {
        const std::wstring& shown = n < names.size() && !names[n].empty() ? names[n]
                                    : n < english.size()                  ? english[n]
                                                                          : std::wstring();
        if (!shown.empty() && equalsIgnoreCase(shown, typed)) {
            return L"${name" + std::to_wstring(n) + L"}";
        }
    }
    return typed;
}

void applyGroupManager(GroupHost& app, const GroupManagerModel& model) {
    for (const std::wstring& guid : model.removed) {
        Group* group = app.groupByGuid(guid);
        if (group == nullptr || guid.empty()) {
            continue;
        }
        std::vector<std::wstring> stickies;
        for (const auto& sticky : group->notes) {
            stickies.push_back(sticky->stickyGuid());
        }
        for (const std::wstring& sticky : stickies) {
            moveStickyToGroup(app, sticky, L"");
        }
        // Looked up again: moving stickies leaves the list alone, but nothing
        // here keeps a pointer into it across a change.
        group = app.groupByGuid(guid);
        group->destroyRules();
        app.groups.erase(app.groups.begin() + (group - app.groups.data()));
        Json::array_t& entries = storedGroups(app.settings);
        if (auto entry = storedEntry(entries, guid); entry != entries.end()) {
            entries.erase(entry);
        }
    }
    for (const GroupRow& row : model.rows) {
        std::wstring name = storedGroupName(app, row.name);
        bool isNew = std::find(model.created.begin(), model.created.end(), row.guid) != model.created.end();
        if (isNew && app.groupByGuid(row.guid) == nullptr) {
            // Before the uncategorized group, which stays last.
            auto before = app.groups.empty() ? app.groups.end() : app.groups.end() - 1;
            app.groups.insert(before, Group(row.guid, name));
        }
        Group* group = app.groupByGuid(row.guid);
        if (group == nullptr) {
            continue; // gone since the dialog opened
        }
        group->name = name;
        Json::array_t& entries = storedGroups(app.settings);
        auto entry = storedEntry(entries, row.guid);
        if (entry == entries.end()) {
            entries.push_back({{"guid", wideToUtf8(row.guid)}});
            entry = entries.end() - 1;
        }
        (*entry)["name"] = wideToUtf8(name);
        Json rules = Json::array();
        for (const RuleRow& rule : row.rules) {
            rules.push_back(storedRule(rule));
        }
        (*entry)["rule"] = rules;
        app.loadRules(*group, rules);
    }
    if (!model.rows.empty() || !model.removed.empty()) {
        app.markSettingsChanged();
    }
}

} // namespace Brisvane
