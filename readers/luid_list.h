#pragma once

#include <cstdint>
#include <string>
#include <vector>

// LuidList: the connected readers by their LUID, one entry per reader in reader-index order.
// The window never shows it; it is the memory of which reader was active.
namespace morvane {

struct LuidListEntry {
    std::string text;        // the LUID's decimal text
    std::int16_t value = 0;  // the LUID once the configuration has been written, else 0
    bool operator==(const LuidListEntry&) const = default;
};

class LuidList {
  public:
    static constexpr int kNoSelection = -1;

    const std::vector<LuidListEntry>& entries() const { return entries_; }
    int selectedIndex() const { return selected_; }

    void clear();
    void add(LuidListEntry entry);
    // An index outside the list leaves the selection as it was.
    void select(int index);
    // Empty text when there is no entry at the index.
    std::string textAt(int index) const;
    const LuidListEntry* entryAt(int index) const;

  private:
    std::vector<LuidListEntry> entries_;
    int selected_ = kNoSelection;
};

}  // namespace morvane
