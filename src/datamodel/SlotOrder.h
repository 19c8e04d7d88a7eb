#pragma once

#include <cstddef>
#include <vector>

namespace talvor {

using std::size_t;

// Which slots of a row store are live, and the position of each live slot among them. Removing
// a row only marks its slot dead, so no row moves and whatever refers to slots stays valid;
// positions are counted through a Fenwick tree in O(log n), and directly while no slot is dead.
class SlotOrder {
  public:
    void reset(int liveSlots);
    void append();   // one more live slot at the end
    void popBack();  // drops the last slot
    void setLive(int slot, bool live);

    bool isLive(int slot) const { return live_[size_t(slot)] != 0; }
    int liveCount() const { return liveCount_; }
    int slotCount() const { return int(live_.size()); }
    int slotAt(int position) const;
    int positionOf(int slot) const;  // live slots before it

  private:
    int prefix(int slots) const;  // live slots among the first `slots`
    void add(int slot, int delta);

    std::vector<int> tree_;  // 1-based Fenwick tree over the live flags
    std::vector<char> live_;
    int liveCount_ = 0;
};

}  // namespace talvor
