#include "dialogs/GeneralSettingsModel.h"

#include <algorithm>

#include "groups/GroupHost.h"
#include "storage/Language.h"
#include "storage/Settings.h"

namespace Brisvane {

namespace {

int clampTo(int value, SpinRange range) {
    return std::clamp(value, range.low, range.high);
}

} // namespace

GeneralSettingsValues readGeneralSettings(const GroupHost& app) {
    GeneralSettingsValues values;
    values.language = currentLanguage(app.settings);
    values.imeOpen = imeOpen(app.settings);
    values.autoSave = autoSaveAvailable(app.settings);
    values.autoSaveSeconds = clampTo(autoSaveElapse(app.settings), autoSaveRange);
    values.trashDays = clampTo(trashDeadline(app.settings), trashRange);
    values.fontSize = clampTo(fontSize(app.settings), fontSizeRange);
    values.marginLeft = clampTo(marginLeft(app.settings), marginRange);
    values.marginRight = clampTo(marginRight(app.settings), marginRange);
    return values;
}

bool applyGeneralSettings(GroupHost& app, GeneralSettingsValues values) {
    bool any = false;
    // Marked after each setter: a setter only reports the change.
    auto mark = [&app, &any](bool changed) {
        if (changed) {
            app.markSettingsChanged();
            any = true;
        }
    };
    mark(!values.language.empty() && setLanguage(app.languages, app.settings, values.language));
    mark(setImeOpen(app.settings, values.imeOpen));
    mark(setAutoSave(app.settings, values.autoSave,
                     static_cast<unsigned>(clampTo(values.autoSaveSeconds, autoSaveRange))));
    mark(setTrashDeadline(app.settings, static_cast<unsigned>(clampTo(values.trashDays, trashRange))));
    mark(setFontSize(app.settings, static_cast<unsigned>(clampTo(values.fontSize, fontSizeRange))));
    mark(setMarginLeft(app.settings, clampTo(values.marginLeft, marginRange)));
    mark(setMarginRight(app.settings, clampTo(values.marginRight, marginRange)));
    return any;
}

} // namespace Brisvane
