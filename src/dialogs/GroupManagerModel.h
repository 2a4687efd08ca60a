#pragma once
// The group manager's working copy of the groups: rows of groups with their
// rules as the dialog shows them, edited freely and written back to the
// application only by applyGroupManager.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Brisvane {

class GroupHost;

enum RuleColumn : int {
    ColumnAction,
    ColumnDelay,
    ColumnReset,
    ColumnOpacity,
    ColumnZOrder,
    ColumnFold,
    ColumnTransparent,
    ColumnDisabledOnHover,
    RuleColumnCount
};

// Menu ids of the cell menus.
inline constexpr int CellNoValue = 10000;
inline constexpr int CellTrue = 10001;
inline constexpr int CellFalse = 10002;
inline constexpr int CellActionFirst = 15000;
inline constexpr int CellZOrderFirst = 20000; // bottom; the level is id - 20001
inline constexpr int CellDelayFirst = 25000;
inline constexpr int CellOpacityFirst = 30000;
inline constexpr std::size_t maxGroupRows = 100;

// One cell: whether it holds a value, the value (the action name for the
// action column, milliseconds, 1 or 0 for the switches, the opacity, the
// z-order level) and the text shown for it.
struct RuleCell {
    bool hasValue = true;
    std::wstring action;
    double value = 0;
    std::wstring text;
};
using RuleRow = std::array<RuleCell, RuleColumnCount>;

struct GroupRow {
    std::wstring name;
    std::wstring guid;
    std::vector<RuleRow> rules;
};

// An item of a cell menu; a separator has id 0.
struct CellMenuItem {
    int id = 0;
    std::wstring text;
    bool newColumn = false;
};

class GroupManagerModel {
public:
    // Texts come from the application's language; the rows from its groups,
    // all but the uncategorized one.
    explicit GroupManagerModel(const GroupHost& app);

    // Cell changes; each recomputes the cell's text.
    void setAction(RuleCell& cell, const std::wstring& action) const;
    void setDelay(RuleCell& cell, std::uint32_t milliseconds) const;
    void setSwitch(RuleCell& cell, bool on) const;
    void setOpacity(RuleCell& cell, float opacity) const;
    void setZOrder(RuleCell& cell, int level) const;
    void clear(RuleCell& cell) const;
    RuleRow newRuleRow() const;

    std::wstring columnHeader(int column) const;
    std::vector<CellMenuItem> cellMenu(int column) const;

    // Row editing; false when nothing was done.
    void select(int row);
    bool rename(const std::wstring& name);
    bool newGroup(const std::wstring& guid);
    bool removeGroup();
    bool addRule();
    bool removeRule(int rule);
    // A cell menu's choice for the clicked cell.
    bool choose(int menuId);
    // Double click: a switch holding true becomes false, anything else true.
    bool toggle(int rule, int column);

    GroupRow* selectedRow();

    std::vector<GroupRow> rows;
    int selected = -1;
    int clickedRule = -1;
    int clickedColumn = -1;
    std::vector<std::wstring> created;
    std::vector<std::wstring> removed;

private:
    const GroupHost& app_;
};

// Writes the model back: removed groups go (their stickies to the
// uncategorized group), new groups come in before the uncategorized group,
// every row's name and rules are stored and the rules rebuilt.
void applyGroupManager(GroupHost& app, const GroupManagerModel& model);

// The stored name for a typed one: the placeholder of the default group whose
// shown name it equals (ignoring case), else the name as typed.
std::wstring storedGroupName(const GroupHost& app, const std::wstring& typed);

} // namespace Brisvane
