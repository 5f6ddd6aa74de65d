#pragma once

class QListWidget;

// A list whose entries may be longer than it is wide (profile names, adapter names): each entry
// is cut in the middle to the list's width, so that two names that differ only at the end
// ("…#1", "…#2") still look different, and pointing at a cut entry shows it whole in a tooltip.
// No horizontal scroll bar: the start and the end of a name are what tell entries apart.
namespace MiddleElision {

void install(QListWidget *list);

} // namespace MiddleElision
