#pragma once
// The stored form of the groups: settings."group", an array of group objects.
#include "storage/Json.h"

namespace Brisvane {

// Makes every group entry usable by the group builder: the array itself ([]
// when it is not an array), then per entry a non-empty string "guid" (a new
// GUID replaces anything else), a string "name" ("" otherwise) and an array
// "rule" ([] otherwise). Rule objects are left as stored; the rule reader
// interprets them.
//
// Entries that are not objects are dropped: they carry no guid, so no note can
// belong to them, and keeping them would only add a blank, nameless group.
void completeGroupEntries(Json& groupArray);

} // namespace Brisvane
