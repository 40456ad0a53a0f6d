#include "readers/luid_list.h"

namespace morvane {

void LuidList::clear() {
    entries_.clear();
    selected_ = kNoSelection;
}

void LuidList::add(LuidListEntry entry) { entries_.push_back(std::move(entry)); }

void LuidList::select(int index) {
    if (entryAt(index) != nullptr) selected_ = index;
}

std::string LuidList::textAt(int index) const {
    const LuidListEntry* entry = entryAt(index);
    return entry != nullptr ? entry->text : std::string();
}

const LuidListEntry* LuidList::entryAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(index)];
}

}  // namespace morvane
